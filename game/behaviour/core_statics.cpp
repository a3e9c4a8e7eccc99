// The behaviour statics' contribution and class initialiser: the scratch
// boxes and the spark and queue tables exist from start-up, so routines
// index them without a null test; everything else starts at zero.
#include "game/behaviour/behaviour.h"
#include "game/behaviour/bosses.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/setup.h"

#include <cstdlib>

#include "runtime/log.h"

namespace game::behaviour {

namespace {

constexpr jint kSparkCount = 5;
constexpr jint kType2QueueLength = 8;

void behaviourClinit() {
    BehaviourStatics& s = *statics<BehaviourStatics>(g_behaviourStatics);
    s.presentMark = kBehaviourStaticsMark;
    s.scratchBox = newShortArray(4);
    s.scratchBox2 = newShortArray(4);
    s.sparkTimers = newIntArray(kSparkCount);
    s.sparkParts = newIntArray(kSparkCount);
    s.sparkAngles = newIntArray(kSparkCount);
    s.type2Queue = newIntArray(kType2QueueLength);
    s.scriptsEnabled = 1;
    clearPaddingLog();
}

}  // namespace

StaticsContribution g_behaviourStatics =
    contribution<BehaviourStatics>("cActor.behaviour", kClinitActor + 2, &behaviourClinit);

void behaviourStaticsMissing() {
    logPrintf("Behaviour statics missing: the application was started without registerBehaviours()");
    std::abort();
}

void registerBehaviours() {
    StaticClass::contribute(&g_behaviourStatics);
    registerBossStatics();
}
const StaticsContribution* behaviourStaticsContribution() { return &g_behaviourStatics; }

}  // namespace game::behaviour
