// Writes the level-object scan's seed corpus into a folder: valid lists
// and the damaged forms the scan must refuse.
//   levelobjects_seeds DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes records(const std::vector<std::vector<int>>& rs) {
    Bytes b;
    for (const auto& r : rs) {
        b.push_back(static_cast<unsigned char>(r.size()));
        for (int v : r) {
            b.push_back(static_cast<unsigned char>(v & 0xFF));
            b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const Bytes valid = records({{2000, 0, 0, 320, 240},
                                 {5, 1, 10, 20, 0, 0, 0, 3},
                                 {15, 2, 10, 20, 0, 0, 0, 36},
                                 {2, 3, 0, 0, 0, 0, 0, 0, 4, 30},
                                 {82, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 106}});
    std::vector<std::pair<std::string, Bytes>> files = {{"valid", valid}};
    Bytes b = valid;
    b.push_back(0);
    files.emplace_back("zero-count", b);
    b = valid;
    b.push_back(25);
    files.emplace_back("count-25", b);
    b = valid;
    b.insert(b.end(), {8, 5, 0, 1});
    files.emplace_back("truncated", b);
    files.emplace_back("value-past-record", records({{5, 1, 0}}));
    int n = 0;
    for (const auto& [name, bytes] : files) {
        std::ofstream out(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::printf("%d seed files\n", n);
    return 0;
}
