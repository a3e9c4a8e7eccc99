// Fuzz target of the script table check: any bytes are judged without
// reading outside them, and every record of a table it takes lies inside
// the bytes.
#include "game/world/tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    std::vector<game::ScriptShape> shape;
    if (game::checkScriptTable(game::ByteView(data, size), &shape, &error))
        for (const game::ScriptShape& s : shape)
            for (const game::ScriptRecordShape& r : s.records)
                if (r.start < 0 || r.length < r.firstKeyframe || static_cast<size_t>(r.start + r.length) > size)
                    __builtin_trap();
    return 0;
}
