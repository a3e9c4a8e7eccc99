// The type table: rows by type, empty rows outside 0-111, the same table
// after every registration, and the hooks' dispatch through it.
#include <gtest/gtest.h>

#include "game/behaviour/behaviour.h"
#include "game/behaviour/types.h"

namespace {

using namespace game::behaviour;

int g_calls = 0;
void countingRoutine(cActor*) { ++g_calls; }

TEST(BehaviourTypes, RowsOutsideTheTableAreEmptyAndWritesThereIgnored) {
    registerAllTypes();
    for (jint t : {-1, 112, 113, 1000}) {
        setUpdate(t, countingRoutine);
        EXPECT_EQ(updateFor(t), nullptr) << t;
        EXPECT_EQ(paintFor(t), nullptr) << t;
        EXPECT_EQ(needsFor(t).params, 0) << t;
    }
}

TEST(BehaviourTypes, RegistrationStartsFromAnEmptyTable) {
    registerAllTypes();
    UpdateFn before = updateFor(111);
    setUpdate(111, countingRoutine);
    setNeeds(111, {3, 4, 5});
    EXPECT_EQ(updateFor(111), countingRoutine);
    EXPECT_EQ(needsFor(111).parts, 4);
    registerAllTypes();
    EXPECT_EQ(updateFor(111), before);
    EXPECT_EQ(needsFor(111).parts, 0);
}

TEST(BehaviourTypes, UpdatesDispatchThroughTheTable) {
    installBehaviours();
    g_calls = 0;
    UpdateFn saved = updateFor(110);  // a passive type: no routine of its own
    EXPECT_EQ(saved, nullptr);
    EXPECT_FALSE(updateType(110, nullptr));
    setUpdate(110, countingRoutine);
    // A null actor is never handed to a routine.
    EXPECT_FALSE(updateType(110, nullptr));
    EXPECT_EQ(g_calls, 0);
    EXPECT_FALSE(updateType(112, nullptr));
    EXPECT_NE(updateFor(0), nullptr);  // the hero
    uninstallBehaviours();
    registerAllTypes();
}

}  // namespace
