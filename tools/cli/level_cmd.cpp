// bramble-kit level and the level entries' inspect.
#include "tools/cli/level_cmd.h"

#include "tools/kit/level.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace kitcli {

int levelCommand(const std::vector<std::string>& a) {
    if (a.size() != 2) throw kit::KitError("usage: level IN.txt OUTDIR");
    kit::Bytes text = kit::readFile(a[0]);
    kit::LevelModel m = kit::parseLevelDescription(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    int n = 0;
    for (const auto& [entry, bytes] : kit::levelEntries(m)) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.bin", entry);
        kit::writeFile((std::filesystem::path(a[1]) / name).string(), bytes);
        ++n;
    }
    std::cout << n << " level entries in " << a[1] << "\n";
    return 0;
}

bool inspectLevelEntry(kit::FileKind kind, const kit::Bytes& data) {
    switch (kind) {
    case kit::FileKind::LevelObjects: std::cout << kit::describeLevelObjects(kit::parseLevelObjects(data)); return true;
    case kit::FileKind::LevelScripts: std::cout << kit::describeLevelScripts(kit::parseLevelScripts(data)); return true;
    case kit::FileKind::Regions: std::cout << kit::describeMapRegions(kit::parseMapRegions(data)); return true;
    default: return false;
    }
}

}  // namespace kitcli
