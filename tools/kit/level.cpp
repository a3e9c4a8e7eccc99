// Level pack entries: tile layers, object list, script table, map regions.
#include "tools/kit/level.h"

#include <algorithm>
#include <sstream>

namespace kit {

const std::array<int, 32> kScriptCommandLengths = {4, 4, 8, 4, 4, 2, 2, 2, 2, 0, 2, 2, 4, 4, 6, 10,
                                                   4, 4, 2, 4, 6, 2, 0, 4, 2, 0, 2, 2, 0, 0, 2, 0};

int scriptOperandLength(int opcode) {
    switch (opcode) {
    case 11: case 12: case 21: case 31: case 41:
    case 23: case 24: case 43: case 44:
    case 34: case 38:
        return 4;
    case 13: return 5;
    case 22: case 32: case 42: return 1;
    case 35: case 39: return 6;
    case 36: return 8;
    case 37: return 2;
    default: break;
    }
    if (opcode >= 100 && opcode <= 131) return kScriptCommandLengths[static_cast<size_t>(opcode - 100)];
    if (opcode < 0 || opcode > 131) return -1;
    return 0;
}

namespace {

std::string at(const char* what, size_t pos) { return std::string(what) + " at byte " + std::to_string(pos); }

}  // namespace

// --- Tile layers ---------------------------------------------------------

std::array<Bytes, 3> encodeTileLayer(const TileLayer& layer) {
    if (layer.width < 0 || layer.height < 0 || layer.width > 32767 || layer.height > 32767 ||
        layer.cells.size() != static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height))
        throw KitError("tile layer: size and cells disagree");
    std::vector<uint16_t> table;
    ByteWriter cells, header, flags;
    for (uint16_t v : layer.cells) {
        // The empty cell keeps its bits in the table; any other cell puts
        // its mirror bits in the flag byte.
        uint16_t tile = v == kCellEmpty ? v : static_cast<uint16_t>(v & 0x3FFF);
        uint8_t flag = v == kCellEmpty ? 0 : static_cast<uint8_t>(v >> 14);
        auto it = std::find(table.begin(), table.end(), tile);
        if (it == table.end()) {
            if (table.size() == 255) throw KitError("tile layer: more than 255 distinct tile values");
            table.push_back(tile);
            it = table.end() - 1;
        }
        cells.u8(static_cast<uint32_t>(it - table.begin()));
        flags.u8(flag);
    }
    header.le16(static_cast<uint32_t>(layer.width));
    header.le16(static_cast<uint32_t>(layer.height));
    header.u8(static_cast<uint32_t>(table.size()));
    for (uint16_t t : table) header.le16(t);
    return {cells.take(), header.take(), flags.take()};
}

TileLayer decodeTileLayer(ByteSpan cells, ByteSpan header, ByteSpan flags) {
    ByteReader h(header);
    TileLayer l;
    l.width = h.les16();
    l.height = h.les16();
    if (l.width < 0 || l.height < 0) throw KitError("tile layer: negative size");
    size_t n = h.u8();
    std::vector<uint16_t> table(n);
    for (auto& t : table) t = h.le16();
    size_t count = static_cast<size_t>(l.width) * static_cast<size_t>(l.height);
    if (cells.size() != count || flags.size() != count) throw KitError("tile layer: cell or flag bytes do not fill the grid");
    for (size_t i = 0; i < count; ++i) {
        if (cells[i] >= n) throw KitError("tile layer: cell " + std::to_string(i) + " indexes past the tile table");
        uint16_t v = table[cells[i]];
        if (flags[i]) v = static_cast<uint16_t>(v | (flags[i] << 14));
        l.cells.push_back(v);
    }
    return l;
}

// --- Object list ---------------------------------------------------------

Bytes encodeLevelObjects(const std::vector<LevelRecord>& records, FileLayout* layout) {
    ByteWriter w;
    int i = 0;
    for (const LevelRecord& r : records) {
        if (r.values.empty() || r.values.size() > 127) throw KitError("object record: 1 to 127 values");
        if (layout) {
            layout->mark("record[" + std::to_string(i) + "]", w.size());
            layout->fields.push_back(FileField::make("record.count", i, w.size(), 1, false, true, FieldRole::Count,
                                           static_cast<int64_t>(r.values.size()), static_cast<int64_t>(r.values.size())));
        }
        w.u8(static_cast<uint32_t>(r.values.size()));
        for (int16_t v : r.values) w.le16(static_cast<uint16_t>(v));
        ++i;
    }
    if (layout) {
        layout->mark("end", w.size());
        layout->size = w.size();
    }
    return w.take();
}

