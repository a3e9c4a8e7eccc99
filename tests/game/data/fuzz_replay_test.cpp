// Every fuzz target over its kit-made seeds, valid and damaged: no crash,
// no overrun (under the sanitizers), no exception left pending, and the
// valid seeds read back as written.
#include <gtest/gtest.h>

#include "game/data/pack.h"
#include "game/data/textpack.h"
#include "tests/game/data/fuzz/targets.h"
#include "tests/game/data/support.h"

namespace {

using namespace datatest;
using datafuzz::Target;

class FuzzReplayTest : public GameDataTest, public testing::WithParamInterface<Target> {};

TEST_P(FuzzReplayTest, SeedsRunCleanly) {
    const std::vector<datafuzz::Seed> all = datafuzz::seeds(GetParam(), true);
    ASSERT_GT(all.size(), 3u);
    for (const datafuzz::Seed& s : all) {
        SCOPED_TRACE(s.name);
        datafuzz::exercise(GetParam(), s.bytes.data(), s.bytes.size());
        EXPECT_EQ(Application::pendingException(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest,
                         testing::Values(Target::Pack, Target::Text, Target::Node, Target::Layers, Target::Progress),
                         [](const testing::TestParamInfo<Target>& i) { return std::string(datafuzz::targetName(i.param)); });

TEST_F(GameDataTest, ValidTextSeedReadsBack) {
    const auto seed = datafuzz::seeds(Target::Text, false).front();
    datafuzz::exercise(Target::Text, seed.bytes.data(), seed.bytes.size());
    EXPECT_EQ(utf8(game::getString((3 << 16) | 1)), "TWO\x03");
}

}  // namespace
