// The level description text (format in level.h) compiled into the model.
#include "tools/kit/level.h"

#include <charconv>
#include <sstream>

namespace kit {

namespace {

struct Lines {
    std::vector<std::string> lines;
    size_t next = 0;
    size_t number() const { return next; }  // 1-based number of the line last taken
    bool more() const { return next < lines.size(); }
    std::string take() { return lines[next++]; }
};

[[noreturn]] void fail(size_t line, const std::string& what) {
    throw KitError("level description line " + std::to_string(line) + ": " + what);
}

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

std::string stripComment(const std::string& s) {
    size_t hash = s.find('#');
    return hash == std::string::npos ? s : s.substr(0, hash);
}

int64_t number(size_t line, const std::string& w, int64_t lo, int64_t hi) {
    int64_t v = 0;
    const char* b = w.data();
    const char* e = w.data() + w.size();
    int base = 10;
    bool neg = false;
    if (b != e && *b == '-') neg = true, ++b;
    if (e - b > 2 && b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) base = 16, b += 2;
    auto [p, ec] = std::from_chars(b, e, v, base);
    if (ec != std::errc() || p != e || b == e) fail(line, "'" + w + "' is not a number");
    if (neg) v = -v;
    if (v < lo || v > hi) fail(line, "'" + w + "' out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    return v;
}

uint16_t mirrorMark(char c) {
    switch (c) {
    case '<': return kCellMirrorH;
    case '^': return kCellMirrorV;
    case '%': return kCellMirrorH | kCellMirrorV;
    default: return 0;
    }
}

// "N", "N<", "N^", "N%" or "."
uint16_t artCell(size_t line, std::string w) {
    if (w == ".") return kCellEmpty;
    uint16_t mirror = 0;
    if (!w.empty() && mirrorMark(w.back())) mirror = mirrorMark(w.back()), w.pop_back();
    return static_cast<uint16_t>(number(line, w, 0, 0x1FFF) | mirror);
}

std::vector<uint16_t> collisionRow(size_t line, const std::string& s) {
    std::vector<uint16_t> out;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r') continue;
        uint16_t v;
        if (c == '.') v = kCellEmpty;
        else if (c >= '0' && c <= '9') v = static_cast<uint16_t>(c - '0');
        else if (c >= 'a' && c <= 'v') v = static_cast<uint16_t>(10 + c - 'a');
        else fail(line, std::string("'") + c + "' is not a tile class");
        if (i + 1 < s.size() && mirrorMark(s[i + 1])) {
            if (v == kCellEmpty) fail(line, "a void cell has no mirror");
            v = static_cast<uint16_t>(v | mirrorMark(s[++i]));
        }
        out.push_back(v);
    }
    return out;
}

void put16(Bytes& b, int64_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

ScriptOp assemble(size_t line, const std::vector<std::string>& w) {
    ScriptOp op;
    op.opcode = static_cast<int>(number(line, w[1], 0, 255));
    int len = scriptOperandLength(op.opcode);
    if (len < 0) fail(line, "opcode " + w[1] + " is not part of the format");
    const std::string shape = scriptOperandShape(op.opcode);
    if (w.size() - 2 != shape.size())
        fail(line, "opcode " + w[1] + " takes " + std::to_string(shape.size()) + " operands");
    for (size_t k = 0; k < shape.size(); ++k) {
        const std::string& a = w[k + 2];
        switch (shape[k]) {
        case 'b':
            // The record index of 13 is checked once its script is complete.
            op.operands.push_back(static_cast<uint8_t>(number(line, a, op.opcode == 13 ? 0 : -128, 255)));
            break;
        case 'h': put16(op.operands, number(line, a, -32768, 65535)); break;
        default: {
            int64_t v = number(line, a, INT32_MIN, UINT32_MAX);
            for (int s = 0; s < 32; s += 8) op.operands.push_back(static_cast<uint8_t>(v >> s));
        }
        }
    }
    if (op.operands.size() != static_cast<size_t>(len)) fail(line, "operands do not fill the operation's length");
    return op;
}

}  // namespace

LevelModel parseLevelDescription(std::string_view text) {
    Lines in;
    {
        std::string all(text);
        std::istringstream s(all);
        std::string l;
        while (std::getline(s, l)) in.lines.push_back(l);
    }
    LevelModel m;
    LevelScript* script = nullptr;
    ScriptRecord* record = nullptr;
    ScriptKeyframe* key = nullptr;
    auto scripts = [&]() -> std::vector<LevelScript>& {
        if (!m.scripts) m.scripts.emplace();
        return *m.scripts;
    };
    auto regions = [&]() -> std::vector<MapRegion>& {
        if (!m.regions) m.regions.emplace();
        return *m.regions;
    };
    auto addRecord = [&](size_t line, const std::vector<std::string>& w, int type, size_t from, size_t count) {
        if (w.size() != from + count) fail(line, w[0] + " takes " + std::to_string(count) + " values");
        LevelRecord r;
        if (type >= 0) r.values.push_back(static_cast<int16_t>(type));
        for (size_t k = from; k < w.size(); ++k) r.values.push_back(static_cast<int16_t>(number(line, w[k], -32768, 65535)));
        m.objects.push_back(std::move(r));
    };
    while (in.more()) {
        std::string raw = in.take();
        const size_t line = in.number();
        std::vector<std::string> w = words(stripComment(raw));
        if (w.empty()) continue;
        const std::string& d = w[0];
        if (d == "layer") {
            if (w.size() != 4) fail(line, "layer L WIDTH HEIGHT");
            int l = static_cast<int>(number(line, w[1], 0, 4));
            TileLayer t;
            t.width = static_cast<int>(number(line, w[2], 0, 32767));
            t.height = static_cast<int>(number(line, w[3], 0, 32767));
            if (m.layers[static_cast<size_t>(l)]) fail(line, "layer " + w[1] + " given twice");
            for (int r = 0; r < t.height; ++r) {
                if (!in.more()) fail(line, "layer " + w[1] + " has fewer rows than its height");
                std::string row = stripComment(in.take());
                std::vector<uint16_t> cells;
                if (l == 4) {
                    cells = collisionRow(in.number(), row);
                } else {
                    for (const std::string& tok : words(row)) cells.push_back(artCell(in.number(), tok));
                }
                if (cells.size() != static_cast<size_t>(t.width))
                    fail(in.number(), "row has " + std::to_string(cells.size()) + " cells, the layer " + w[2]);
                t.cells.insert(t.cells.end(), cells.begin(), cells.end());
            }
            m.layers[static_cast<size_t>(l)] = std::move(t);
        } else if (d == "object") {
            if (w.size() < 8 || w.size() > 25) fail(line, "object TYPE ID X Y MASK ANIM FLAGS [P7 ...], at most 24 values");
            addRecord(line, w, -1, 1, w.size() - 1);
        } else if (d == "rect") {
            addRecord(line, w, 2000, 1, 5);
        } else if (d == "link") {
            addRecord(line, w, 2001, 1, 6);
        } else if (d == "item") {
            addRecord(line, w, 2002, 1, 10);
        } else if (d == "record") {
            if (w.size() < 2 || w.size() > 128) fail(line, "record V0 [V1 ...]");
            addRecord(line, w, -1, 1, w.size() - 1);
        } else if (d == "script") {
            if (w.size() != 2) fail(line, "script ID");
            scripts().push_back(LevelScript{static_cast<int16_t>(number(line, w[1], -32768, 32767)), {}});
            script = &scripts().back();
            record = nullptr;
            key = nullptr;
        } else if (d == "target") {
            if (!script) fail(line, "target outside a script");
            ScriptRecord r;
            if (w.size() == 2 && w[1] == "none") r.kind = 0;
            else if (w.size() == 2 && w[1] == "camera") r.kind = 1;
            else if (w.size() == 3 && w[1] == "actor") r.kind = 2, r.target = static_cast<uint16_t>(number(line, w[2], 0, 65535));
            else if (w.size() == 3 && w[1] == "kind") r.kind = static_cast<int>(number(line, w[2], 0, 255));
            else fail(line, "target none|camera|actor ID");
            script->records.push_back(std::move(r));
            record = &script->records.back();
            key = nullptr;
        } else if (d == "key") {
            if (!record) fail(line, "key outside a target");
            if (w.size() != 2) fail(line, "key FRAME");
            record->keyframes.push_back(ScriptKeyframe{static_cast<int16_t>(number(line, w[1], -32768, 32767)), {}});
            key = &record->keyframes.back();
        } else if (d == "op") {
            if (!key) fail(line, "op outside a keyframe");
            if (w.size() < 2) fail(line, "op OPCODE [OPERAND ...]");
            key->ops.push_back(assemble(line, w));
        } else if (d == "regions") {
            regions();
        } else if (d == "region") {
            if (w.size() != 7) fail(line, "region X Y W H COLUMNS ROWS");
            MapRegion g;
            g.x = static_cast<int>(number(line, w[1], 0, 65535));
            g.y = static_cast<int>(number(line, w[2], 0, 65535));
            g.w = static_cast<int>(number(line, w[3], 0, 255));
            g.h = static_cast<int>(number(line, w[4], 0, 255));
            g.columns = static_cast<int>(number(line, w[5], 1, 255));
            g.rows = static_cast<int>(number(line, w[6], 1, 255));
            for (int r = 0; r < g.rows; ++r) {
                if (!in.more()) fail(line, "region has fewer rows than its grid");
                std::vector<std::string> toks = words(stripComment(in.take()));
                if (toks.size() != static_cast<size_t>(g.columns)) fail(in.number(), "region row needs " + w[5] + " cells");
                for (const std::string& t : toks) g.cells.push_back(artCell(in.number(), t));
            }
            regions().push_back(std::move(g));
        } else {
            fail(line, "unknown directive '" + d + "'");
        }
    }
    // Operation 13 names a record of its own script.
    if (m.scripts)
        for (const LevelScript& s : *m.scripts)
            for (const ScriptRecord& r : s.records)
                for (const ScriptKeyframe& k : r.keyframes)
                    for (const ScriptOp& op : k.ops)
                        if (op.opcode == 13 && op.operands[0] >= s.records.size())
                            throw KitError("level description: script " + std::to_string(s.id) + ": operation 13 names record " +
                                           std::to_string(op.operands[0]) + " of " + std::to_string(s.records.size()));
    return m;
}

}  // namespace kit
