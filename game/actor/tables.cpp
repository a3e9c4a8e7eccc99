// Reading the actor tables file: a bounds-checked pass that validates the
// whole file into native vectors, then one copy into Java arrays (so a
// damaged file stores nothing).
#include "game/actor/tables.h"

#include "game/actor/actor.h"
#include "game/behaviour/messages.h"
#include "runtime/log.h"
#include "runtime/resource.h"

#include <string>
#include <vector>

using namespace game;


namespace {

struct Cursor {
    std::span<const uint8_t> b;
    size_t pos = 0;
    bool ok = true;
    bool need(size_t n) {
        if (!ok || b.size() - pos < n) ok = false;
        return ok;
    }
    uint32_t u8() { return need(1) ? b[pos++] : 0; }
    uint32_t u16() {
        if (!need(2)) return 0;
        uint32_t v = (uint32_t(b[pos]) << 8) | b[pos + 1];
        pos += 2;
        return v;
    }
    int32_t s32() {
        if (!need(4)) return 0;
        uint32_t v = (uint32_t(b[pos]) << 24) | (uint32_t(b[pos + 1]) << 16) | (uint32_t(b[pos + 2]) << 8) | b[pos + 3];
        pos += 4;
        return static_cast<int32_t>(v);
    }
};

struct Parsed {
    std::vector<int32_t> params, starts;
    std::vector<std::vector<std::vector<int32_t>>> programs;
    std::vector<std::vector<int32_t>> anims;
};

constexpr int kRows = 276, kPrograms = 22, kAnimRows = 19;

// Empty string when valid, else the fault.
std::string parse(std::span<const uint8_t> bytes, Parsed& out) {
    Cursor c{bytes};
    static const uint8_t kMagic[4] = {'A', 'T', 'B', 'L'};
    for (uint8_t m : kMagic)
        if (c.u8() != m) return c.ok ? "bad magic" : "truncated header";
    if (c.u16() != 1) return c.ok ? "unknown version" : "truncated header";
    uint32_t rows = c.u16();
    if (!c.ok) return "truncated header";
    if (rows != kRows) return std::to_string(rows) + " parameter rows, need 276";
    for (uint32_t r = 0; r < rows; ++r) {
        int32_t id = c.s32();
        uint32_t n = c.u8();
        if (!c.ok) return "truncated at row " + std::to_string(r);
        if (subtypeRow(id) != static_cast<jint>(r)) {
            for (uint32_t k = 0; k < r; ++k)
                if (subtypeRow(id) == static_cast<jint>(k)) return "duplicate subtype " + std::to_string(id);
            return "row " + std::to_string(r) + " holds subtype " + std::to_string(id);
        }
        if (n < 12 || n > 14) return "row " + std::to_string(r) + " has " + std::to_string(n) + " ints, need 12 to 14";
        out.starts.push_back(static_cast<int32_t>(out.params.size()));
        for (uint32_t k = 0; k < n; ++k) out.params.push_back(c.s32());
        if (!c.ok) return "truncated at row " + std::to_string(r);
    }
    uint32_t programs = c.u16();
    if (!c.ok) return "truncated before the programs";
    if (programs != kPrograms) return std::to_string(programs) + " programs, need 22";
    for (uint32_t p = 0; p < programs; ++p) {
        uint32_t states = c.u8();
        if (!c.ok) return "truncated at program " + std::to_string(p + 1);
        if (states < 10 || states > 12)
            return "program " + std::to_string(p + 1) + " has " + std::to_string(states) + " states, need 10 to 12";
        auto& program = out.programs.emplace_back();
        for (uint32_t s = 0; s < states; ++s) {
            uint32_t n = c.u16();
            if (!c.ok) return "truncated at program " + std::to_string(p + 1);
            if (n % 2) return "program " + std::to_string(p + 1) + " state " + std::to_string(s) + " splits a rule pair";
            if (!c.need(size_t(n) * 4)) return "truncated at program " + std::to_string(p + 1);
            auto& state = program.emplace_back();
            for (uint32_t k = 0; k < n; ++k) state.push_back(c.s32());
        }
    }
    uint32_t anims = c.u16();
    if (!c.ok) return "truncated before the animation rows";
    if (anims != kAnimRows) return std::to_string(anims) + " animation rows, need 19";
    for (uint32_t k = 0; k < anims; ++k) {
        uint32_t n = c.u8();
        if (!c.ok) return "truncated at animation row " + std::to_string(k);
        if (n != 12 && n != 14) return "animation row " + std::to_string(k) + " has " + std::to_string(n) + " entries";
        auto& row = out.anims.emplace_back();
        for (uint32_t j = 0; j < n; ++j) row.push_back(c.s32());
        if (!c.ok) return "truncated at animation row " + std::to_string(k);
    }
    if (c.pos != bytes.size()) return std::to_string(bytes.size() - c.pos) + " bytes after the end";
    return {};
}

IntArray* intsOf(const std::vector<int32_t>& v) {
    IntArray* a = newIntArray(static_cast<jint>(v.size()));
    if (!v.empty() && a->data()) std::copy(v.begin(), v.end(), a->data());
    return a;
}

ObjectArray** programSlot(jint n) {
    cActorStatics& s = ca();
    ObjectArray** slots[kPrograms] = {&s.rules27,  &s.rules41,  &s.rules55,  &s.rules173,  &s.rules86Immune,
                                      &s.rules86,  &s.rules87,  &s.rules97,  &s.rules148,  &s.rules64,
                                      &s.rules229, &s.rules118, &s.rules124, &s.rules119, &s.rules155,
                                      &s.rules172, &s.rules188, &s.rules29, &s.rules58, &s.rules202,
                                      &s.rules218, &s.rules225};
    return n >= 1 && n <= kPrograms ? slots[n - 1] : nullptr;
}

void clearTables() {
    ca().subtypeParams = nullptr;
    ca().subtypeParamStart = nullptr;
    for (jint n = 1; n <= kPrograms; ++n) *programSlot(n) = nullptr;
    ca().stateAnims = nullptr;
}

}  // namespace

