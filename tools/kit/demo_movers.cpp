// Demo content of the movers and enemies: the subtype rows and rule
// programs their demo actors use, and two levels. "enemies": a rule-driven
// walker (subtype 55) on an A-B-A link loop whose program shoots template
// 192 (a type-84 shot) on its timer, hurts on touch and dies on a hit; an
// immune thrower (subtype 86) whose program throws the common-AI types 14,
// 16, 36, 70, 73 and 85 in turn by message 7. "movers": a carrying platform
// (type 9), a swinging holder (41), a slow-down pickup (65), a timed
// animation (72), a rising deadly zone (76) and a spinner (101).
//
// Every row written here keeps its row length (12 values below row 209),
// so the table shape stays the one the reader expects.
#include "tools/kit/demo_movers.h"
#include "tools/kit/level_builder.h"

#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <vector>

namespace kit {

namespace {

constexpr int32_t kNone = 63;

int32_t rule(int32_t mask, int32_t message, int32_t next) { return (mask << 12) | (message << 6) | next; }

// Hit bits the contact classification leaves: invulnerable hit, from
// above, from below, from the side.
constexpr int32_t kHitBits = 0x2000 | 0x8 | 0x10 | 0x4;

void setRow(ActorTables& t, int subtype, int kind, int w, int h) {
    auto& v = t.rows[static_cast<size_t>(subtype)].values;
    v[2] = 8;   // sprite (8, 18): numbered animations
    v[3] = 18;
    v[5] = kind;
    v[6] = w;
    v[7] = h;
    v[8] = 160;
    v[9] = 10;
}

}  // namespace

void addDemoMoverTables(ActorTables& t) {
    // Rule-driven enemies and the shot their walker fires.
    setRow(t, kDemoWalkerSubtype, 6, 40, 48);
    setRow(t, kDemoThrowerSubtype, 6, 40, 48);
    setRow(t, 192, 84, 16, 16);
    // What the thrower throws (templates of the factory).
    for (const DemoThrow& d : kDemoThrows) setRow(t, d.templateId, d.type, 24, 24);
    // Movers.
    setRow(t, kDemoPlatformSubtype, 9, 96, 18);
    setRow(t, kDemoHolderSubtype, 41, 24, 60);
    setRow(t, kDemoSlowPickupSubtype, 65, 24, 24);
    setRow(t, kDemoTimedSubtype, 72, 24, 24);
    setRow(t, kDemoZoneSubtype, 76, 100, 4);
    setRow(t, kDemoSpinnerSubtype, 101, 80, 10);

    // Programs keep the number of ints per state of the game's tables, so
    // each row is padded after its last deciding pair with pairs that never
    // match (and are never reached by a chain).
    auto padded = [](std::vector<int32_t> rules, size_t ints) {
        while (rules.size() < ints) {
            rules.push_back(rule(0, 0, kNone));
            rules.push_back(0);
        }
        return rules;
    };
    // The walker (program 3): in state 3 it follows its link loop; on its
    // timer it shoots (message 57) and rewinds the timer (message 12); a hit
    // by the attacking hero kills it (message 28), touching hurts
    // (message 48); without a link (state 2) it stands.
    auto& walker = t.programs[2];
    walker[2] = padded({rule(1, 0, 2), 0}, walker[2].size());
    walker[3] = padded({rule(0x20, 57, kNone), 0, rule(0, 12, kNone), 40, rule(kHitBits, 28, kNone), 0,
                        rule(0x2, 48, kNone), 0, rule(1, 0, 3), 0},
                       walker[3].size());

    // The thrower (programs 5 immune and 6): on its timer it throws the
    // templates of one state (message 7), rewinds the timer (message 12)
    // and moves on to the next state; states 2, 3, 6, 10 and 11 have room in
    // both programs.
    struct Throwing {
        int state;
        std::vector<int> templates;
        int next;
    };
    const Throwing throwing[] = {{2, {kDemoThrows[0].templateId, kDemoThrows[1].templateId}, 3},
                                 {3, {kDemoThrows[2].templateId}, 6},
                                 {6, {kDemoThrows[3].templateId}, 10},
                                 {10, {kDemoThrows[4].templateId}, 11},
                                 {11, {kDemoThrows[5].templateId}, 2}};
    for (int p : {4, 5}) {
        auto& program = t.programs[static_cast<size_t>(p)];
        for (const Throwing& th : throwing) {
            std::vector<int32_t> rules;
            for (size_t k = 0; k < th.templates.size(); ++k) {
                rules.push_back(rule(k == 0 ? 0x20 : 0, 7, kNone));
                rules.push_back(th.templates[k]);
            }
            rules.push_back(rule(0, 12, th.next));
            rules.push_back(30);
            auto& state = program[static_cast<size_t>(th.state)];
            state = padded(rules, state.size());
        }
    }
}

const char* const kDemoEnemies = R"(
# Enemies: a walker on an A-B-A link loop, an immune thrower.
layer 4 60 14
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
666666666666666666666666666666666666666666666666666666666666
666666666666666666666666666666666666666666666666666666666666
object 0 1 120 432 7 0 160 2 -1 -1 -1 -1
rect 10 0 0 2160 504
link 11 400 432 12 0 500
link 12 700 432 11 0 0
object 55 20 400 432 7 0 160 11 24 24 -12 -24
object 86 21 1000 432 7 0 160 -1 24 24 -12 -24
)";

const char* const kDemoMovers = R"(
# Movers: platform, holder, slow-down pickup, timed animation, rising zone, spinner.
layer 4 60 14
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
6..........................................................6
666666666666666666666666666666666666666666666666666666666666
666666666666666666666666666666666666666666666666666666666666
object 0 1 120 432 7 0 160 2 -1 -1 -1 -1
rect 10 0 0 2160 504
object 181 30 600 432 7 0 160 0 0 0
object 182 31 800 300 7 0 160 0
object 183 32 130 432 7 0 160 0
object 184 33 900 432 7 0 160 500
object 186 34 1500 432 7 0 160 100 0 -50 -100 2
object 187 35 1100 380 7 0 160 0 0 0 0 40
)";

void addDemoMovers(std::vector<DemoEntry>& out) {
    for (const auto& [name, text] : {std::pair{"level_enemies", kDemoEnemies}, std::pair{"level_movers", kDemoMovers}}) {
        const char* description = text;
        out.push_back({name, [description] { return levelbuild::levelPack(description); }});
    }
}

}  // namespace kit
