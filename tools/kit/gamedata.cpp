// The game's data formats for the content kit (see gamedata.h): writers,
// strict readers and the field layouts that inspect and damage use.
#include "tools/kit/gamedata.h"

#include <lzma.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace kit {
namespace {

FileField leField(std::string group, int index, size_t offset, uint8_t width, bool isSigned, FieldRole role,
                  int64_t value, int64_t limit) {
    return FileField::make(std::move(group), index, offset, width, false, isSigned, role, value, limit);
}

void need(bool ok, const std::string& what) {
    if (!ok) throw KitError(what);
}

}  // namespace

// --- LZMA --------------------------------------------------------------------

Bytes lzmaEncode(ByteSpan data, uint8_t properties) {
    need(properties < 225, "LZMA properties byte must be below 225");
    lzma_options_lzma opt{};
    need(!lzma_lzma_preset(&opt, 6), "no LZMA preset");
    opt.lc = properties % 9;
    opt.lp = (properties / 9) % 5;
    opt.pb = properties / 45;
    uint32_t dict = LZMA_DICT_SIZE_MIN;
    while (dict < data.size() && dict < (1u << 26)) dict <<= 1;
    opt.dict_size = dict;
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
    Bytes out(data.size() + data.size() / 2 + 4096);
    size_t pos = 0;
    lzma_ret r = lzma_raw_buffer_encode(filters, nullptr, data.data(), data.size(), out.data(), &pos, out.size());
    need(r == LZMA_OK, "LZMA encoding failed (lc + lp above 4?)");
    out.resize(pos);
    ByteWriter w;
    w.u8(properties);
    w.le32(dict);
    w.le32(static_cast<uint32_t>(data.size()));
    w.le32(0);
    w.raw(out);
    return w.take();
}

Bytes lzmaDecodePayload(ByteSpan payload) {
    need(payload.size() >= 13, "LZMA payload shorter than its header");
    ByteReader r(payload);
    const uint8_t props = r.u8();
    need(props < 225, "LZMA properties byte out of range");
    r.le32();
    const uint32_t size = r.le32();
    need(size <= (16u << 20), "LZMA stated size above 16 MiB");
    Bytes out(size);
    if (size == 0) return out;
    lzma_options_lzma opt{};
    lzma_lzma_preset(&opt, 0);
    opt.lc = props % 9;
    opt.lp = (props / 9) % 5;
    opt.pb = props / 45;
    opt.dict_size = std::max<uint32_t>(size, LZMA_DICT_SIZE_MIN);
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream s = LZMA_STREAM_INIT;
    need(lzma_raw_decoder(&s, filters) == LZMA_OK, "LZMA properties not accepted");
    s.next_in = payload.data() + 13;
    s.avail_in = payload.size() - 13;
    s.next_out = out.data();
    s.avail_out = out.size();
    lzma_ret ret = LZMA_OK;
    while (s.avail_out > 0 && ret == LZMA_OK) {
        size_t before = s.avail_out;
        ret = lzma_code(&s, s.avail_in ? LZMA_RUN : LZMA_FINISH);
        if (s.avail_in == 0 && before == s.avail_out) break;
    }
    const bool ok = s.avail_out == 0;
    lzma_end(&s);
    need(ok, "LZMA data ends before the stated size or is damaged");
    return out;
}

// --- packs ---------------------------------------------------------------------

namespace {

Bytes entryBytes(const PackEntry& e) {
    if (e.empty) return {};
    if (e.useRaw) return e.raw;
    need(e.type >= 0 && e.type <= 126, "pack entry type must be 0-126");
    Bytes b;
    b.push_back(static_cast<uint8_t>(e.compress ? 127 + e.type : e.type));
    Bytes p = e.compress ? lzmaEncode(e.payload) : e.payload;
    b.insert(b.end(), p.begin(), p.end());
    return b;
}

// (n + 1) offsets starting at base + 4 (n + 1), then the data.
void writeSubPack(ByteWriter& w, const std::vector<Bytes>& entries) {
    const size_t tableStart = w.size();
    uint32_t at = static_cast<uint32_t>(tableStart + 4 * (entries.size() + 1));
    for (const Bytes& e : entries) {
        w.le32(at);
        at += static_cast<uint32_t>(e.size());
    }
    w.le32(at);
    for (const Bytes& e : entries) w.raw(e);
}

}  // namespace

