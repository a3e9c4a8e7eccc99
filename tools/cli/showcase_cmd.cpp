// bramble-kit's cross-promotion pack commands:
//   showcase IN.txt OUT              description -> pack ("demo" as IN gives the demo pack)
//   inspect showcase FILE            summary of a pack
//   damage showcase IN.txt OUTDIR    damaged variants of the described pack
#include "tools/cli/showcase_cmd.h"

#include "tools/kit/showcase.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace kit {

namespace {

ShowcaseDescription described(const std::string& path) {
    if (path == "demo") return demoShowcase();
    const Bytes b = readFile(path);
    return parseShowcaseDescription(std::string(b.begin(), b.end()));
}

}  // namespace

int showcaseCommand(const std::string& verb, const std::vector<std::string>& a) {
    if (verb == "showcase" && a.size() == 2) {
        const Bytes pack = encodeShowcase(described(a[0]));
        writeFile(a[1], pack);
        std::cout << a[1] << ": " << pack.size() << " bytes\n";
        return 0;
    }
    if (verb == "inspect" && a.size() == 2) {
        std::cout << inspectShowcase(readFile(a[1]));
        return 0;
    }
    if (verb == "damage" && a.size() == 3) {
        namespace fs = std::filesystem;
        const std::vector<DamagedFile> out = damageShowcase(described(a[1]));
        int n = 0;
        for (const DamagedFile& d : out) {
            char name[96];
            std::snprintf(name, sizeof name, "showcase.%04d.%s", n++, d.name.c_str());
            writeFile((fs::path(a[2]) / name).string(), d.bytes);
        }
        std::cout << out.size() << " damaged packs in " << a[2] << "\n";
        return 0;
    }
    return -1;
}

}  // namespace kit
