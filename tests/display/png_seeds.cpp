// Writes the PNG fixtures of every colour type, depth and interlacing into
// a folder: the seed corpus of the PNG fuzz target.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/display/png_writer.h"

int main(int argc, char** argv) {
    using display::test::PngRecipe;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    int n = 0;
    const int depths[][2] = {{0, 1}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1}, {3, 8}, {4, 8}, {6, 8}, {6, 16}};
    for (const auto& td : depths)
        for (bool interlaced : {false, true})
            for (bool key : {false, true}) {
                const int type = td[0], depth = td[1];
                PngRecipe recipe{7, 5, type, depth, interlaced, [type, depth](int x, int y) {
                                 const int max = (1 << depth) - 1, v = (x * 13 + y * 7) % (max + 1);
                                 return type == 3 ? std::vector<int>{v % (depth == 1 ? 2 : 3)} : std::vector<int>{v, max - v, v / 2, max};
                             }};
                if (type == 3) {
                    recipe.palette = {{0, 0, 0, 0}, {255, 0, 255, 255}, {9, 200, 9, 100}};
                    if (depth == 1) recipe.palette.resize(2);
                    recipe.paletteAlpha = key;
                }
                else if (key && (type == 0 || type == 2)) recipe.colourKey = true;
                const std::vector<uint8_t> bytes = display::test::writePng(recipe);
                std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++) + ".png", std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            }
    std::printf("%d seeds\n", n);
    return 0;
}