PackFiles buildPack(const std::vector<PackEntry>& entries, const std::vector<int>& firsts) {
    need(!firsts.empty(), "a pack needs at least one sub-pack");
    const int first0 = firsts[0];
    const int total = first0 + static_cast<int>(entries.size());
    need(total <= 65535, "a pack holds at most 65535 entries");
    for (size_t k = 0; k < firsts.size(); ++k)
        need(firsts[k] >= 0 && firsts[k] <= total && (k == 0 || firsts[k] > firsts[k - 1]),
             "sub-pack first ids must ascend within the entry count");
    PackFiles out;
    for (size_t k = 0; k < firsts.size(); ++k) {
        const int from = firsts[k], to = k + 1 < firsts.size() ? firsts[k + 1] : total;
        std::vector<Bytes> part;
        for (int i = from; i < to; ++i) part.push_back(entryBytes(entries[static_cast<size_t>(i - first0)]));
        ByteWriter w;
        if (k == 0) {
            w.le16(static_cast<uint32_t>(total));
            w.le16(static_cast<uint32_t>(firsts.size()));
            for (int f : firsts) w.le16(static_cast<uint32_t>(f));
        }
        writeSubPack(w, part);
        if (k == 0)
            out.header = w.take();
        else
            out.subPacks.push_back(w.take());
    }
    return out;
}

std::string subPackFileName(const std::string& packName, const std::string& separator, int k) {
    return k == 0 ? packName : packName + separator + std::to_string(k);
}

ParsedPack parsePackFile(ByteSpan file, FileLayout* layout, int subPack, int entryCount,
                         const std::vector<int>& firstsIn) {
    ByteReader r(file);
    ParsedPack p;
    if (layout) layout->size = file.size();
    int n;
    if (subPack == 0) {
        if (layout) layout->mark("header", 0);
        p.entryCount = r.le16();
        const int subs = r.les16();
        if (layout) {
            layout->fields.push_back(leField("count", -1, 0, 2, false, FieldRole::Count, p.entryCount, p.entryCount));
            layout->fields.push_back(leField("sub-packs", -1, 2, 2, true, FieldRole::Count, subs, subs));
        }
        need(subs >= 1 && subs <= std::max(1, p.entryCount), "sub-pack count outside 1..N");
        for (int k = 0; k < subs; ++k) {
            const size_t at = r.pos();
            p.firsts.push_back(r.le16());
            need(p.firsts[k] <= p.entryCount && (k == 0 || p.firsts[k] > p.firsts[k - 1]),
                 "first entry ids not ascending or past N");
            if (layout)
                layout->fields.push_back(
                    leField("first", k, at, 2, false, FieldRole::Index, p.firsts[k], p.entryCount));
        }
    } else {
        p.entryCount = entryCount;
        p.firsts = firstsIn;
        need(subPack > 0 && subPack < static_cast<int>(p.firsts.size()), "no such sub-pack");
    }
    const int k = subPack;
    n = (k + 1 < static_cast<int>(p.firsts.size()) ? p.firsts[k + 1] : p.entryCount) - p.firsts[k];
    if (layout) layout->mark("offsets", r.pos());
    std::vector<uint32_t> offsets;
    for (int i = 0; i <= n; ++i) {
        const size_t at = r.pos();
        offsets.push_back(r.le32());
        if (layout)
            layout->fields.push_back(leField("offset", i, at, 4, false, FieldRole::Offset, offsets.back(),
                                             static_cast<int64_t>(file.size())));
    }
    const size_t tableEnd = r.pos();
    for (int i = 0; i <= n; ++i)
        need(offsets[i] <= file.size() && (i == 0 ? offsets[i] >= tableEnd : offsets[i] >= offsets[i - 1]),
             "offsets out of order or past the file");
    for (int i = 0; i < n; ++i) {
        ParsedPackEntry e;
        e.offset = offsets[i];
        e.length = offsets[i + 1] - offsets[i];
        if (layout) layout->mark("entry[" + std::to_string(i) + "]", e.offset);
        if (e.length > 0) {
            const uint8_t t = file[e.offset];
            e.compressed = t >= 127;
            e.type = e.compressed ? t - 127 : t;
            if (layout) layout->fields.push_back(leField("entry.type", i, e.offset, 1, false, FieldRole::Flags, t, 0));
            if (e.compressed) {
                need(e.length >= 14, "compressed entry shorter than its LZMA header");
                ByteSpan pl = file.subspan(e.offset + 1, e.length - 1);
                need(pl[0] < 225, "LZMA properties byte out of range");
                if (layout) {
                    FileField f = leField("lzma.properties", i, e.offset + 1, 1, false, FieldRole::Marker, pl[0], 0);
                    f.alternatives = {225, 255};
                    layout->fields.push_back(f);
                    uint32_t size = ByteReader(pl, 5).le32();
                    layout->fields.push_back(
                        leField("lzma.size", i, e.offset + 6, 4, false, FieldRole::Length, size, size));
                }
            }
        }
        p.entries.push_back(e);
    }
    return p;
}

