// Writes the pack fuzz target's seed corpus into a folder:
//   showcase_seeds DIR
#include <cstdio>
#include <string>

#include "tests/game/showcase/exercise.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (const kit::DamagedFile& f : showcasetest::packSeeds())
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + f.name, f.bytes);
    std::printf("%d seed files\n", n);
    return 0;
}
