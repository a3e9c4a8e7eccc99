// Writes the behaviour fuzz seeds into the folder given.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/game/behaviour/core_fuzz_body.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: behaviour_fuzz_seeds FOLDER\n");
        return 2;
    }
    int n = 0;
    for (const auto& seed : behaviourtest::behaviourFuzzSeeds()) {
        std::ofstream out(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    return 0;
}