Bytes packEntryPayload(ByteSpan file, const ParsedPackEntry& e) {
    if (e.length == 0) return {};
    ByteSpan pl = file.subspan(e.offset + 1, e.length - 1);
    if (e.compressed) return lzmaDecodePayload(pl);
    return Bytes(pl.begin(), pl.end());
}

std::vector<PackEntry> decodePackEntries(ByteSpan header) {
    const ParsedPack parsed = parsePackFile(header);
    std::vector<PackEntry> out;
    for (const ParsedPackEntry& e : parsed.entries) {
        PackEntry p;
        if (e.type < 0) {
            p.empty = true;
        } else {
            p.payload = packEntryPayload(header, e);
            p.type = e.type;
            p.compress = e.compressed;
        }
        out.push_back(std::move(p));
    }
    return out;
}

std::string describePack(ByteSpan header) {
    ParsedPack p = parsePackFile(header);
    std::ostringstream o;
    o << "entries " << p.entryCount << ", sub-packs " << p.firsts.size() << " (first ids";
    for (int f : p.firsts) o << " " << f;
    o << ")\n";
    for (size_t i = 0; i < p.entries.size(); ++i) {
        const ParsedPackEntry& e = p.entries[i];
        o << "  " << (p.firsts[0] + static_cast<int>(i)) << ": offset " << e.offset << ", " << e.length << " bytes";
        if (e.type < 0)
            o << ", empty";
        else
            o << ", type " << e.type << (e.compressed ? ", LZMA " + std::to_string(packEntryPayload(header, e).size()) +
                                                            " bytes decoded"
                                                      : std::string());
        o << "\n";
    }
    return o.str();
}

// --- text packs -------------------------------------------------------------------

Bytes buildTextPackRaw(int slot, int32_t statedCount, const std::vector<int32_t>& endOffsets, ByteSpan data) {
    ByteWriter w;
    w.u8(static_cast<uint32_t>(slot));
    w.le32(static_cast<uint32_t>(statedCount));
    for (int32_t o : endOffsets) w.le32(static_cast<uint32_t>(o));
    w.raw(data);
    return w.take();
}

Bytes buildTextPack(int slot, const std::vector<std::string>& texts) {
    need(slot >= 0 && slot <= 31, "text pack slot must be 0-31");
    Bytes data;
    std::vector<int32_t> ends;
    const std::string term = utf16ToUtf8(std::u16string(1, kTextTerminator));
    for (const std::string& t : texts) {
        utf8ToUtf16(t);  // checks the UTF-8
        data.insert(data.end(), t.begin(), t.end());
        data.insert(data.end(), term.begin(), term.end());
        ends.push_back(static_cast<int32_t>(data.size()));
    }
    return buildTextPackRaw(slot, static_cast<int32_t>(texts.size()), ends, data);
}

