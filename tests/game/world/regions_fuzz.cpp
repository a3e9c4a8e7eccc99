// Fuzz target of the regions table check: any bytes are judged without
// reading outside them.
#include "game/world/tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    int n = 0;
    game::checkRegionTable(game::ByteView(data, size), &n, &error);
    return 0;
}
