// The actor tables file: writer, strict reader, description, damaged
// variants and the demo tables (layout in actortables.h).
#include "tools/kit/actortables.h"

#include "tools/kit/damage.h"

#include <set>
#include <sstream>

namespace kit {

namespace {

constexpr char kMagic[4] = {'A', 'T', 'B', 'L'};
constexpr int kVersion = 1;

void checkShape(const ActorTables& t) {
    if (t.rows.size() != kActorTableRows)
        throw KitError("actor tables: " + std::to_string(t.rows.size()) + " rows, need 276");
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const auto& row = t.rows[r];
        if (row.values.size() < 12 || row.values.size() > 14)
            throw KitError("actor tables: row " + std::to_string(r) + " has " + std::to_string(row.values.size()) +
                           " ints, need 12 to 14");
        if (row.subtype != actorRowSubtype(static_cast<int>(r)))
            throw KitError("actor tables: row " + std::to_string(r) + " is subtype " + std::to_string(row.subtype) +
                           ", need " + std::to_string(actorRowSubtype(static_cast<int>(r))));
    }
    if (t.programs.size() != kActorPrograms)
        throw KitError("actor tables: " + std::to_string(t.programs.size()) + " programs, need 22");
    for (size_t p = 0; p < t.programs.size(); ++p) {
        if (t.programs[p].size() < 10 || t.programs[p].size() > 12)
            throw KitError("actor tables: program " + std::to_string(p + 1) + " has " +
                           std::to_string(t.programs[p].size()) + " states, need 10 to 12");
        for (const auto& state : t.programs[p])
            if (state.size() % 2 || state.size() > 0xFFFF)
                throw KitError("actor tables: program " + std::to_string(p + 1) + " has a state of " +
                               std::to_string(state.size()) + " ints (whole pairs only)");
    }
    if (t.stateAnims.size() != kActorAnimRows)
        throw KitError("actor tables: " + std::to_string(t.stateAnims.size()) + " animation rows, need 19");
    for (size_t k = 0; k < t.stateAnims.size(); ++k)
        if (t.stateAnims[k].size() != 12 && t.stateAnims[k].size() != 14)
            throw KitError("actor tables: animation row " + std::to_string(k) + " has " +
                           std::to_string(t.stateAnims[k].size()) + " entries, need 12 or 14");
}

// Offsets of the sections of a valid file, for the damaged variants.
struct Sections {
    size_t rows = 0, programs = 0, anims = 0;
    std::vector<size_t> rowStarts, stateStarts, animStarts;
};

Sections sectionsOf(ByteSpan bytes) {
    parseActorTables(bytes);
    Sections s;
    ByteReader r(bytes, 8);
    s.rows = 6;
    for (int i = 0; i < kActorTableRows; ++i) {
        s.rowStarts.push_back(r.pos());
        r.skip(4);
        r.skip(4 * r.u8());
    }
    s.programs = r.pos();
    r.skip(2);
    for (int p = 0; p < kActorPrograms; ++p) {
        int states = r.u8();
        for (int k = 0; k < states; ++k) {
            s.stateStarts.push_back(r.pos());
            r.skip(4 * r.be16());
        }
    }
    s.anims = r.pos();
    r.skip(2);
    for (int k = 0; k < kActorAnimRows; ++k) {
        s.animStarts.push_back(r.pos());
        r.skip(4 * r.u8());
    }
    return s;
}

}  // namespace

int32_t actorRowSubtype(int row) {
    static const int32_t kHigh[] = {3003, 3010, 3013};
    return row < 273 ? row : kHigh[row - 273];
}

Bytes encodeActorTables(const ActorTables& t) {
    checkShape(t);
    ByteWriter w;
    for (char c : kMagic) w.u8(static_cast<uint8_t>(c));
    w.writeShort(kVersion);
    w.writeShort(static_cast<int32_t>(t.rows.size()));
    for (const auto& row : t.rows) {
        w.writeInt(row.subtype);
        w.u8(static_cast<uint32_t>(row.values.size()));
        for (int32_t v : row.values) w.writeInt(v);
    }
    w.writeShort(static_cast<int32_t>(t.programs.size()));
    for (const auto& program : t.programs) {
        w.u8(static_cast<uint32_t>(program.size()));
        for (const auto& state : program) {
            w.writeShort(static_cast<int32_t>(state.size()));
            for (int32_t v : state) w.writeInt(v);
        }
    }
    w.writeShort(static_cast<int32_t>(t.stateAnims.size()));
    for (const auto& row : t.stateAnims) {
        w.u8(static_cast<uint32_t>(row.size()));
        for (int32_t v : row) w.writeInt(v);
    }
    return w.take();
}