ParsedTextPack parseTextPack(ByteSpan data, FileLayout* layout) {
    ByteReader r(data);
    ParsedTextPack p;
    if (layout) {
        layout->size = data.size();
        layout->mark("slot", 0);
    }
    p.slot = r.u8();
    if (layout) layout->fields.push_back(leField("slot", -1, 0, 1, false, FieldRole::Index, p.slot, 32));
    need(p.slot <= 31, "text pack slot above 31");
    const int32_t c = r.les32();
    if (layout) layout->fields.push_back(leField("count", -1, 1, 4, true, FieldRole::Count, c, c));
    need(c >= 0 && c <= 65536, "text pack count outside 0..65536");
    if (layout) layout->mark("offsets", 5);
    std::vector<int32_t> ends;
    for (int32_t i = 0; i < c; ++i) {
        const size_t at = r.pos();
        ends.push_back(r.les32());
        need(ends.back() >= (i ? ends[i - 1] : 0), "text end offsets descending");
        // The last end states the text data's size: always damaged too.
        if (layout && (i < 64 || i == c - 1))
            layout->fields.push_back(leField("end", i, at, 4, true, FieldRole::Offset, ends.back(), 0));
    }
    if (layout) layout->mark("texts", r.pos());
    const int32_t total = c ? ends.back() : 0;
    ByteSpan texts = r.take(static_cast<size_t>(total));
    need(r.atEnd(), "bytes after the text data");
    int32_t at = 0;
    for (int32_t e : ends) {
        std::string t(texts.begin() + at, texts.begin() + e);
        std::u16string u = utf8ToUtf16(t);
        if (!u.empty() && u.back() == kTextTerminator) u.pop_back();
        p.texts.push_back(utf16ToUtf8(u));
        at = e;
    }
    return p;
}

// --- data nodes ------------------------------------------------------------------

DataNode DataNode::bytes(std::vector<int64_t> v, bool wide) {
    DataNode n;
    n.tag = (wide ? 8 : 0);
    n.values = std::move(v);
    return n;
}
DataNode DataNode::shorts(std::vector<int64_t> v, bool wideValues, bool wide) {
    DataNode n;
    n.tag = 1 | (wide ? 8 : 0) | (wideValues ? 0x10 : 0);
    n.values = std::move(v);
    return n;
}
DataNode DataNode::ints(std::vector<int64_t> v, int widthCode, bool wide) {
    DataNode n;
    n.tag = 2 | (wide ? 8 : 0) | (widthCode << 4);
    n.values = std::move(v);
    return n;
}
DataNode DataNode::objects(std::vector<DataNode> c, bool wide) {
    DataNode n;
    n.tag = 3 | (wide ? 8 : 0);
    n.children = std::move(c);
    return n;
}

namespace {

int elementWidth(int tag) {
    const int kind = tag & 7, w = tag >> 4;
    if (kind == 0 || w == 0) return 1;
    if (kind == 1 || w == 1) return 2;
    return 4;
}

void encodeInto(ByteWriter& w, const DataNode& n) {
    const int kind = n.tag & 7;
    const size_t count = kind >= 3 ? n.children.size() : n.values.size();
    need(count <= ((n.tag & 8) ? 65535u : 255u), "data node count does not fit its width");
    w.u8(static_cast<uint32_t>(n.tag));
    if (n.tag & 8)
        w.le16(static_cast<uint32_t>(count));
    else
        w.u8(static_cast<uint32_t>(count));
    if (kind >= 3) {
        for (const DataNode& c : n.children) encodeInto(w, c);
        return;
    }
    const int width = elementWidth(n.tag);
    for (int64_t v : n.values) {
        if (width == 1)
            w.u8(static_cast<uint32_t>(v));
        else if (width == 2)
            w.le16(static_cast<uint32_t>(v));
        else
            w.le32(static_cast<uint32_t>(v));
    }
}

DataNode decodeFrom(ByteReader& r, FileLayout* layout, int depth, int& index) {
    need(depth <= 16, "data node nested deeper than 16");
    const int me = index++;
    const size_t at = r.pos();
    if (layout) layout->mark("node[" + std::to_string(me) + "]", at);
    DataNode n;
    n.tag = r.u8();
    const size_t count = (n.tag & 8) ? r.le16() : r.u8();
    if (layout) {
        layout->fields.push_back(leField("node.tag", me, at, 1, false, FieldRole::Flags, n.tag, 0));
        layout->fields.push_back(leField("node.count", me, at + 1, (n.tag & 8) ? 2 : 1, false, FieldRole::Count,
                                         static_cast<int64_t>(count), static_cast<int64_t>(count)));
    }
    const int kind = n.tag & 7;
    if (kind >= 3) {
        for (size_t i = 0; i < count; ++i) n.children.push_back(decodeFrom(r, layout, depth + 1, index));
        return n;
    }
    const int width = elementWidth(n.tag);
    for (size_t i = 0; i < count; ++i) {
        if (width == 1)
            n.values.push_back(kind == 0 ? r.u8() : r.s8());
        else if (width == 2)
            n.values.push_back(r.les16());
        else
            n.values.push_back(r.les32());
    }
    return n;
}

struct NodeName {
    const char* name;
    int tag;
};
constexpr NodeName kNodeNames[] = {{"bytes", 0x00},   {"shorts8", 0x01}, {"shorts", 0x11},
                                   {"ints8", 0x02},   {"ints16", 0x12},  {"ints", 0x22},
                                   {"objects", 0x03}};

class NodeParser {
public:
    explicit NodeParser(std::string_view t) : t_(t) {}
    DataNode node() {
        skip();
        std::string name;
        while (p_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[p_])))) name += t_[p_++];
        bool wide = false;
        if (p_ < t_.size() && t_[p_] == '!') {
            wide = true;
            ++p_;
        }
        int tag = -1;
        for (const NodeName& n : kNodeNames)
            if (name == n.name) tag = n.tag;
        if (tag < 0)
            fail("expected a data node kind (bytes, shorts8, shorts, ints8, ints16, ints, objects), got " +
                 (name.empty() ? found() : "\"" + name + "\""));
        DataNode n;
        n.tag = tag | (wide ? 8 : 0);
        skip();
        if ((tag & 7) >= 3) {
            expect('{');
            for (skip(); p_ < t_.size() && t_[p_] != '}'; skip()) n.children.push_back(node());
            expect('}');
        } else {
            expect('[');
            for (skip(); p_ < t_.size() && t_[p_] != ']'; skip()) {
                const std::string word = nextWord();
                try {
                    n.values.push_back(parseNumber(word));
                } catch (const KitError& e) {
                    fail(e.what());
                }
            }
            expect(']');
        }
        return n;
    }
    void end() {
        skip();
        if (p_ != t_.size()) fail("expected the end of the text after the data node, got " + found());
    }