ObjectArray* game::aiProgram(jint n) {
    ObjectArray** slot = programSlot(n);
    return slot ? *slot : nullptr;
}

jint game::subtypeRow(jint subtype) {
    if (subtype >= 0 && subtype <= 272) return subtype;
    switch (subtype) {
    case 3003: return 273;
    case 3010: return 274;
    case 3013: return 275;
    default: return -1;
    }
}

jint game::subtypeClassOf(jint subtype) {
    return subtypeRow(subtype) < 0 || !ca().subtypeParams ? -1 : cActor::getSubtypeParam(subtype, 5);
}

bool game::loadActorTables(std::span<const uint8_t> bytes) {
    Parsed p;
    std::string fault = parse(bytes, p);
    clearTables();
    if (!fault.empty()) {
        logPrintf("Actor tables rejected: %s", fault.c_str());
        return false;
    }
    // Each array is stored into its static field as soon as it is made, so
    // the collector sees it through the next allocation.
    ca().subtypeParams = intsOf(p.params);
    ca().subtypeParamStart = intsOf(p.starts);
    for (jint n = 1; n <= kPrograms; ++n) {
        const auto& program = p.programs[static_cast<size_t>(n - 1)];
        *programSlot(n) = newObjectArray(cid::IntArray, static_cast<jint>(program.size()));
        for (size_t s = 0; s < program.size(); ++s) {
            IntArray* state = intsOf(program[s]);
            aiProgram(n)->data()[s] = state;
        }
    }
    ca().stateAnims = newObjectArray(cid::IntArray, kAnimRows);
    for (size_t k = 0; k < p.anims.size(); ++k) {
        IntArray* row = intsOf(p.anims[k]);
        ca().stateAnims->data()[k] = row;
    }
    game::behaviour::refuseBadRulePrograms();
    return true;
}


bool game::loadActorTablesResource() {
    std::vector<uint8_t> bytes;
    if (!rt::readResource(kActorTablesResource, bytes)) {
        clearTables();
        logPrintf("Actor tables missing: %s", kActorTablesResource);
        return false;
    }
    return loadActorTables(bytes);
}

bool game::actorTablesLoaded() { return ca().subtypeParams != nullptr; }

