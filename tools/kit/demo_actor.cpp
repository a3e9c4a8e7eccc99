// Demo content of the actor framework: the actor tables file.
//
// Subtype rows of the demo table, one writer per row (checked by the kit's
// demo-rows test). Rows the game itself fixes: the factory's templates
// (the game spawns them by number) and the subtypes the game names; every
// other subtype is a free choice kept apart from the others.
//
//   rows     writer   type   what                                  fixed by
//   0-5      here     -      the fixed first rows                  the game's table
//   10, 11   here     6, 74  the demo level's walker and bouncer   free (11 is also
//                            the template a struck block cell drops)
//   123, 65, movers   14,16, thrown by the subtype-86 thrower      templates
//   120,156,          36,70,
//   190,230           73,85
//   192      movers   84     the walker's shot and the fly-by's    template (both
//                            drops (messages 57/59, type 71)       spawners)
//   55, 86   movers   6      the walker and the thrower            named subtypes
//   181-184, movers   9,41,  platform, holder, slow-down pickup,   free
//   186, 187          65,72, timed animation, deadly zone,
//                     76,101 spinner
//   33       blocks   45     the ram                               free
//   60-62    blocks   4      crate, wall, zero-width cell block    free
//   82, 151  blocks   4      the wave and the gap strips           named subtypes
//   89-92    blocks   2      items of kinds 0, 1, 3, 5             free
//   95, 96   blocks   88, 17 the pusher and the carrier            free
//   106, 143 hazards  28     the part fields                       named subtypes
//   126      hazards  110    the hatch's item                      template
//   128/129  hazards  77/78  column generator / its mover          mover = template
//   130/131  hazards  48/49  lob generator / its mover               (generator + 1)
//   160-171, hazards  ...    chain, flame, traps, ball, shot,      free (not 165,
//   174,                     link mover, gaze, hatch, turrets,       whose params[0]
//   176-180,                 pad, fly-by, link platform, contact,    sizes its box)
//   189                      chaser, segment owner
//   157      hazards  59     the run-speed pickup                  free
//   206, 221 hazards  38     the turrets' shots                    templates
//   20,104,  bosses   24,56, the anchor and waypoint bosses and    target subtypes
//   122,238,          33,102 the pattern and arena bosses
//   255,3003          92,21
//   241,246  bosses   94,97  the thrower and melee bosses          named subtypes
//   251, 271 bosses   99,111 the melee boss's shot, the companion  templates
//   256      bosses   103    the second boss (summoned)            named subtype
//   140      bosses   8      the arena platform                    free
//   202, 218 bosses   6      the summoned minions                  named subtypes
//   252-263  bosses   110    minions, shots and pairs              the bosses' routines
//   193-196, platforms 12,8,  checkpoint, path and sinking           free
//   198,               55,2,  platforms, crusher, item, container,
//   203-205,           44,10, trigger zone, chain, push zone, bar,
//   207,               52,53, ramp, rider, flying holder, scale
//   211-214,           61,64, item, heavy item
//   216, 217           75,58,
//                      39,45
//   201, 208 platforms 52, 8, the mode chain, the timed drop and   named subtypes
//   112               2      the item that breaks by animation 5
//
// Rows 13, 38, 197 and 3013 (templates) keep the plain row here.
#include "tools/kit/actortables.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/demo_platforms.h"

#include <algorithm>
#include <iterator>

