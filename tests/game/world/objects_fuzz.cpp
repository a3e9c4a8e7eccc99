// Fuzz target of the objects table check: any bytes are judged without
// reading outside them.
#include "game/world/tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    game::ObjectListShape shape;
    if (game::checkLevelObjects(game::ByteView(data, size), &shape, &error) &&
        (shape.objectValues > game::kMaxObjectValues || shape.objectRecords < 0))
        __builtin_trap();
    return 0;
}
