// Writes the seed corpus of the fuzz target DATA_FUZZ_TARGET into a folder:
//   game_data_<target>_seeds DIR
#include <cstdio>
#include <string>

#include "tests/game/data/fuzz/targets.h"

int main(int argc, char** argv) {
    using namespace datafuzz;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (const Seed& s : seeds(Target::DATA_FUZZ_TARGET, true)) {
        std::string name = s.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, s.bytes);
    }
    std::printf("%d seed files\n", n);
    return 0;
}