std::vector<LevelRecord> parseLevelObjects(ByteSpan data, FileLayout* layout) {
    std::vector<LevelRecord> out;
    ByteReader r(data);
    while (!r.atEnd()) {
        size_t start = r.pos();
        int c = r.s8();
        if (c < 1 || c > 24) throw KitError(at("object record: value count out of 1-24", start));
        if (r.remaining() < 2 * static_cast<size_t>(c)) throw KitError(at("object record: runs past the end", start));
        LevelRecord rec;
        for (int k = 0; k < c; ++k) rec.values.push_back(r.les16());
        int type = rec.values[0];
        size_t need = type == 2000 ? 6 : type == 2001 ? 7 : type == 2002 ? 11 : 7;
        if (rec.values.size() < need)
            throw KitError(at("object record: too few values for its type", start));
        out.push_back(std::move(rec));
    }
    if (layout) encodeLevelObjects(out, layout);
    return out;
}

std::string describeLevelObjects(const std::vector<LevelRecord>& records) {
    std::ostringstream o;
    o << "# " << records.size() << " records\n";
    for (const LevelRecord& r : records) {
        o << "record";
        for (int16_t v : r.values) o << ' ' << v;
        o << '\n';
    }
    return o.str();
}

// --- Script table --------------------------------------------------------

Bytes encodeLevelScripts(const std::vector<LevelScript>& scripts, FileLayout* layout) {
    if (scripts.size() > 127) throw KitError("script table: at most 127 scripts");
    ByteWriter w;
    auto add = [&](FileField f) {
        if (layout) layout->fields.push_back(std::move(f));
    };
    auto mark = [&](std::string name) {
        if (layout) layout->mark(std::move(name), w.size());
    };
    mark("count");
    add(FileField::make("script-count", -1, 0, 1, false, true, FieldRole::Count, static_cast<int64_t>(scripts.size()),
              static_cast<int64_t>(scripts.size())));
    w.u8(static_cast<uint32_t>(scripts.size()));
    int si = 0, ri = 0, ki = 0, oi = 0;
    for (const LevelScript& s : scripts) {
        if (s.records.size() > 127) throw KitError("script: at most 127 command records");
        mark("script[" + std::to_string(si) + "]");
        w.le16(static_cast<uint16_t>(s.id));
        add(FileField::make("script.records", si, w.size(), 1, false, true, FieldRole::Count, static_cast<int64_t>(s.records.size()),
                  static_cast<int64_t>(s.records.size())));
        w.u8(static_cast<uint32_t>(s.records.size()));
        w.le16(0);
        for (const ScriptRecord& rec : s.records) {
            mark("record[" + std::to_string(ri) + "]");
            if (rec.kind < 0 || rec.kind > 255) throw KitError("command record: kind is a byte");
            w.u8(static_cast<uint32_t>(rec.kind));
            w.u8(0);
            if (rec.kind == 2) w.le16(rec.target);
            if (rec.keyframes.size() > 32767) throw KitError("command record: too many keyframes");
            add(FileField::make("record.keyframes", ri, w.size(), 2, false, true, FieldRole::Count,
                      static_cast<int64_t>(rec.keyframes.size()), static_cast<int64_t>(rec.keyframes.size())));
            w.le16(static_cast<uint16_t>(rec.keyframes.size()));
            for (const ScriptKeyframe& k : rec.keyframes) {
                mark("keyframe[" + std::to_string(ki) + "]");
                w.le16(static_cast<uint16_t>(k.frame));
                if (k.ops.size() > 127) throw KitError("keyframe: at most 127 operations");
                add(FileField::make("keyframe.ops", ki, w.size(), 1, false, true, FieldRole::Count, static_cast<int64_t>(k.ops.size()),
                          static_cast<int64_t>(k.ops.size())));
                w.u8(static_cast<uint32_t>(k.ops.size()));
                for (const ScriptOp& op : k.ops) {
                    int len = scriptOperandLength(op.opcode);
                    if (len < 0) throw KitError("operation " + std::to_string(op.opcode) + " is not part of the format");
                    if (op.operands.size() != static_cast<size_t>(len))
                        throw KitError("operation " + std::to_string(op.opcode) + " takes " + std::to_string(len) +
                                       " operand bytes, not " + std::to_string(op.operands.size()));
                    if (op.opcode == 13 && op.operands[0] >= s.records.size())
                        throw KitError("operation 13 names record " + std::to_string(op.operands[0]) + " of a script with " +
                                       std::to_string(s.records.size()));
                    FileField f = FileField::make("op.opcode", oi, w.size(), 1, false, false, FieldRole::Marker, op.opcode, 0);
                    f.alternatives = {132, 200, 255};
                    add(f);
                    w.u8(static_cast<uint32_t>(op.opcode));
                    if (op.opcode == 13)
                        add(FileField::make("op13.record", oi, w.size(), 1, false, false, FieldRole::Index, op.operands[0],
                                  static_cast<int64_t>(s.records.size())));
                    w.raw(op.operands);
                    ++oi;
                }
                ++ki;
            }
            ++ri;
        }
        ++si;
    }
    if (layout) {
        layout->mark("end", w.size());
        layout->size = w.size();
    }
    return w.take();
}

