// The loading fuzz target's seeds (the demo files and the kit's damaged
// variants) replayed in the ordinary test run: none crashes, and each is
// either accepted or refused with a log line.
#include "game/flow/flow_statics.h"
#include "game/flow/loading.h"
#include "tests/game/flow/support.h"

namespace {

using flowtest::FlowTest;

class LoadingReplayTest : public FlowTest {};

TEST_F(LoadingReplayTest, SeedsRunThroughThePlanner) {
    const std::vector<flowtest::SeedFile> seeds = flowtest::loadingSeeds();
    ASSERT_GT(seeds.size(), 10u);
    for (const flowtest::SeedFile& s : seeds) {
        SCOPED_TRACE(s.name);
        log.clear();
        flowtest::exerciseLoadingData(s.bytes.data(), s.bytes.size());
        if (!game::cg().loadingTable || !game::cg().groupPrograms) {
            EXPECT_TRUE(log.contains("rejected"));
        }
        EXPECT_GE(game::cg().groupStackTop, 0);
        EXPECT_LE(game::cg().groupStackTop, game::kGroupStack);
    }
}

}  // namespace