namespace kit {

namespace {

// Rule pair that tests nothing and decides nothing: event mask 1, test 0,
// next state 63 (none).
constexpr int32_t kIdleRule = (1 << 12) | 63;

std::vector<std::vector<int32_t>> programOfShape(std::initializer_list<int> intsPerState) {
    std::vector<std::vector<int32_t>> p;
    for (int n : intsPerState) {
        std::vector<int32_t> state;
        for (int i = 0; i < n; i += 2) {
            state.push_back(kIdleRule);
            state.push_back(0);
        }
        p.push_back(std::move(state));
    }
    return p;
}

// Rows of 12 ints among rows 229..275 (no demo actor uses them): as many
// as the rows of 14 below row 209, the block family's (its crate, wall,
// wave and gap strips, ram, four items, pusher and carrier) and the four
// type-8 platforms' (140, 194, 195, 208: their record box reads
// parameters 12 and 13).
constexpr int kRowsGivingWay[] = {250, 254, 259, 260, 264, 265, 266, 267, 268, 270, 247, 232, 235, 236, 244};

}  // namespace

ActorTables demoActorTables() {
    ActorTables t;
    static const std::vector<int32_t> kFixed[6] = {
        {400, 240, 0, 19, 0, 0, 69, 66, 13631504, 10, -1, 10},
        {400, 240, -1, -145, -1, 10, 32, 32, 1048576, 10, -1, 10},
        {400, 240, 2, 18, 0, 2, -1, -1, 0, 11, -1, 13, 0, 0},
        {400, 240, 1, 20, 0, 4, 72, 72, 9437184, 3, -1, 3, -1},
        {400, 240, 0, 20, 0, 46, 20, 20, 4718592, 10, -1, 10, 440, 100},
        {400, 720, 6, 18, 0, 8, 80, 5, 89178112, 9, -1, 9, 440, 100},
    };
    // The table's shape: 205 rows of 12 ints, 21 of 13 and 50 of 14 (3,433
    // ints; the last row starts at 3419). Rows 0-5 are fixed; rows 209..228
    // carry a record height (13 ints) and 229..275 a record height and width
    // (14), except the rows that give their two ints to the block family's
    // and the type-8 platforms' rows below 209, which read parameters 12
    // and 13.
    for (int r = 0; r < kActorTableRows; ++r) {
        ActorTables::Row row;
        row.subtype = actorRowSubtype(r);
        if (r < 6) {
            row.values = kFixed[r];
        } else {
            // A plain drawn actor of type 0 with a 32 x 32 box on layer 10
            // and no sprite.
            row.values = {400, 240, -1, 18, 0, 0, 32, 32, 0, 10, -1, 10};
            const bool givesWay = std::find(std::begin(kRowsGivingWay), std::end(kRowsGivingWay), r) != std::end(kRowsGivingWay);
            if (r >= 209 && !givesWay) row.values.push_back(48);
            if (r >= 229 && !givesWay) row.values.push_back(48);
        }
        t.rows.push_back(std::move(row));
    }
    // Demo level actors: a walker (sprite (4,18)) and a bouncer (type 74,
    // sprite (28,18)).
    t.rows[10].values = {400, 240, 4, 18, 0, 6, 40, 48, 160, 10, -1, 10};
    t.rows[11].values = {400, 240, 28, 18, 0, 74, 64, 24, 160, 10, -1, 10};
    addDemoHazardRows(t);

    t.programs.resize(22);
    auto shape = [&](std::initializer_list<int> programs, std::initializer_list<int> perState) {
        for (int p : programs) t.programs[static_cast<size_t>(p - 1)] = programOfShape(perState);
    };
    shape({1}, {0, 0, 0, 8, 0, 0, 0, 8, 0, 4});
    shape({2, 14, 15, 16}, {0, 0, 16, 16, 22, 0, 16, 0, 14, 20, 18});
    shape({3, 6, 7}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 14, 10});
    shape({4}, {0, 0, 8, 14, 0, 0, 0, 0, 0, 0, 0, 0});
    shape({5}, {0, 0, 24, 24, 38, 8, 16, 0, 0, 2, 20, 14});
    shape({8, 9, 12, 13}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 12, 10});
    shape({10, 11}, {0, 0, 2, 0, 4, 0, 2, 0, 0, 6, 4});
    shape({17}, {0, 0, 8, 8, 14, 0, 8, 0, 2, 12, 10, 2});
    shape({18}, {0, 0, 26, 24, 16, 0, 16, 0, 0, 8, 0, 0});
    shape({19}, {0, 0, 14, 14, 10, 0, 12, 0, 0, 0, 0});
    shape({20}, {0, 0, 12, 12, 0, 0, 16, 0, 0, 22, 22, 14});
    shape({21}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 14, 4});
    shape({22}, {0, 0, 24, 22, 0, 0, 20, 0, 0, 30, 18, 14});
    // The two programs given in full.
    auto& p1 = t.programs[0];
    p1[3] = {524291, 0, 9023, 16, 8199, 0, 134218051, 0};
    p1[7] = {49471, 511, 49535, -1, 49731, 0, 131651, 0};
    p1[9] = {8199, 0, 4675, 0};
    auto& p10 = t.programs[9];
    p10[2] = {4420, 0};
    p10[4] = {524292, 0, 4422, 0};
    p10[6] = {4873, 11};
    p10[9] = {524297, 0, 4927, 4, 6346, 0};
    p10[10] = {524298, 0, 4868, 32};

    const int32_t N = -1;
    auto same4 = std::vector<int32_t>{N, N, 1, 3, 3, N, N, 3, N, N, N, N, N, N};
    t.stateAnims = {
        {1, N, 1, 1, 1, 1, 2, 2, N, 2, 2, 2},
        {N, N, 0, 2, 0, 0, 0, N, N, 4, N, N},
        {N, N, 0, 1, 1, N, N, 1, N, N, N, N, N, N},
        {N, N, N, 24, N, N, N, N, N, N, N, N, N, N},
        same4,
        {N, N, 0, 0, 0, 0, 0, N, N, 1, N, N},
        same4,
        {N, N, 0, 2, 0, N, N, 2, N, 4, N, N, N, N},
        same4,
        {N, N, 0, N, 2, N, 3, N, 6, 4, N, N, N, N},
        same4,
        {N, N, 0, 10, 2, N, 3, N, 6, 4, N, N, N, N},
        {N, N, 0, 11, 2, N, 4, 11, 5, 4, N, N, N, N},
        {N, 9, 4, 5, 7, N, 7, 4, 14, 7, 7, 7, N, N},
        {N, N, 0, 0, 1, N, 2, 0, 0, N, N, N, N, N},
        {N, N, 2, 11, 2, N, 71, 11, 5, 2, 72, N, N, N},
        {N, N, 0, 1, 7, N, 6, N, N, 8, N, N, N, N},
        {N, N, 5, 5, 5, 5, 5, N, N, 5, N, N},
        {N, N, 4, 4, 4, 4, 4, N, N, 5, N, N},
    };
    addDemoMoverTables(t);
    addDemoBlockRows(t);
    addDemoBossRows(t);
    addDemoPlatformRows(t);
    return t;
}

void addDemoActor(std::vector<DemoEntry>& entries) {
    entries.push_back({kActorTablesEntry, [] { return encodeActorTables(demoActorTables()); }});
}

}  // namespace kit