std::vector<LevelScript> parseLevelScripts(ByteSpan data, FileLayout* layout) {
    ByteReader r(data);
    std::vector<LevelScript> out;
    try {
        int n = r.s8();
        if (n < 0) throw KitError("script table: negative script count");
        for (int i = 0; i < n; ++i) {
            LevelScript s;
            s.id = r.les16();
            int c = r.s8();
            if (c < 0) throw KitError(at("script: negative record count", r.pos() - 1));
            r.skip(2);
            for (int j = 0; j < c; ++j) {
                ScriptRecord rec;
                rec.kind = r.u8();
                r.skip(1);
                if (rec.kind == 2) rec.target = r.le16();
                int k = r.les16();
                if (k < 0) throw KitError(at("command record: negative keyframe count", r.pos() - 2));
                for (int q = 0; q < k; ++q) {
                    ScriptKeyframe kf;
                    kf.frame = r.les16();
                    int ops = r.s8();
                    if (ops < 0) throw KitError(at("keyframe: negative operation count", r.pos() - 1));
                    for (int o = 0; o < ops; ++o) {
                        ScriptOp op;
                        op.opcode = r.u8();
                        int len = scriptOperandLength(op.opcode);
                        if (len < 0) throw KitError(at("unknown opcode", r.pos() - 1));
                        ByteSpan b = r.take(static_cast<size_t>(len));
                        op.operands.assign(b.begin(), b.end());
                        if (op.opcode == 13 && op.operands[0] >= c)
                            throw KitError(at("operation 13 names a record beyond its script", r.pos() - 5));
                        kf.ops.push_back(std::move(op));
                    }
                    rec.keyframes.push_back(std::move(kf));
                }
                s.records.push_back(std::move(rec));
            }
            out.push_back(std::move(s));
        }
    } catch (const KitError& e) {
        throw KitError(std::string("script table: ") + e.what());
    }
    if (!r.atEnd()) throw KitError(at("script table: bytes after the last script", r.pos()));
    if (layout) encodeLevelScripts(out, layout);
    return out;
}

namespace {

int16_t le16At(const Bytes& b, size_t i) { return static_cast<int16_t>(b[i] | b[i + 1] << 8); }
int32_t le32At(const Bytes& b, size_t i) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[i]) | static_cast<uint32_t>(b[i + 1]) << 8 |
                                static_cast<uint32_t>(b[i + 2]) << 16 | static_cast<uint32_t>(b[i + 3]) << 24);
}

}  // namespace

std::string scriptOperandShape(int opcode) {
    switch (opcode) {
    case 13: return "bhh";
    case 22: case 32: case 42: return "b";
    case 23: case 24: case 43: case 44: return "i";
    case 102: return "hih";
    case 115: return "hihh";
    default: break;
    }
    int len = scriptOperandLength(opcode);
    return len <= 0 ? std::string() : std::string(static_cast<size_t>(len / 2), 'h');
}

std::string describeLevelScripts(const std::vector<LevelScript>& scripts) {
    std::ostringstream o;
    o << "# " << scripts.size() << " scripts\n";
    for (const LevelScript& s : scripts) {
        o << "script " << s.id << '\n';
        for (const ScriptRecord& rec : s.records) {
            o << "  target ";
            if (rec.kind == 2) o << "actor " << rec.target;
            else if (rec.kind == 1) o << "camera";
            else o << "none";
            if (rec.kind > 2) o << "  # kind " << rec.kind;
            o << '\n';
            for (const ScriptKeyframe& k : rec.keyframes) {
                o << "    key " << k.frame << '\n';
                for (const ScriptOp& op : k.ops) {
                    o << "      op " << op.opcode;
                    size_t p = 0;
                    for (char c : scriptOperandShape(op.opcode)) {
                        if (c == 'b') o << ' ' << (op.opcode == 13 ? int(op.operands[p]) : int(int8_t(op.operands[p]))), p += 1;
                        else if (c == 'h') o << ' ' << le16At(op.operands, p), p += 2;
                        else o << ' ' << le32At(op.operands, p), p += 4;
                    }
                    o << '\n';
                }
            }
        }
    }
    return o.str();
}

// --- Map regions ---------------------------------------------------------

