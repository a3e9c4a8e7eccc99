// Writes the screens' seed corpus into a folder: the kit's progress
// fixtures with the demo texts, every damaged text pack and every damaged
// progress record the kit makes.
//   screens_seeds DIR
#include <cstdio>
#include <string>

#include "tests/game/flow/screens/screens_exercise.h"
#include "tools/kit/bytes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    int n = 0;
    for (const screenstest::ScreensSeed& s : screenstest::screensSeeds()) {
        std::string name = s.name;
        for (char& c : name)
            if (c == '/' || c == ' ') c = '_';
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, kit::Bytes(s.bytes.begin(), s.bytes.end()));
    }
    std::printf("%d seed files\n", n);
    return 0;
}