ActorTables parseActorTables(ByteSpan bytes) {
    ByteReader r(bytes);
    ActorTables t;
    try {
        ByteSpan magic = r.take(4);
        if (!std::equal(magic.begin(), magic.end(), kMagic)) throw KitError("actor tables: bad magic");
        if (r.be16() != kVersion) throw KitError("actor tables: unknown version");
        int rows = r.be16();
        if (rows != kActorTableRows) throw KitError("actor tables: " + std::to_string(rows) + " rows, need 276");
        for (int i = 0; i < rows; ++i) {
            ActorTables::Row row;
            row.subtype = r.bes32();
            int n = r.u8();
            if (n < 12 || n > 14) throw KitError("actor tables: row " + std::to_string(i) + " has " + std::to_string(n) + " ints");
            for (int k = 0; k < n; ++k) row.values.push_back(r.bes32());
            t.rows.push_back(std::move(row));
        }
        int programs = r.be16();
        if (programs != kActorPrograms) throw KitError("actor tables: " + std::to_string(programs) + " programs, need 22");
        for (int p = 0; p < programs; ++p) {
            int states = r.u8();
            if (states < 10 || states > 12) throw KitError("actor tables: program " + std::to_string(p + 1) + " has " + std::to_string(states) + " states");
            std::vector<std::vector<int32_t>> program;
            for (int k = 0; k < states; ++k) {
                int n = r.be16();
                if (n % 2) throw KitError("actor tables: odd rule count in program " + std::to_string(p + 1));
                std::vector<int32_t> state;
                for (int j = 0; j < n; ++j) state.push_back(r.bes32());
                program.push_back(std::move(state));
            }
            t.programs.push_back(std::move(program));
        }
        int anims = r.be16();
        if (anims != kActorAnimRows) throw KitError("actor tables: " + std::to_string(anims) + " animation rows, need 19");
        for (int k = 0; k < anims; ++k) {
            int n = r.u8();
            std::vector<int32_t> row;
            for (int j = 0; j < n; ++j) row.push_back(r.bes32());
            t.stateAnims.push_back(std::move(row));
        }
    } catch (const KitError& e) {
        throw KitError(std::string(e.what()).rfind("actor tables", 0) == 0 ? e.what()
                                                                           : std::string("actor tables: truncated (") + e.what() + ")");
    }
    if (!r.atEnd()) throw KitError("actor tables: " + std::to_string(r.remaining()) + " bytes after the end");
    std::set<int32_t> seen;
    for (const auto& row : t.rows)
        if (!seen.insert(row.subtype).second) throw KitError("actor tables: duplicate subtype " + std::to_string(row.subtype));
    checkShape(t);
    return t;
}

std::string describeActorTables(const ActorTables& t) {
    std::ostringstream o;
    size_t start = 0;
    int by[15] = {};
    for (const auto& row : t.rows) {
        o << "row " << row.subtype << " @" << start << ":";
        for (int32_t v : row.values) o << " " << v;
        o << "\n";
        start += row.values.size();
        by[row.values.size()]++;
    }
    o << "rows " << t.rows.size() << " (" << by[12] << " of 12, " << by[13] << " of 13, " << by[14] << " of 14), "
      << start << " ints\n";
    size_t ruleInts = 0;
    for (size_t p = 0; p < t.programs.size(); ++p) {
        o << "program " << p + 1 << ":";
        for (const auto& state : t.programs[p]) {
            o << " " << state.size();
            ruleInts += state.size();
        }
        o << "\n";
    }
    o << "programs " << t.programs.size() << ", " << ruleInts << " rule ints\n";
    for (size_t k = 0; k < t.stateAnims.size(); ++k) {
        o << "anims " << k << ":";
        for (int32_t v : t.stateAnims[k]) o << " " << v;
        o << "\n";
    }
    return o.str();
}

