// Layouts and file-specific damage of the level entries: object lists with
// records the loader must refuse (too few values, more than 24), script
// tables with stray bytes, region grids of 0 columns or rows.
#include "tools/kit/damage.h"
#include "tools/kit/level.h"

namespace kit {

FileLayout levelLayoutOf(FileKind kind, ByteSpan valid) {
    FileLayout l;
    switch (kind) {
    case FileKind::LevelObjects: parseLevelObjects(valid, &l); break;
    case FileKind::LevelScripts: parseLevelScripts(valid, &l); break;
    case FileKind::Regions: parseMapRegions(valid, &l); break;
    default: throw KitError("not a level entry kind");
    }
    l.size = valid.size();
    return l;
}

std::vector<DamagedFile> levelSpecials(FileKind kind, ByteSpan valid, const FileLayout& layout) {
    std::vector<DamagedFile> out;
    const Bytes o(valid.begin(), valid.end());
    auto add = [&](std::string name, Bytes b) { out.push_back(DamagedFile{std::move(name), std::move(b)}); };
    if (kind == FileKind::LevelObjects) {
        // The first record one value short of what its type needs.
        if (const FileField* c = layout.find("record.count", 0)) {
            Bytes b = o;
            b[c->offset] = static_cast<uint8_t>(c->value - 1);
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(c->offset + 1 + 2 * (c->value - 1)),
                    b.begin() + static_cast<std::ptrdiff_t>(c->offset + 1 + 2 * c->value));
            add("record[0]=one-value-short", std::move(b));
        }
        Bytes wide = o;
        wide.push_back(25);
        for (int k = 0; k < 25; ++k) wide.insert(wide.end(), {static_cast<uint8_t>(k == 0 ? 7 : k), 0});
        add("record=25-values", std::move(wide));
        Bytes settings = o;
        settings.insert(settings.end(), {5, 0xD0, 0x07, 1, 0, 0, 0, 0, 0, 0, 0});  // a 2000 record of 5 values
        add("rect-record=5-values", std::move(settings));
    } else if (kind == FileKind::LevelScripts) {
        Bytes b = o;
        b.push_back(0);
        add("trailing-byte", std::move(b));
    } else if (kind == FileKind::Regions) {
        for (const FileField& f : layout.fields)
            if (f.group == "region.columns" || f.group == "region.rows") {
                Bytes b = o;
                b[f.offset] = 0;
                add(f.name() + "=zero", std::move(b));
            }
    }
    return out;
}

}  // namespace kit
