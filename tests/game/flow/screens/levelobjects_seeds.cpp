// Writes the level-object scan's seed corpus into a folder: a list from
// the content kit's level-object writer and every damaged form the kit
// makes of it.
//   levelobjects_seeds DIR
#include <cstdio>
#include <string>
#include <vector>

#include "tools/kit/damage.h"
#include "tools/kit/level.h"
#include "tools/kit/sprite.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    std::vector<kit::LevelRecord> records = {
        {{2000, 0, 0, 0, 320, 240}},
        {{5, 1, 10, 20, 0, 0, 0, 3}},
        {{193, 5, 1760, 648, 7, 0, 32}},
        {{15, 2, 10, 20, 0, 0, 0, 36}},
        {{2, 3, 0, 0, 0, 0, 0, 0, 4, 30}},
        {{82, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 106}},
    };
    const kit::Bytes valid = kit::encodeLevelObjects(records);
    std::vector<kit::DamagedFile> files = kit::damageFile(kit::FileKind::LevelObjects, valid);
    files.insert(files.begin(), kit::DamagedFile{"valid", valid});
    int n = 0;
    for (const kit::DamagedFile& f : files) {
        std::string name = f.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, f.bytes);
    }
    std::printf("%d seed files\n", n);
    return 0;
}
