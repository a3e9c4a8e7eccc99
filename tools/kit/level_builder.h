// Small builders of level description text (the format of level.h) for the
// demo's test levels, and the one-file level pack a description becomes.
// Every builder writes whole lines; the pack holds entries 0 to the regions
// entry, an entry the description leaves out marked empty.
#pragma once

#include "tools/kit/bytes.h"
#include "tools/kit/level.h"

#include <string>
#include <vector>

namespace kit::levelbuild {

// Extra solid cells of a room: one column from row first to row last.
struct Wall {
    int column, first, last;
};

// A room of columns x rows cells: layer 2 (drawn, empty) and the collision
// layer with a floor in the last two rows and the given walls.
std::string roomMap(int columns, int rows, const std::vector<Wall>& walls);

// "object SUBTYPE ID X Y 7 ANIM 160 PARAMS..." (flags 7, layer 160).
std::string object(int subtype, int id, int x, int y, int anim, const std::vector<int>& params = {});

// "link ID X Y NEXT CODE ARG".
std::string link(int id, int x, int y, int next, int code = 0, int arg = 0);

// The level pack ("pack" file header with its payloads inline) of a
// level description; throws KitError when the description is refused.
Bytes levelPack(const std::string& description);
// The same of a level model.
Bytes levelPack(const LevelModel& model);

}  // namespace kit::levelbuild
