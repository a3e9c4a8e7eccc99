// Deterministic damaged variants of valid files.
#include "tools/kit/damage.h"

#include "tools/kit/archive.h"
#include "tools/kit/font.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/jad.h"
#include "tools/kit/recordstore.h"
#include "tools/kit/stringpool.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace kit {

std::string fileKindName(FileKind k) {
    switch (k) {
    case FileKind::Sprite: return "sprite";
    case FileKind::Archive: return "archive";
    case FileKind::StringPool: return "pool";
    case FileKind::RecordIndex: return "record-index";
    case FileKind::Jad: return "jad";
    case FileKind::CharMap: return "char-map";
    case FileKind::Pack: return "pack";
    case FileKind::TextPack: return "text-pack";
    case FileKind::DataNode: return "node";
    case FileKind::LayerHeader: return "layer-header";
    case FileKind::ContentTypes: return "content-types";
    case FileKind::Progress: return "progress";
    }
    return "?";
}

std::optional<FileKind> parseFileKind(std::string_view n) {
    if (n == "sprite" || n == "font") return FileKind::Sprite;
    if (n == "archive" || n == "bar") return FileKind::Archive;
    if (n == "pool" || n == "constants") return FileKind::StringPool;
    if (n == "record-index" || n == "rms") return FileKind::RecordIndex;
    if (n == "jad") return FileKind::Jad;
    if (n == "char-map" || n == "charmap") return FileKind::CharMap;
    if (n == "pack") return FileKind::Pack;
    if (n == "text-pack") return FileKind::TextPack;
    if (n == "node" || n == "data-node") return FileKind::DataNode;
    if (n == "layer-header") return FileKind::LayerHeader;
    if (n == "content-types") return FileKind::ContentTypes;
    if (n == "progress") return FileKind::Progress;
    return std::nullopt;
}

