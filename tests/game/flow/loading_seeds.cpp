// Writes the loading fuzz target's seed corpus into a folder:
//   loading_seeds DIR
#include <cstdio>
#include <string>

#include "tests/game/flow/support.h"
#include "tools/kit/archive.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (const flowtest::SeedFile& f : flowtest::loadingSeeds()) {
        std::string name = f.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, f.bytes);
    }
    std::printf("%d seed files\n", n);
    return 0;
}