private:
    void skip() {
        while (p_ < t_.size()) {
            if (t_[p_] == '#') {
                while (p_ < t_.size() && t_[p_] != '\n') ++p_;
            } else if (std::isspace(static_cast<unsigned char>(t_[p_])) || t_[p_] == ',') {
                ++p_;
            } else {
                break;
            }
        }
    }
    void expect(char c) {
        skip();
        if (p_ >= t_.size() || t_[p_] != c) fail(std::string("expected '") + c + "', got " + found());
        ++p_;
    }
    // The word at the position (up to a space, ',', a bracket or a comment),
    // consumed; at least one character.
    std::string nextWord() {
        const size_t from = p_;
        while (p_ < t_.size() && !std::isspace(static_cast<unsigned char>(t_[p_])) &&
               std::string_view(",[]{}#").find(t_[p_]) == std::string_view::npos)
            ++p_;
        if (p_ == from) ++p_;
        return std::string(t_.substr(from, p_ - from));
    }
    // What stands at the position, for an error text.
    std::string found() {
        if (p_ >= t_.size()) return "the end of the text";
        const size_t keep = p_;
        const std::string word = nextWord();
        p_ = keep;
        return "\"" + word + "\"";
    }
    [[noreturn]] void fail(const std::string& what) const {
        const size_t line = 1 + static_cast<size_t>(std::count(t_.begin(), t_.begin() + static_cast<std::ptrdiff_t>(p_), '\n'));
        throw KitError("data node text line " + std::to_string(line) + ": " + what);
    }
    std::string_view t_;
    size_t p_ = 0;
};

void formatInto(std::ostringstream& o, const DataNode& n, int indent) {
    std::string name = "tag" + std::to_string(n.tag & 0xF7);
    for (const NodeName& k : kNodeNames)
        if (k.tag == (n.tag & 0xF7)) name = k.name;
    o << std::string(static_cast<size_t>(indent), ' ') << name << ((n.tag & 8) ? "!" : "");
    if ((n.tag & 7) >= 3) {
        o << " {\n";
        for (const DataNode& c : n.children) formatInto(o, c, indent + 2);
        o << std::string(static_cast<size_t>(indent), ' ') << "}\n";
    } else {
        o << "[";
        for (size_t i = 0; i < n.values.size(); ++i) o << (i ? " " : "") << n.values[i];
        o << "]\n";
    }
}

}  // namespace

