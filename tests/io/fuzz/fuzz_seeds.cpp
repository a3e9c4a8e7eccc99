// Writes the seed corpora of the io fuzzers: valid files made by the content
// kit and their damaged variants, into DIR/archive, DIR/record-index and
// DIR/jad.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/kit/archive.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo.h"
#include "tools/kit/jad.h"
#include "tools/kit/recordstore.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: io_fuzz_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    kit::ArchiveWriter archive;
    archive.add("title.png", {1, 2, 3});
    archive.add("sfx/Jump.wav", std::vector<uint8_t>(300, 7));
    archive.add("\xC3\xA9t\xC3\xA9.txt", {});
    const kit::Bytes record = kit::encodeRecordIndex({9, {2, 4, 9}});
    const kit::Bytes jad = kit::encodeJad({{"MIDlet-Name", "Bramble"}, {"MIDlet-Vendor", "Tindrell"}, {"Url", "http://x:80/"}});
    const struct {
        const char* folder;
        kit::FileKind kind;
        kit::Bytes valid;
    } kinds[] = {
        {"archive", kit::FileKind::Archive, archive.build()},
        {"archive", kit::FileKind::Archive, kit::buildDemoArchive()},
        {"record-index", kit::FileKind::RecordIndex, record},
        {"jad", kit::FileKind::Jad, jad},
    };
    int n = 0;
    for (const auto& k : kinds) {
        const std::string folder = dir + "/" + k.folder;
        std::filesystem::create_directories(folder);
        kit::writeFile(folder + "/valid-" + std::to_string(n++), k.valid);
        for (const kit::DamagedFile& d : kit::damageFile(k.kind, k.valid))
            kit::writeFile(folder + "/" + std::to_string(n++) + "-" + d.name, d.bytes);
    }
    return 0;
}