Bytes encodeMapRegions(const std::vector<MapRegion>& regions, FileLayout* layout) {
    if (regions.size() > 127) throw KitError("region table: at most 127 regions");
    ByteWriter w;
    if (layout) {
        layout->mark("count", 0);
        layout->fields.push_back(FileField::make("count", -1, 0, 1, true, true, FieldRole::Count, static_cast<int64_t>(regions.size()),
                                       static_cast<int64_t>(regions.size())));
    }
    w.u8(static_cast<uint32_t>(regions.size()));
    int i = 0;
    for (const MapRegion& g : regions) {
        if (g.x < 0 || g.x > 65535 || g.y < 0 || g.y > 65535 || g.w < 0 || g.w > 255 || g.h < 0 || g.h > 255 ||
            g.columns < 1 || g.columns > 255 || g.rows < 1 || g.rows > 255 ||
            g.cells.size() != static_cast<size_t>(g.columns * g.rows))
            throw KitError("region " + std::to_string(i) + ": fields out of range or grid incomplete");
        if (layout) layout->mark("region[" + std::to_string(i) + "]", w.size());
        w.be16(static_cast<uint32_t>(g.x));
        w.be16(static_cast<uint32_t>(g.y));
        w.u8(static_cast<uint32_t>(g.w));
        w.u8(static_cast<uint32_t>(g.h));
        if (layout) {
            layout->fields.push_back(FileField::make("region.columns", i, w.size(), 1, true, false, FieldRole::Count, g.columns, g.columns));
            layout->fields.push_back(FileField::make("region.rows", i, w.size() + 1, 1, true, false, FieldRole::Count, g.rows, g.rows));
        }
        w.u8(static_cast<uint32_t>(g.columns));
        w.u8(static_cast<uint32_t>(g.rows));
        if (layout) layout->mark("region-cells[" + std::to_string(i) + "]", w.size());
        for (uint16_t v : g.cells) w.be16(v);
        ++i;
    }
    if (layout) {
        layout->mark("end", w.size());
        layout->size = w.size();
    }
    return w.take();
}

std::vector<MapRegion> parseMapRegions(ByteSpan data, FileLayout* layout) {
    ByteReader r(data);
    std::vector<MapRegion> out;
    try {
        int n = r.s8();
        for (int i = 0; i < n; ++i) {
            MapRegion g;
            g.x = r.be16();
            g.y = r.be16();
            g.w = r.u8();
            g.h = r.u8();
            g.columns = r.u8();
            g.rows = r.u8();
            if (g.columns == 0 || g.rows == 0) throw KitError(at("region grid of 0 columns or rows", r.pos() - 2));
            for (int k = 0; k < g.columns * g.rows; ++k) g.cells.push_back(r.be16());
            out.push_back(std::move(g));
        }
    } catch (const KitError& e) {
        throw KitError(std::string("region table: ") + e.what());
    }
    if (!r.atEnd()) throw KitError(at("region table: bytes after the last region", r.pos()));
    if (layout) encodeMapRegions(out, layout);
    return out;
}

namespace {

std::string cellToken(uint16_t v) {
    if (v == kCellEmpty) return ".";
    std::string t = std::to_string(v & 0x3FFF);
    if ((v & 0xC000) == 0xC000) t += '%';
    else if (v & kCellMirrorH) t += '<';
    else if (v & kCellMirrorV) t += '^';
    return t;
}

}  // namespace

std::string describeMapRegions(const std::vector<MapRegion>& regions) {
    std::ostringstream o;
    o << "regions\n";
    for (const MapRegion& g : regions) {
        o << "region " << g.x << ' ' << g.y << ' ' << g.w << ' ' << g.h << ' ' << g.columns << ' ' << g.rows
          << "  # rect {" << g.x * 36 << ", " << g.y * 36 << ", " << (g.x + g.w) * 36 - 36 << ", " << (g.y + g.h) * 36 - 36
          << "}\n";
        for (int r = 0; r < g.rows; ++r) {
            for (int c = 0; c < g.columns; ++c) o << (c ? " " : "  ") << cellToken(g.cells[static_cast<size_t>(c + r * g.columns)]);
            o << '\n';
        }
    }
    return o.str();
}

// --- Entries -------------------------------------------------------------

std::map<int, Bytes> levelEntries(const LevelModel& m) {
    std::map<int, Bytes> out;
    for (int l = 0; l < 5; ++l)
        if (m.layers[static_cast<size_t>(l)]) {
            auto e = encodeTileLayer(*m.layers[static_cast<size_t>(l)]);
            for (int k = 0; k < 3; ++k) out[3 * l + k] = std::move(e[static_cast<size_t>(k)]);
        }
    out[kLevelObjectsEntry] = encodeLevelObjects(m.objects);
    if (m.scripts) out[kLevelScriptsEntry] = encodeLevelScripts(*m.scripts);
    if (m.regions) out[kLevelRegionsEntry] = encodeMapRegions(*m.regions);
    return out;
}

}  // namespace kit