std::vector<DamagedFile> damageActorTables(ByteSpan valid, uint64_t seed) {
    Sections s = sectionsOf(valid);
    std::vector<DamagedFile> out;
    Bytes base(valid.begin(), valid.end());
    auto cut = [&](const std::string& name, size_t at) {
        if (at < base.size()) out.push_back({"truncated-" + name, Bytes(base.begin(), base.begin() + static_cast<long>(at))});
    };
    auto patched = [&](const std::string& name, auto&& change) {
        Bytes b = base;
        change(b);
        out.push_back({name, std::move(b)});
    };
    auto put16 = [](Bytes& b, size_t at, int v) { b[at] = static_cast<uint8_t>(v >> 8); b[at + 1] = static_cast<uint8_t>(v); };
    auto put32 = [](Bytes& b, size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (24 - 8 * i));
    };
    cut("empty", 0);
    cut("header", 5);
    cut("rows", s.rowStarts[1] - 1);
    cut("last-row", s.programs - 1);
    cut("programs", s.programs + 1);
    cut("state", s.stateStarts[3] + 3);
    cut("anims", s.anims + 1);
    cut("last-anim", base.size() - 1);
    patched("magic", [](Bytes& b) { b[0] = 'X'; });
    patched("version", [&](Bytes& b) { put16(b, 4, 2); });
    patched("rows-275", [&](Bytes& b) { put16(b, s.rows, 275); });
    patched("rows-277", [&](Bytes& b) { put16(b, s.rows, 277); });
    patched("rows-negative", [&](Bytes& b) { put16(b, s.rows, 0xFFFF); });
    patched("row-11-ints", [&](Bytes& b) { b[s.rowStarts[7] + 4] = 11; });
    patched("row-15-ints", [&](Bytes& b) { b[s.rowStarts[7] + 4] = 15; });
    patched("row-255-ints", [&](Bytes& b) { b[s.rowStarts[275] + 4] = 255; });
    patched("duplicate-subtype", [&](Bytes& b) { put32(b, s.rowStarts[5], 4); });
    patched("subtype-out-of-order", [&](Bytes& b) { put32(b, s.rowStarts[274], 3013); put32(b, s.rowStarts[275], 3010); });
    patched("programs-21", [&](Bytes& b) { put16(b, s.programs, 21); });
    patched("programs-23", [&](Bytes& b) { put16(b, s.programs, 23); });
    patched("states-9", [&](Bytes& b) { b[s.programs + 2] = 9; });
    patched("states-13", [&](Bytes& b) { b[s.programs + 2] = 13; });
    patched("odd-rule-count", [&](Bytes& b) {
        for (size_t at : s.stateStarts)
            if (b[at] == 0 && b[at + 1] != 0) { b[at + 1] = static_cast<uint8_t>(b[at + 1] - 1); break; }
    });
    patched("rule-count-huge", [&](Bytes& b) { put16(b, s.stateStarts[0], 0xFFFE); });
    patched("anims-18", [&](Bytes& b) { put16(b, s.anims, 18); });
    patched("anim-row-13", [&](Bytes& b) { b[s.animStarts[0]] = 13; });
    patched("trailing-byte", [](Bytes& b) { b.push_back(0); });
    uint64_t x = seed;
    for (int i = 0; i < 6; ++i) {
        Bytes b = base;
        for (int k = 0; k <= i % 3; ++k) {
            x ^= x << 13; x ^= x >> 7; x ^= x << 17;
            b[x % b.size()] ^= static_cast<uint8_t>(1 + (x >> 32) % 255);
        }
        out.push_back({"flip-" + std::to_string(i), std::move(b)});
    }
    return out;
}

std::vector<int16_t> levelActorRecord(int subtype, int id, int x, int y, int animation, int flags,
                                      const std::vector<int16_t>& params) {
    std::vector<int16_t> r = {static_cast<int16_t>(subtype), static_cast<int16_t>(id), static_cast<int16_t>(x),
                              static_cast<int16_t>(y), 0, static_cast<int16_t>(animation), static_cast<int16_t>(flags)};
    r.insert(r.end(), params.begin(), params.end());
    return r;
}

}  // namespace kit
