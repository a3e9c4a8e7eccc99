// The sound front end with recording fake players: one play per step wins,
// same effect not restarted while playing but after its end, the hero's
// subtype substitution, loops, music ids, stop then play, requests before
// the tables, and a full ring keeping the newest seven records.
#include "game/actor/actor.h"
#include "game/flow/sound.h"

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "tests/game/flow/support.h"

namespace {

using namespace game;
using flowtest::FlowTest;
using Events = std::vector<std::string>;

class SoundTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        KTLibPlayer::allocateChannelTables(kSoundIds);
        flowtest::useFakePlayers();
        for (jint id : {0, 5, 9, 12, 13, 29, 30, 32}) {
            ByteArray* data = newByteArray(2);
            data->data()[0] = static_cast<jbyte>(id);
            KTLibPlayer::loadSound(data, 0, id, false);
        }
        cg().soundOn = 1;
    }
    Events serviced() {
        flowtest::clearPlayerEvents();
        KTLibPlayer::update();
        return flowtest::playerEvents();
    }
};

TEST_F(SoundTest, OnlyTheLastPlayOfAStepStarts) {
    playSound(12);
    playSound(13);
    EXPECT_EQ(serviced(), (Events{"make 13", "loop 13 1", "volume 13 100", "time 13 0", "start 13"}));
    EXPECT_EQ(KTLibPlayer::getChannelSound(1), 13);
}

TEST_F(SoundTest, SameEffectRestartsOnlyAfterItEnded) {
    playSound(12);
    serviced();
    playSound(12);
    EXPECT_EQ(serviced(), Events{});
    flowtest::setPlayersEnded(true);
    playSound(12);
    EXPECT_EQ(serviced(), (Events{"loop 12 1", "volume 12 100", "time 12 0", "start 12"}));
}

TEST_F(SoundTest, HeroSubtypeReplacesSound29) {
    const jint cases[][2] = {{242, 32}, {113, 30}, {237, 30}, {7, 29}};
    // The hero actor of the level (cGame.hero) and its subtype.
    cActor* hero = newObject<cActor>();
    cg().hero = hero;
    for (const auto& c : cases) {
        cg().hero->subtype = c[0];
        playSound(29);
        EXPECT_EQ(lastSoundTrace(), "sound channel 1 " + std::to_string(c[1]) + ",1,100,0");
        KTLibPlayer::update();
        EXPECT_EQ(KTLibPlayer::getChannelSound(1), c[1]);
    }
}

// Each id's trace line is built once and kept: a sound requested again
// reuses it (only the print stream's byte copy is made per request).
TEST_F(SoundTest, TraceLineBuiltOncePerId) {
    playSound(12);
    ASSERT_NE(cg().soundTraceLines, nullptr);
    Object* first = cg().soundTraceLines->data()[12];
    ASSERT_NE(first, nullptr);
    playSound(3);
    EXPECT_EQ(lastSoundTrace(), "sound channel 0 3,1,100,0");
    playSound(12);
    EXPECT_EQ(lastSoundTrace(), "sound channel 1 12,1,100,0");
    EXPECT_EQ(cg().soundTraceLines->data()[12], first);
}

TEST_F(SoundTest, MusicLoopsAndIds) {
    playSound(0);
    EXPECT_EQ(serviced(), (Events{"make 0", "loop 0 -1", "volume 0 100", "time 0 0", "start 0"}));
    EXPECT_EQ(cg().currentMusic, 0);
    EXPECT_TRUE(isMusicPlaying());
    playSound(9);
    serviced();
    EXPECT_FALSE(isMusicPlaying());  // id 9 is not counted as music
    EXPECT_TRUE(isMusicChannelActive());
    playSound(5);
    EXPECT_EQ(cg().currentMusic, 5);
    const Events e = serviced();
    EXPECT_NE(std::find(e.begin(), e.end(), "loop 5 1"), e.end());
}

TEST_F(SoundTest, StopThenPlayRestartsFromTheStart) {
    playSound(12);
    serviced();
    queueStop(1);
    playSound(12);
    EXPECT_EQ(serviced(), (Events{"stop 12", "loop 12 1", "volume 12 100", "time 12 0", "start 12"}));
}

TEST_F(SoundTest, NothingBeforeTheTablesAndIdsOutsideAreIgnored) {
    ktl().soundEnabled = 0;
    playSound(12);
    KTLibPlayer::update();
    EXPECT_TRUE(flowtest::playerEvents().empty());
    ktl().soundEnabled = 1;
    playSound(37);
    playSound(-1);
    EXPECT_EQ(ktl().requestCount->data()[1], 0);
    cg().soundOn = 0;
    playSound(12);
    EXPECT_EQ(ktl().requestCount->data()[1], 0);
}

TEST_F(SoundTest, FullRingKeepsTheNewestSeven) {
    // Rising priority values keep every play pending (none cancels another).
    for (jint a = 0; a < 8; ++a) KTLibPlayer::request(1, 3, 12, a, 100, 1);
    EXPECT_EQ(ktl().requestCount->data()[1], kRingRecords);
    IntArray* out = newIntArray(6);
    for (jint k = 1; k <= kRingRecords; ++k) {
        KTLibPlayer::dequeue(1, out);
        EXPECT_EQ(out->data()[5], kRingRecords - k + 1);
        EXPECT_EQ(out->data()[2], k);  // the oldest (a = 0) was dropped
    }
    KTLibPlayer::dequeue(1, out);
    EXPECT_EQ(out->data()[5], 0);
}

TEST_F(SoundTest, StopAllAndDisable) {
    playSound(0);
    serviced();
    stopAllSoundsAndDisable();
    EXPECT_FALSE(cg().soundOn);
    EXPECT_EQ(cg().currentMusic, -1);
    EXPECT_EQ(serviced(), (Events{"stop 0"}));
}

}  // namespace
