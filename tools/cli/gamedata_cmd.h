// bramble-kit's commands for the game's data formats (gamedata_cmd.cpp).
#pragma once

#include <string>
#include <vector>

#include "tools/kit/bytes.h"
#include "tools/kit/damage.h"

namespace kit {

extern const char* const kGameDataUsage;
// 0 done, 2 usage error, -1 not a game-data command; throws KitError.
int gameDataCommand(const std::string& cmd, const std::vector<std::string>& args);
// Prints a game-data file; false for other kinds.
bool inspectGameData(FileKind kind, const Bytes& data);

}  // namespace kit