Bytes encodeNode(const DataNode& node) {
    ByteWriter w;
    encodeInto(w, node);
    return w.take();
}

DataNode decodeNode(ByteSpan data, FileLayout* layout) {
    ByteReader r(data);
    if (layout) layout->size = data.size();
    int index = 0;
    DataNode n = decodeFrom(r, layout, 1, index);
    need(r.atEnd(), "bytes after the data node");
    return n;
}

DataNode parseNodeText(std::string_view text) {
    NodeParser p(text);
    DataNode n = p.node();
    p.end();
    return n;
}

std::string formatNode(const DataNode& node) {
    std::ostringstream o;
    formatInto(o, node, 0);
    return o.str();
}

// --- level packs -------------------------------------------------------------------

Bytes encodeLayerHeader(const LayerGrid& g) {
    need(g.tiles.size() <= 255, "a layer has at most 255 tiles");
    ByteWriter w;
    w.le16(static_cast<uint32_t>(g.width));
    w.le16(static_cast<uint32_t>(g.height));
    w.u8(static_cast<uint32_t>(g.tiles.size()));
    for (uint16_t t : g.tiles) w.le16(t);
    return w.take();
}

std::vector<PackEntry> levelPackEntries(const std::array<std::optional<LayerGrid>, 5>& layers,
                                        const std::vector<Bytes>& extra, bool compress) {
    std::vector<PackEntry> out;
    for (const auto& layer : layers) {
        if (!layer) {
            for (int i = 0; i < 3; ++i) out.push_back(PackEntry{.empty = true});
            continue;
        }
        const size_t n = static_cast<size_t>(layer->width) * static_cast<size_t>(layer->height);
        need(layer->cells.size() == n && layer->flags.size() == n, "layer cells and flags must cover the grid");
        for (uint8_t c : layer->cells) need(c < layer->tiles.size(), "layer cell names no tile");
        out.push_back(PackEntry{.payload = layer->cells, .compress = compress});
        out.push_back(PackEntry{.payload = encodeLayerHeader(*layer)});
        out.push_back(PackEntry{.payload = layer->flags, .compress = compress});
    }
    for (const Bytes& e : extra) out.push_back(PackEntry{.payload = e});
    return out;
}

LayerGrid parseLayerHeader(ByteSpan header, FileLayout* layout) {
    ByteReader r(header);
    LayerGrid g;
    if (layout) {
        layout->size = header.size();
        layout->mark("size", 0);
    }
    g.width = r.les16();
    g.height = r.les16();
    const int n = r.u8();
    if (layout) {
        layout->fields.push_back(leField("width", -1, 0, 2, true, FieldRole::Count, g.width, g.width));
        layout->fields.push_back(leField("height", -1, 2, 2, true, FieldRole::Count, g.height, g.height));
        layout->fields.push_back(leField("tile-count", -1, 4, 1, false, FieldRole::Count, n, n));
        layout->mark("tiles", 5);
    }
    need(g.width >= 1 && g.height >= 1, "layer size below 1");
    for (int i = 0; i < n; ++i) g.tiles.push_back(r.le16());
    need(r.atEnd(), "bytes after the tile table");
    return g;
}

// --- content types ---------------------------------------------------------------

Bytes buildContentTypes(const std::vector<std::string>& types) {
    need(types.size() <= 255, "at most 255 content types");
    ByteWriter w;
    w.u8(static_cast<uint32_t>(types.size()));
    for (const std::string& t : types) {
        need(t.size() <= 255, "a content type is at most 255 bytes");
        w.u8(static_cast<uint32_t>(t.size()));
        w.raw(t);
    }
    return w.take();
}

std::vector<std::string> parseContentTypes(ByteSpan data, FileLayout* layout) {
    ByteReader r(data);
    if (layout) {
        layout->size = data.size();
        layout->mark("count", 0);
    }
    const int c = r.u8();
    if (layout) layout->fields.push_back(leField("count", -1, 0, 1, false, FieldRole::Count, c, c));
    std::vector<std::string> out;
    for (int i = 0; i < c; ++i) {
        const size_t at = r.pos();
        if (layout) layout->mark("type[" + std::to_string(i) + "]", at);
        const int len = r.u8();
        if (layout) layout->fields.push_back(leField("type.length", i, at, 1, false, FieldRole::Length, len, len));
        ByteSpan b = r.take(static_cast<size_t>(len));
        out.emplace_back(b.begin(), b.end());
    }
    need(r.atEnd(), "bytes after the content types");
    return out;
}

