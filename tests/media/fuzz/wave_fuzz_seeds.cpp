// Writes the WAVE fuzz target's seeds into a folder: wave_fuzz_seeds <folder>.
#include "tests/media/fuzz/wave_fuzz_target.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    int n = 0;
    for (const auto& seed : mediafuzz::waveSeeds()) {
        std::ofstream out(std::string(argv[1]) + "/seed-" + std::to_string(n++), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
        if (!out) return 1;
    }
    return 0;
}
