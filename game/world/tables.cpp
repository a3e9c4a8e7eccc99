// Validation walks of the level tables (see tables.h).
#include "game/world/tables.h"

namespace game {

const int kScriptCommandLengths[32] = {4, 4, 8, 4, 4, 2, 2, 2, 2, 0, 2, 2, 4, 4, 6, 10,
                                       4, 4, 2, 4, 6, 2, 0, 4, 2, 0, 2, 2, 0, 0, 2, 0};

int scriptOperandBytes(int opcode) {
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
    if (opcode >= 100 && opcode <= 131) return kScriptCommandLengths[opcode - 100];
    if (opcode < 0 || opcode > 131) return -1;
    return 0;
}

namespace {

bool fail(std::string* error, std::string what, size_t at) {
    if (error) *error = what + " at byte " + std::to_string(at);
    return false;
}

int s8(ByteView b, size_t i) { return static_cast<int8_t>(b[i]); }
int les16(ByteView b, size_t i) { return static_cast<int16_t>(b[i] | b[i + 1] << 8); }
int le16(ByteView b, size_t i) { return b[i] | b[i + 1] << 8; }

}  // namespace

bool checkLevelObjects(ByteView b, ObjectListShape* shape, std::string* error) {
    ObjectListShape s;
    size_t pos = 0;
    while (pos < b.size()) {
        int c = s8(b, pos);
        if (c < 1 || c > kMaxRecordValues) return fail(error, "record of " + std::to_string(c) + " values", pos);
        if (b.size() - pos - 1 < 2 * static_cast<size_t>(c)) return fail(error, "record runs past the list", pos);
        int type = les16(b, pos + 1);
        int need = type == 2000 ? 6 : type == 2001 ? 7 : type == 2002 ? 11 : 7;
        if (c < need)
            return fail(error, "record of type " + std::to_string(type) + " with " + std::to_string(c) + " values", pos);
        if (type >= 2000 && type <= 2002) {
            ++s.settingsRecords;
        } else {
            ++s.objectRecords;
            s.objectValues += c;
            if (s.objectValues > kMaxObjectValues) return fail(error, "more than 32767 object values", pos);
        }
        pos += 1 + 2 * static_cast<size_t>(c);
    }
    if (shape) *shape = s;
    return true;
}

bool checkScriptTable(ByteView b, std::vector<ScriptShape>* shape, std::string* error) {
    std::vector<ScriptShape> out;
    size_t pos = 0;
    auto need = [&](size_t n) { return b.size() - pos >= n; };
    if (b.empty()) {
        if (shape) shape->clear();
        return true;
    }
    int n = s8(b, 0);
    if (n < 0) return fail(error, "negative script count", 0);
    pos = 1;
    for (int i = 0; i < n; ++i) {
        if (!need(5)) return fail(error, "script " + std::to_string(i) + " runs past the table", pos);
        ScriptShape sc;
        sc.id = les16(b, pos);
        int c = s8(b, pos + 2);
        if (c < 0) return fail(error, "negative record count", pos + 2);
        pos += 5;
        for (int j = 0; j < c; ++j) {
            ScriptRecordShape r;
            r.start = static_cast<int>(pos);
            if (!need(4)) return fail(error, "command record runs past the table", pos);
            r.kind = b[pos];
            r.firstKeyframe = r.kind == 2 ? 6 : 4;
            if (!need(static_cast<size_t>(r.firstKeyframe))) return fail(error, "command record runs past the table", pos);
            if (r.kind == 2) r.target = le16(b, pos + 2);
            int k = les16(b, pos + static_cast<size_t>(r.firstKeyframe) - 2);
            if (k < 0) return fail(error, "negative keyframe count", pos);
            pos += static_cast<size_t>(r.firstKeyframe);
            for (int q = 0; q < k; ++q) {
                if (!need(3)) return fail(error, "keyframe runs past the table", pos);
                int ops = s8(b, pos + 2);
                if (ops < 0) return fail(error, "negative operation count", pos + 2);
                pos += 3;
                for (int o = 0; o < ops; ++o) {
                    if (!need(1)) return fail(error, "operation runs past the table", pos);
                    int op = b[pos];
                    int len = scriptOperandBytes(op);
                    if (len < 0) return fail(error, "opcode " + std::to_string(op), pos);
                    if (!need(1 + static_cast<size_t>(len))) return fail(error, "operands run past the table", pos);
                    if (op == 13 && b[pos + 1] >= c)
                        return fail(error, "operation 13 names record " + std::to_string(b[pos + 1]) + " of a script of " +
                                               std::to_string(c),
                                    pos);
                    pos += 1 + static_cast<size_t>(len);
                }
            }
            r.length = static_cast<int>(pos) - r.start;
            sc.records.push_back(r);
        }
        out.push_back(std::move(sc));
    }
    if (shape) *shape = std::move(out);
    return true;
}

bool checkRegionTable(ByteView b, int* regionCount, std::string* error) {
    if (b.empty()) return fail(error, "empty region table", 0);
    int n = s8(b, 0);
    size_t pos = 1;
    for (int i = 0; i < n; ++i) {
        if (b.size() - pos < 8) return fail(error, "region " + std::to_string(i) + " is cut short", pos);
        int cols = b[pos + 6], rows = b[pos + 7];
        if (cols == 0 || rows == 0) return fail(error, "region grid of 0 columns or rows", pos + 6);
        size_t cells = 2 * static_cast<size_t>(cols) * static_cast<size_t>(rows);
        if (b.size() - pos - 8 < cells) return fail(error, "region " + std::to_string(i) + " cells are cut short", pos);
        pos += 8 + cells;
    }
    if (regionCount) *regionCount = n < 1 ? 0 : n;
    return true;
}

}  // namespace game