// --- progress record -----------------------------------------------------------------

namespace {

struct ProgressField {
    std::string name;
    size_t offset;
    int width;
    bool isSigned;
};

std::vector<ProgressField> progressFields() {
    std::vector<ProgressField> f = {
        {"kept", 0, 1, false},         {"option", 1, 1, false},        {"settings", 2, 1, false},
        {"vibration", 3, 1, false},    {"last-difficulty", 191, 1, true}, {"slot-bits", 192, 1, false},
        {"completed", 193, 1, false},  {"progress-bits", 194, 4, true}, {"flags", 198, 1, false},
    };
    for (int n = 1; n <= 3; ++n) {
        const size_t b = static_cast<size_t>(n - 1) * 62;
        const std::string s = "slot" + std::to_string(n) + ".";
        f.push_back({s + "var0", b + 4, 1, true});
        f.push_back({s + "var9", b + 5, 1, true});
        f.push_back({s + "var5", b + 6, 1, true});
        f.push_back({s + "byte7", b + 7, 1, false});
        f.push_back({s + "var1", b + 8, 2, false});
        f.push_back({s + "byte10", b + 10, 1, false});
        for (int st = 0; st <= 10; ++st)
            f.push_back({s + "stage" + std::to_string(st) + ".best", b + 12 + 5 * static_cast<size_t>(st), 4, true});
    }
    return f;
}

void putBE(Bytes& b, size_t at, int width, int64_t v) {
    for (int i = 0; i < width; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * (width - 1 - i)));
}

int64_t getBE(ByteSpan b, size_t at, int width, bool isSigned) {
    uint64_t v = 0;
    for (int i = 0; i < width; ++i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    if (isSigned) {
        const int shift = 64 - 8 * width;
        return static_cast<int64_t>(v << shift) >> shift;
    }
    return static_cast<int64_t>(v);
}

}  // namespace

Bytes buildProgress(const std::map<std::string, int64_t>& fields) {
    Bytes b(kProgressRecordBytes, 0);
    b[1] = 1;
    b[191] = 2;
    b[198] = 6;
    for (int n = 0; n < 3; ++n) {
        b[static_cast<size_t>(n) * 62 + 5] = 10;
        b[static_cast<size_t>(n) * 62 + 6] = 2;
        b[static_cast<size_t>(n) * 62 + 10] = 255;
    }
    const std::vector<ProgressField> known = progressFields();
    for (const auto& field : fields) {
        const std::string& name = field.first;
        const int64_t value = field.second;
        if (name.rfind("byte", 0) == 0 && name.size() > 4 && std::isdigit(static_cast<unsigned char>(name[4]))) {
            const size_t at = static_cast<size_t>(parseNumber(name.substr(4), "a byte number after \"byte\"", 0, INT32_MAX));
            need(at < kProgressRecordBytes, "progress byte out of range: " + name);
            b[at] = static_cast<uint8_t>(value);
            continue;
        }
        auto it = std::find_if(known.begin(), known.end(), [&](const ProgressField& f) { return f.name == name; });
        need(it != known.end(), "unknown progress field: " + name);
        putBE(b, it->offset, it->width, value);
    }
    return b;
}

std::map<std::string, int64_t> parseProgress(ByteSpan data, FileLayout* layout) {
    need(data.size() == kProgressRecordBytes, "a progress record is 265 bytes");
    std::map<std::string, int64_t> out;
    if (layout) {
        layout->size = data.size();
        for (int n = 0; n < 3; ++n) layout->mark("slot" + std::to_string(n + 1), static_cast<size_t>(n) * 62);
        layout->mark("global", 186);
    }
    for (const ProgressField& f : progressFields()) {
        out[f.name] = getBE(data, f.offset, f.width, f.isSigned);
        if (layout && f.name == "last-difficulty") {
            FileField ff = leField(f.name, -1, f.offset, 1, true, FieldRole::Marker, out[f.name], 0);
            ff.alternatives = {0, 4, -1, 127};
            layout->fields.push_back(ff);
        }
    }
    return out;
}

}  // namespace kit
