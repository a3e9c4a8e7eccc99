// Writes a table fuzzer's seed corpus into a folder:
//   world_table_seeds DIR
// The table (objects, scripts or regions) is the one the folder's path
// names, as each fuzzer's work folder does.
#include <cstdio>
#include <string>

#include "tests/game/world/seeds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    kit::FileKind kind = dir.find("scripts") != std::string::npos   ? kit::FileKind::LevelScripts
                         : dir.find("regions") != std::string::npos ? kit::FileKind::Regions
                                                                    : kit::FileKind::LevelObjects;
    int n = 0;
    for (const worldtest::SeedFile& f : worldtest::tableSeeds(kind)) {
        std::string name = f.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(dir + "/" + std::to_string(n++) + "-" + name, f.bytes);
    }
    std::printf("%d %s seed files\n", n, kit::fileKindName(kind).c_str());
    return 0;
}
