// Writes the sprite fuzz target's seed corpus into a folder:
//   sprite_seeds DIR
#include <cstdio>
#include <string>

#include "tests/game/sprite/seeds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (const spritetest::SeedFile& f : spritetest::spriteSeeds(true)) {
        std::string name = f.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, f.bytes);
    }
    std::printf("%d seed files\n", n);
    return 0;
}
