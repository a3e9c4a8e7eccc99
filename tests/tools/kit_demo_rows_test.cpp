// The demo actor table is written by several families' row writers; each
// subtype row belongs to one of them. These tests run every writer alone
// over a blank table, check that no two claim the same row, and that the
// demo table keeps what each writer wrote.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/kit/actortables.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/demo_platforms.h"

namespace {

kit::ActorTables blank() {
    kit::ActorTables t;
    for (int r = 0; r < kit::kActorTableRows; ++r) {
        kit::ActorTables::Row row;
        row.subtype = kit::actorRowSubtype(r);
        row.values.assign(r >= 229 ? 14 : r >= 209 ? 13 : 12, 0);
        t.rows.push_back(std::move(row));
    }
    // The writers fill states of the demo programs in place: keep their shapes.
    t.programs = kit::demoActorTables().programs;
    t.stateAnims = kit::demoActorTables().stateAnims;
    return t;
}

struct Family {
    const char* name;
    void (*write)(kit::ActorTables&);
};

const Family kFamilies[] = {
    {"hazards", kit::addDemoHazardRows},
    {"movers", kit::addDemoMoverTables},
    {"blocks", kit::addDemoBlockRows},
    {"bosses", kit::addDemoBossRows},
    {"platforms", kit::addDemoPlatformRows},
};

std::set<int> rowsWritten(const kit::ActorTables& t) {
    const kit::ActorTables base = blank();
    std::set<int> rows;
    for (size_t r = 0; r < t.rows.size(); ++r)
        if (t.rows[r].values != base.rows[r].values) rows.insert(static_cast<int>(r));
    return rows;
}

TEST(KitDemoRows, EveryRowHasOneWriterAndKeepsWhatItWrote) {
    const kit::ActorTables demo = kit::demoActorTables();
    const kit::ActorTables base = blank();
    std::map<int, std::string> owner;
    for (const Family& f : kFamilies) {
        kit::ActorTables t = blank();
        f.write(t);
        const std::set<int> rows = rowsWritten(t);
        EXPECT_FALSE(rows.empty()) << f.name;
        for (int r : rows) {
            auto [it, fresh] = owner.emplace(r, f.name);
            EXPECT_TRUE(fresh) << "row " << r << " written by " << it->second << " and " << f.name;
            // Writers set some fields of a row and keep the rest: compare those set.
            const std::vector<int32_t>& mine = t.rows[static_cast<size_t>(r)].values;
            const std::vector<int32_t>& plain = base.rows[static_cast<size_t>(r)].values;
            const std::vector<int32_t>& kept = demo.rows[static_cast<size_t>(r)].values;
            for (size_t i = 0; i < mine.size(); ++i)
                if (i >= plain.size() || mine[i] != plain[i]) {
                    EXPECT_TRUE(i < kept.size() && kept[i] == mine[i])
                        << "row " << r << " value " << i << " of " << f.name << " overwritten in the demo table";
                }
        }
    }
}

TEST(KitDemoRows, SpawnedTemplatesCarryTheTypesTheirSpawnersExpect) {
    const kit::ActorTables demo = kit::demoActorTables();
    auto typeOf = [&](int row) { return demo.rows[static_cast<size_t>(row)].values[5]; };
    namespace st = kit::hazard_subtypes;
    // A curve generator emits template (its subtype + 1).
    EXPECT_EQ(typeOf(st::kLobGenerator + 1), 49);
    EXPECT_EQ(typeOf(st::kColumnGenerator + 1), 78);
    // The walker's shot and the fly-by's drops are both template 192.
    EXPECT_EQ(typeOf(192), 84);
    for (const kit::DemoThrow& d : kit::kDemoThrows) EXPECT_EQ(typeOf(d.templateId), d.type) << d.templateId;
    // The boss subtypes the game names as targets stay bosses.
    EXPECT_EQ(typeOf(kit::kSubtypeAnchorBossB), 33);
    EXPECT_EQ(typeOf(kit::kSubtypeAnchorBossC), 56);
    EXPECT_EQ(typeOf(kit::kSubtypeAnchorBoss), 24);
}

}  // namespace
