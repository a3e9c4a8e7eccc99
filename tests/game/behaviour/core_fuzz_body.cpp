// The behaviour fuzz input (see core_fuzz_body.h). Input layout, read
// little-endian with zeros past the end: u8 row overrides n, n x {u8 row,
// u8 entry, s16 value}; u8 program rules m, m x {u8 state, u32 word, s16
// argument}; u8 records k, k x {u8 length 0..20, length x s16}; then input
// bytes, one per step.
#include "tests/game/behaviour/core_fuzz_body.h"

#include "game/actor/pool.h"
#include "game/behaviour/contact.h"
#include "game/behaviour/messages.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/streaming.h"
#include "tests/game/behaviour/core_support.h"
#include "tools/kit/actortables.h"

namespace behaviourtest {

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t u8() { return at < size ? data[at++] : 0; }
    int16_t s16() { return static_cast<int16_t>(u8() | (u8() << 8)); }
    uint32_t u32() { return static_cast<uint32_t>(u8()) | (static_cast<uint32_t>(u8()) << 8) |
                            (static_cast<uint32_t>(u8()) << 16) | (static_cast<uint32_t>(u8()) << 24); }
};

// Subtypes the set-up and the core routines treat specially, and plain ones.
constexpr int16_t kSubtypes[] = {0, 1, 2, 3, 4, 5, 10, 11, 13, 14, 20, 27, 32, 33, 41, 86, 97, 104, 106,
                                 112, 122, 132, 143, 144, 238, 241, 246, 249, 255, 3003, 3013, 9999};

void putRecord(ShortArray* table, const std::vector<int16_t>& values) {
    for (size_t i = 0; i < values.size(); ++i) table->data()[i] = values[i];
}

}  // namespace

void runBehaviourFuzzInput(const uint8_t* data, size_t size, const std::function<void(int step)>& afterStep) {
    Reader in{data, size};
    game::removeAllActors(true);
    cActor* hero = worldtest::makeHero(200, 300);
    if (!hero) return;
    game::setVariable(3, 10, false);

    // Row overrides (kept to this input: the rows are restored below).
    IntArray* params = game::ca().subtypeParams;
    std::vector<std::pair<jint, jint>> saved;
    for (int n = in.u8() % 16; n > 0; --n) {
        const jint row = in.u8() % 276, entry = in.u8() % 14;
        const jint value = in.s16();
        IntArray* starts = game::ca().subtypeParamStart;
        if (!params || !starts || row >= starts->length()) continue;
        const jint at = starts->data()[row] + entry;
        if (at >= params->length()) continue;
        saved.push_back({at, params->data()[at]});
        params->data()[at] = value;
    }
    // A rule program in slot 22, made afresh from the input and checked as
    // after loading (the loaded program of slot 22 is replaced for good).
    ObjectArray* program = game::aiProgram(22);
    for (jint s = 0; program && s < program->length(); ++s) {
        IntArray* empty = newIntArray(0);
        if (!empty) return;
        game::aiProgram(22)->data()[s] = empty;
    }
    const int rules = in.u8() % 24;
    for (int r = 0; r < rules && program; ++r) {
        const jint state = in.u8() % program->length();
        const jint word = static_cast<jint>(in.u32()), argument = in.s16();
        IntArray* old = static_cast<IntArray*>(game::aiProgram(22)->data()[state]);
        const jint n = old ? old->length() : 0;
        IntArray* grown = newIntArray(n + 2);
        if (!grown) break;
        old = static_cast<IntArray*>(game::aiProgram(22)->data()[state]);
        for (jint i = 0; i < n; ++i) grown->data()[i] = old->data()[i];
        grown->data()[n] = word;
        grown->data()[n + 1] = argument;
        game::aiProgram(22)->data()[state] = grown;
    }
    game::behaviour::refuseBadRulePrograms();

    // Level records through set-up.
    for (int k = in.u8() % 40; k > 0; --k) {
        const jint length = in.u8() % 21;
        std::vector<int16_t> values(static_cast<size_t>(length));
        for (jint i = 0; i < length; ++i) values[static_cast<size_t>(i)] = in.s16();
        if (length > 0) values[0] = kSubtypes[static_cast<uint16_t>(values[0]) % std::size(kSubtypes)];
        ShortArray* table = newShortArray(length > 0 ? length : 1);
        if (!table) break;
        putRecord(table, values);
        game::spawnActor(table, length, 0);
    }

    // 300 steps: the actor passes, contact and messages driven by the input.
    for (int step = 0; step < 300; ++step) {
        const uint8_t key = in.u8();
        game::cg().hero = hero;
        game::world::updateAllActors();
        game::world::updateHeroFrame();
        // The hero's state as the contact and message rules see it (the
        // hero's own machine keeps its state; it is put back below).
        constexpr jint kSeen[] = {0, 2, 3, 5, 7, 8, 11, 12, 15, 16, 19, 38, 39};
        const jint ownState = game::ca().heroState;
        game::ca().heroState = kSeen[key % std::size(kSeen)];
        const jint count = game::cg().actorCount;
        if (count > 0) {
            cActor* a = game::poolActor((key * 7 + step) % count);
            if (a && a != hero) {
                game::behaviour::classifyHeroContact(a);
                game::behaviour::onMessage(a, key << 3, (key + step) % 64, static_cast<jint>(in.u32()));
                game::behaviour::applyPendingHits(a, key & 1);
                game::behaviour::runRules(a, game::aiProgram(22), key | 1);
            }
        }
        game::ca().heroState = ownState;
        if (game::getVariable(3) < 1) game::setVariable(3, 10, false);
        if (afterStep) afterStep(step);
    }

    // Restore the rows for the next input.
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) game::ca().subtypeParams->data()[it->first] = it->second;
    game::removeAllActors(true);
}