namespace {

FileField bigEndianField(std::string group, int index, size_t offset, uint8_t width, bool isSigned, FieldRole role,
                         int64_t value, int64_t limit) {
    return FileField::make(std::move(group), index, offset, width, true, isSigned, role, value, limit);
}

FileLayout archiveLayout(ByteSpan data) {
    ArchiveReader a = ArchiveReader::parse(data);
    FileLayout l;
    l.size = data.size();
    const int n = static_cast<int>(a.entries().size());
    l.mark("count", 0);
    l.fields.push_back(bigEndianField("count", -1, 0, 2, true, FieldRole::Count, n, n));
    size_t pos = 2;
    for (int i = 0; i < n; ++i) {
        const ArchiveEntry& e = a.entries()[static_cast<size_t>(i)];
        size_t nameLen = encodeModifiedUtf8(e.name).size();
        l.mark("entry[" + std::to_string(i) + "]", pos);
        l.fields.push_back(bigEndianField("entry.name-length", i, pos, 2, false, FieldRole::Length,
                                          static_cast<int64_t>(nameLen), static_cast<int64_t>(nameLen)));
        if (nameLen > 0) {
            FileField f = bigEndianField("entry.name", i, pos + 2, 1, false, FieldRole::Marker, data[pos + 2], 0);
            f.alternatives = {0x80, 0xFF, 0xE2};
            l.fields.push_back(f);
        }
        pos += 2 + nameLen;
        l.fields.push_back(bigEndianField("entry.offset", i, pos, 4, true, FieldRole::Offset, e.offset, 0));
        l.fields.push_back(bigEndianField("entry.length", i, pos + 4, 4, true, FieldRole::Length, e.length,
                                          static_cast<int64_t>(data.size()) - e.offset));
        pos += 8;
    }
    l.mark("index-end", pos);
    for (int i = 0; i < n; ++i)
        l.mark("entry-data[" + std::to_string(i) + "]", static_cast<size_t>(a.entries()[static_cast<size_t>(i)].offset));
    return l;
}

FileLayout poolLayout(ByteSpan data) {
    StringPool pool = decodeStringPool(data);
    FileLayout l;
    l.size = data.size();
    const int n = static_cast<int>(pool.size());
    l.mark("count", 0);
    l.fields.push_back(bigEndianField("count", -1, 0, 4, true, FieldRole::Count, n, n));
    size_t pos = 4;
    for (int i = 0; i < n; ++i) {
        size_t len = encodeModifiedUtf8(pool[static_cast<size_t>(i)]).size();
        l.mark("string[" + std::to_string(i) + "]", pos);
        l.fields.push_back(bigEndianField("string.length", i, pos, 2, false, FieldRole::Length, static_cast<int64_t>(len),
                                          static_cast<int64_t>(data.size() - pos - 2)));
        if (len > 0) {
            FileField f = bigEndianField("string.byte", i, pos + 2, 1, false, FieldRole::Marker, data[pos + 2], 0);
            f.alternatives = {0x80, 0xFF, 0xE2};
            l.fields.push_back(f);
        }
        pos += 2 + len;
    }
    l.mark("end", pos);
    return l;
}

FileLayout recordIndexLayout(ByteSpan data) {
    RecordIndex idx = decodeRecordIndex(data);
    FileLayout l;
    l.size = data.size();
    if (data.empty()) return l;
    const int n = static_cast<int>(idx.ids.size());
    l.mark("last-id", 0);
    l.fields.push_back(bigEndianField("last-id", -1, 0, 4, true, FieldRole::Index, idx.lastRecordId, 0));
    l.mark("count", 4);
    l.fields.push_back(bigEndianField("count", -1, 4, 4, true, FieldRole::Count, n, n));
    for (int i = 0; i < n; ++i) {
        l.mark("id[" + std::to_string(i) + "]", 8 + 4 * static_cast<size_t>(i));
        l.fields.push_back(bigEndianField("id", i, 8 + 4 * static_cast<size_t>(i), 4, true, FieldRole::Index,
                                          idx.ids[static_cast<size_t>(i)], int64_t{idx.lastRecordId} + 1));
    }
    return l;
}

FileLayout jadLayout(ByteSpan data) {
    FileLayout l;
    l.size = data.size();
    l.mark("line[0]", 0);
    int line = 1;
    for (size_t i = 0; i < data.size(); ++i)
        if (data[i] == '\n' && i + 1 < data.size()) l.mark("line[" + std::to_string(line++) + "]", i + 1);
    return l;
}

// A character map as a data node: tag, u16 count, then 16-bit
// little-endian elements (the form encodeShortNode writes).
FileLayout charMapLayout(ByteSpan data) {
    if (data.empty() || data[0] != 0x19) throw KitError("the kit damages character maps in the 0x19 node form only");
    std::vector<int16_t> map = decodeShortNode(data);
    checkCharMap(map);
    FileLayout l;
    l.size = data.size();
    auto at = [](size_t element) { return 3 + 2 * element; };
    auto field = [&](std::string group, int index, size_t element, FieldRole role, int64_t limit) {
        FileField f;
        f.group = std::move(group);
        f.index = index;
        f.offset = at(element);
        f.width = 2;
        f.isSigned = true;
        f.role = role;
        f.value = map[element];
        f.limit = limit;
        l.fields.push_back(f);
    };
    l.mark("tag", 0);
    FileField count;
    count.group = "node.count";
    count.offset = 1;
    count.width = 2;
    count.role = FieldRole::Length;
    count.value = static_cast<int64_t>(map.size());
    count.limit = static_cast<int64_t>(map.size());
    l.fields.push_back(count);
    const size_t S = static_cast<size_t>(map[0]);
    l.mark("size", at(0));
    field("map.size", -1, 0, FieldRole::Count, static_cast<int64_t>(S));
    l.mark("first-pairs", at(1));
    int group = 0;
    for (size_t j = 1 + 2 * S; j < map.size(); ++group) {
        l.mark("group[" + std::to_string(group) + "]", at(j));
        field("group.bucket", group, j, FieldRole::Index, static_cast<int64_t>(S));
        field("group.pairs", group, j + 1, FieldRole::Count, map[j + 1]);
        j += 2 + 2 * static_cast<size_t>(map[j + 1]);
    }
    return l;
}

std::string groupOf(const std::string& name) { return name.substr(0, name.find('[')); }

// Evenly spread choice of at most max of n items, first and last included.
std::vector<size_t> spread(size_t n, size_t max) {
    std::vector<size_t> out;
    if (n == 0 || max == 0) return out;
    if (n <= max) {
        for (size_t i = 0; i < n; ++i) out.push_back(i);
        return out;
    }
    if (max == 1) return {0};
    for (size_t k = 0; k < max; ++k) out.push_back(k * (n - 1) / (max - 1));
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void store(Bytes& b, const FileField& f, int64_t v) {
    uint64_t u = static_cast<uint64_t>(v);
    for (size_t i = 0; i < f.width; ++i) {
        size_t shift = 8 * (f.bigEndian ? f.width - 1 - i : i);
        if (f.offset + i < b.size()) b[f.offset + i] = static_cast<uint8_t>(u >> shift);
    }
}

int64_t maxOf(const FileField& f) {
    int bits = 8 * f.width;
    if (bits >= 64) return INT64_MAX;
    return f.isSigned ? (int64_t{1} << (bits - 1)) - 1 : (int64_t{1} << bits) - 1;
}

int64_t allOnes(const FileField& f) { return f.width >= 8 ? -1 : (int64_t{1} << (8 * f.width)) - 1; }

std::vector<std::pair<std::string, int64_t>> badValues(const FileField& f, size_t fileSize) {
    std::vector<std::pair<std::string, int64_t>> v;
    switch (f.role) {
    case FieldRole::Count:
        if (f.isSigned) v.emplace_back("negative", -1);
        if (f.isSigned) v.emplace_back("min", -(maxOf(f) + 1));
        v.emplace_back("plus-one", f.value + 1);
        v.emplace_back("huge", maxOf(f));
        break;
    case FieldRole::Length:
        v.emplace_back("plus-one", f.value + 1);
        if (f.limit + 1 != f.value + 1) v.emplace_back("past-end", f.limit + 1);
        v.emplace_back("huge", maxOf(f));
        v.emplace_back("all-ones", allOnes(f));
        break;
    case FieldRole::Index:
        v.emplace_back("first-outside", f.limit);
        v.emplace_back("huge", maxOf(f));
        if (f.isSigned) v.emplace_back("negative", -1);
        break;
    case FieldRole::Offset:
        v.emplace_back("at-end", static_cast<int64_t>(fileSize));
        v.emplace_back("past-end", static_cast<int64_t>(fileSize) + 1);
        if (f.isSigned) v.emplace_back("negative", -1);
        v.emplace_back("huge", maxOf(f));
        break;
    case FieldRole::Marker:
        for (int64_t a : f.alternatives) v.emplace_back("bad-" + std::to_string(a), a);
        break;
    case FieldRole::Flags:
        break;
    }
    return v;
}

class Collector {
public:
    Collector(ByteSpan original) : original_(original.begin(), original.end()) {}
    void add(const std::string& name, Bytes bytes) {
        if (bytes == original_) return;
        std::string n = name;
        for (int k = 2; !names_.insert(n).second; ++k) n = name + "#" + std::to_string(k);
        out_.push_back(DamagedFile{n, std::move(bytes)});
    }
    const Bytes& original() const { return original_; }
    std::vector<DamagedFile> take() { return std::move(out_); }

private:
    Bytes original_;
    std::set<std::string> names_;
    std::vector<DamagedFile> out_;
};

void truncations(Collector& c, const FileLayout& l, size_t maxPerGroup) {
    std::map<std::string, std::vector<const FileBoundary*>> groups;
    std::vector<std::string> order;
    for (const FileBoundary& b : l.boundaries) {
        std::string g = groupOf(b.name);
        if (!groups.count(g)) order.push_back(g);
        groups[g].push_back(&b);
    }
    std::set<size_t> done;
    const Bytes& orig = c.original();
    auto cut = [&](const std::string& name, size_t at) {
        if (at >= orig.size() || !done.insert(at).second) return;
        c.add("truncate@" + name, Bytes(orig.begin(), orig.begin() + static_cast<std::ptrdiff_t>(at)));
    };
    cut("start", 0);
    for (const std::string& g : order) {
        const auto& list = groups[g];
        for (size_t i : spread(list.size(), list.size() == 1 ? 1 : maxPerGroup)) {
            cut(list[i]->name, list[i]->offset);
            if (list[i]->offset > 0) cut(list[i]->name + "-1", list[i]->offset - 1);
        }
    }
    if (!orig.empty()) cut("last-byte", orig.size() - 1);
}

void fieldVariants(Collector& c, const FileLayout& l, size_t maxPerGroup, bool spriteFlagsToggle) {
    std::map<std::string, std::vector<const FileField*>> groups;
    std::vector<std::string> order;
    for (const FileField& f : l.fields) {
        if (!groups.count(f.group)) order.push_back(f.group);
        groups[f.group].push_back(&f);
    }
    for (const std::string& g : order) {
        const auto& list = groups[g];
        for (size_t i : spread(list.size(), maxPerGroup)) {
            const FileField& f = *list[i];
            for (const auto& [what, value] : badValues(f, l.size)) {
                if (value == f.value) continue;
                Bytes b = c.original();
                store(b, f, value);
                c.add(f.name() + "=" + what, std::move(b));
            }
        }
    }
    if (spriteFlagsToggle)
        if (const FileField* f = l.find("flags")) {
            for (uint32_t bit : {kSpriteModuleExtra, kSpritePixelLength32, kSpriteWideCoords, kSpriteNoBoundingBoxes,
                                 kSpriteFModulePalette, kSpriteFrameRects, kSpriteWideModuleIndex, kSpriteWideFrameIndex,
                                 kSpriteImages}) {
                Bytes b = c.original();
                store(b, *f, f->value ^ bit);
                char name[32];
                std::snprintf(name, sizeof name, "flags^0x%X", bit);
                c.add(name, std::move(b));
            }
        }
}

void spriteSpecials(Collector& c, const FileLayout& l, size_t maxPerGroup) {
    // Frame modules turned into nested frames that contain their own frame.
    std::vector<const FileField*> indexFields;
    for (const FileField& f : l.fields)
        if (f.group == "fmodule.module" || f.group == "fmodule.frame") indexFields.push_back(&f);
    std::sort(indexFields.begin(), indexFields.end(), [](auto* a, auto* b) { return a->index < b->index; });
    for (size_t i : spread(indexFields.size(), maxPerGroup)) {
        const FileField& idx = *indexFields[i];
        const FileField* flags = l.find("fmodule.flags", idx.index);
        if (!flags || idx.owner > maxOf(idx)) continue;
        Bytes b = c.original();
        store(b, idx, idx.owner);
        store(b, *flags, flags->value | kFModuleNestedFrame);
        c.add("fmodule[" + std::to_string(idx.index) + "]=self-nested", std::move(b));
    }
    // Two frames that contain each other.
    const FileField *a = nullptr, *b = nullptr;
    for (const FileField* f : indexFields) {
        if (f->owner == 0 && !a) a = f;
        if (f->owner == 1 && !b) b = f;
    }
    if (a && b && maxOf(*a) >= 1) {
        Bytes bytes = c.original();
        store(bytes, *a, 1);
        store(bytes, *l.find("fmodule.flags", a->index), l.find("fmodule.flags", a->index)->value | kFModuleNestedFrame);
        store(bytes, *b, 0);
        store(bytes, *l.find("fmodule.flags", b->index), l.find("fmodule.flags", b->index)->value | kFModuleNestedFrame);
        c.add("frames[0,1]=nested-cycle", std::move(bytes));
    }
    // A remap marker that no longer matches.
    for (const FileBoundary& m : l.boundaries)
        if (m.name == "remap-marker") {
            Bytes bytes = c.original();
            bytes[m.offset + 16] ^= 0x20;
            c.add("remap.marker=changed", std::move(bytes));
        }
    // A colours-per-palette byte of 0 asks for 256 colours a palette.
    for (const FileField& f : l.fields)
        if (f.group == "palette.colors") {
            Bytes bytes = c.original();
            store(bytes, f, 0);  // 256 colours per palette
            c.add("palette.colors=256", std::move(bytes));
        }
}

void recordIndexSpecials(Collector& c, const FileLayout& l) {
    const FileField* first = l.find("id", 0);
    const FileField* second = l.find("id", 1);
    if (first) {
        Bytes b = c.original();
        store(b, *first, 0);
        c.add("id[0]=zero", std::move(b));
    }
    if (first && second) {
        Bytes b = c.original();
        store(b, *second, first->value);
        c.add("id[1]=duplicate", std::move(b));
    }
    Bytes odd = c.original();
    odd.push_back(0);
    c.add("extra-byte", std::move(odd));
}

void jadSpecials(Collector& c) {
    const Bytes& o = c.original();
    auto with = [&](std::string_view prefix, std::string_view suffix) {
        Bytes b(prefix.begin(), prefix.end());
        b.insert(b.end(), o.begin(), o.end());
        b.insert(b.end(), suffix.begin(), suffix.end());
        return b;
    };
    c.add("line-without-colon", with("no colon on this line\n", ""));
    c.add("blank-lines", with("\n\r\n\n", "\n\n"));
    c.add("colon-only", with(":\n", ":"));
    c.add("key-only", with("Key:\n", "Other:"));
    c.add("nul-bytes", with(std::string_view("A\0B: v\0w\n", 9), ""));
    c.add("high-bytes", with("", "K\xFF: \xFE\xFD\n"));
    c.add("long-value", with("", "Long: " + std::string(70000, 'x') + "\n"));
    Bytes cr = o, joined;
    for (uint8_t& ch : cr)
        if (ch == '\n') ch = '\r';
    c.add("cr-line-ends", std::move(cr));
    for (uint8_t ch : o)
        if (ch != '\n' && ch != '\r') joined.push_back(ch);
    c.add("no-line-ends", std::move(joined));
}

void charMapSpecials(Collector& c, const FileLayout& l) {
    if (const FileField* size = l.find("map.size")) {
        Bytes b = c.original();
        store(b, *size, 0);
        c.add("map.size=zero", std::move(b));
    }
    // An extra empty group for bucket 0 (it drops that bucket's other
    // pairs), and a group whose pairs are missing.
    const Bytes& o = c.original();
    Bytes extra = o;
    extra.insert(extra.end(), {0, 0, 0, 0});  // group (bucket 0, 0 pairs)
    uint16_t n = static_cast<uint16_t>(o[1] | o[2] << 8);
    extra[1] = static_cast<uint8_t>(n + 2);
    extra[2] = static_cast<uint8_t>((n + 2) >> 8);
    c.add("group=empty-repeat", std::move(extra));
    Bytes cut = o;
    cut.insert(cut.end(), {0, 0, 5, 0});  // group (bucket 0, 5 pairs) with no pairs
    cut[1] = static_cast<uint8_t>(n + 2);
    cut[2] = static_cast<uint8_t>((n + 2) >> 8);
    c.add("group=pairs-missing", std::move(cut));
}

void randomFlips(Collector& c, const DamageOptions& opt) {
    const Bytes& o = c.original();
    if (o.empty()) return;
    uint64_t state = opt.seed;
    auto next = [&]() {  // splitmix64
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    for (size_t v = 0; v < opt.randomFlips; ++v) {
        Bytes b = o;
        size_t flips = 1 + next() % 3;
        for (size_t k = 0; k < flips; ++k) {
            size_t at = next() % b.size();
            b[at] ^= static_cast<uint8_t>(1 + next() % 255);
        }
        c.add("flip#" + std::to_string(v), std::move(b));
    }
}

}  // namespace

template <typename Parse>
FileLayout gameDataLayout(ByteSpan, Parse parse) {
    FileLayout l;
    parse(&l);
    return l;
}

FileLayout layoutOf(FileKind kind, ByteSpan valid) {
    switch (kind) {
    case FileKind::Sprite: {
        FileLayout l;
        parseSprite(valid, &l);
        return l;
    }
    case FileKind::Archive: return archiveLayout(valid);
    case FileKind::StringPool: return poolLayout(valid);
    case FileKind::RecordIndex: return recordIndexLayout(valid);
    case FileKind::Jad: return jadLayout(valid);
    case FileKind::CharMap: return charMapLayout(valid);
    case FileKind::Pack: return gameDataLayout(valid, [&](FileLayout* l) { parsePackFile(valid, l); });
    case FileKind::TextPack: return gameDataLayout(valid, [&](FileLayout* l) { parseTextPack(valid, l); });
    case FileKind::DataNode: return gameDataLayout(valid, [&](FileLayout* l) { decodeNode(valid, l); });
    case FileKind::LayerHeader: return gameDataLayout(valid, [&](FileLayout* l) { parseLayerHeader(valid, l); });
    case FileKind::ContentTypes: return gameDataLayout(valid, [&](FileLayout* l) { parseContentTypes(valid, l); });
    case FileKind::Progress: return gameDataLayout(valid, [&](FileLayout* l) { parseProgress(valid, l); });
    }
    throw KitError("unknown file kind");
}

std::vector<DamagedFile> damageFile(FileKind kind, ByteSpan valid, const DamageOptions& opt) {
    FileLayout layout = layoutOf(kind, valid);
    Collector c(valid);
    truncations(c, layout, opt.maxPerGroup);
    fieldVariants(c, layout, opt.maxPerGroup, kind == FileKind::Sprite);
    if (kind == FileKind::Sprite) spriteSpecials(c, layout, opt.maxPerGroup);
    if (kind == FileKind::RecordIndex) recordIndexSpecials(c, layout);
    if (kind == FileKind::Jad) jadSpecials(c);
    if (kind == FileKind::CharMap) charMapSpecials(c, layout);
    randomFlips(c, opt);
    return c.take();
}

}  // namespace kit