std::vector<std::vector<uint8_t>> behaviourFuzzSeeds() {
    auto le16 = [](std::vector<uint8_t>& b, int v) {
        b.push_back(static_cast<uint8_t>(v & 255));
        b.push_back(static_cast<uint8_t>((v >> 8) & 255));
    };
    auto record = [&](std::vector<uint8_t>& b, const std::vector<int>& v) {
        b.push_back(static_cast<uint8_t>(v.size()));
        for (int x : v) le16(b, x);
    };
    auto subtypeIndex = [](int subtype) {
        for (size_t i = 0; i < std::size(kSubtypes); ++i)
            if (kSubtypes[i] == subtype) return static_cast<int>(i);
        return 0;
    };
    std::vector<std::vector<uint8_t>> seeds;
    // Short records, a record of exactly 7, bad link and item numbers in params.
    {
        std::vector<uint8_t> b = {0, 0, 4};
        record(b, {subtypeIndex(41), 1, 300, 300});
        record(b, {subtypeIndex(41), 2, 300, 300, 0, 0, 0xA0});
        record(b, {subtypeIndex(27), 3, 300, 300, 0, 0, 0xA0, -1, 999, 32767});
        record(b, {subtypeIndex(249), 4, 300, 300, 0, 0, 0xA0, 0});
        for (int i = 0; i < 300; ++i) b.push_back(static_cast<uint8_t>(i * 37));
        seeds.push_back(b);
    }
    // Zero and huge cell sizes on a tile-block row (entries 6 and 7), blocks over 32 and 256 cells.
    {
        std::vector<uint8_t> b = {4, 4, 6};
        le16(b, 0);
        b.push_back(4);
        b.push_back(7);
        le16(b, 0);
        b.push_back(13);
        b.push_back(6);
        le16(b, 32767);
        b.push_back(13);
        b.push_back(7);
        le16(b, 1);
        b.push_back(0);
        b.push_back(3);
        record(b, {subtypeIndex(4), 5, 100, 200, 0, 0, 0xA0, 33, 1, 0, 0});
        record(b, {subtypeIndex(4), 6, 100, 200, 0, 0, 0xA0, 257, 9, 0, 0});
        record(b, {subtypeIndex(13), 7, 100, 200, 0, 0, 0x8000A0 & 0xFFFF, 0, 0, -5});
        seeds.push_back(b);
    }
    // A rule chain falling through to a state outside the program, and a loop of 63s.
    {
        std::vector<uint8_t> b = {0, 3};
        auto rule = [&](int state, uint32_t word, int arg) {
            b.push_back(static_cast<uint8_t>(state));
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(word >> (8 * i)));
            le16(b, arg);
        };
        rule(1, (1u << 12) | (13u << 6) | 63u, 2);
        rule(1, (1u << 12) | (9u << 6) | 63u, 0);
        rule(2, (1u << 12) | (0u << 6) | 40u, 0);
        b.push_back(2);
        record(b, {subtypeIndex(225), 8, 300, 300, 0, 0, 0xA0, 0, 10, 10, 0, 0});
        record(b, {subtypeIndex(86), 9, 350, 300, 0, 0, 0xA0, 0, 10, 10, 0, 0});
        seeds.push_back(b);
    }
    seeds.push_back({});
    return seeds;
}

}  // namespace behaviourtest
