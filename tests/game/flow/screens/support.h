// Shared fixture of the screens' tests: an application with lcdui's, the
// sprite engine's, the game's and the screens' static fields and the kit's
// string pool; the class initialisers have run. Log capture for the
// error-path tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/data/statics.h"
#include "game/flow/screens/actorseam.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/screens.h"
#include "runtime/runtime.h"
#include "tests/game/sprite/support.h"

namespace screenstest {

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Captures the runtime log for its lifetime.
using LogCapture = spritetest::LogCapture;

// The seed of the game's own generator (tests set it to replay a show).
void setRandomSeed(jint seed);
jint randomSeed();
// Puts texts into text slot `slot` as a cached pack (index i = texts[i]).
void setTexts(jint slot, const std::vector<std::string>& texts);
// Deferred state requests, recorded by run() and drain(): {op, state}, op
// 0 set, 1 push, 2 pop (state -1), 3 switch; cleared by the fixture.
std::vector<std::pair<jint, jint>>& requests();
// Sends a handler a message, then records the request it left pending.
void run(void (*handler)(jint), jint message);
// Records the pending request, if any, and clears it.
void drain();
void setStateTicks(jint n);
// The state machine's stack: current state over the covered ones (bottom
// first).
void setStack(jint current, const std::vector<jint>& covered);
// Game keys newly pressed and held this step.
void setKeys(jint pressed, jint held = 0);
// A recording actor seam, installed by the fixture.
struct FakeActors : game::ScreenActorHooks {
    jint specialItems = 0;
    jint itemIds[2] = {0, 0};
    std::function<jint(jint, jint)> subtypeParams;
    jint actionMask = 0;
    jint flagWord = 0;
    std::vector<std::pair<cActor*, jint>> scales;

    jint specialItemCount() override { return specialItems; }
    void setLevelItemId(bool fourth, jint id) override { itemIds[fourth ? 1 : 0] = id; }
    jint levelItemId(bool fourth) override { return itemIds[fourth ? 1 : 0]; }
    jint subtypeParam(jint subtype, jint i) override { return subtypeParams ? subtypeParams(subtype, i) : -1; }
    void setScale(cActor* actor, jint percent) override { scales.emplace_back(actor, percent); }
    jint heroActionMask() override { return actionMask; }
    void setHeroActionMask(jint bits) override { actionMask = bits; }
    jint heroFlagWord() override { return flagWord; }
    jint livesLeft = 0;
    jint lives() override { return livesLeft; }

    // Heads-up display: effects are plain objects standing for actors.
    struct Spawn {
        jint anim, x, y, layer, flags, effectId;
    };
    std::vector<Spawn> spawns;
    std::vector<cActor*> deactivated, painted;
    bool ended = false;
    jint flagsOfActors = 0, animationOfActors = -1;
    jint subtype = -1, state = -1, animation = -1, scaleParam = 0;
    jint levelMark = 0;
    cActor* spawnEffect(BSprite*, jint anim, jint x, jint y, jint layer, jint flags, jint effectId) override {
        spawns.push_back({anim, x, y, layer, flags, effectId});
        return reinterpret_cast<cActor*>(newObject<Object>(cid::Object));
    }
    bool animationEnded(cActor*) override { return ended; }
    jint actorFlags(cActor*) override { return flagsOfActors; }
    jint actorAnimation(cActor*) override { return animationOfActors; }
    void deactivate(cActor* a) override { deactivated.push_back(a); }
    void paintActor(cActor* a) override { painted.push_back(a); }
    jint heroSubtype() override { return subtype; }
    jint heroState() override { return state; }
    jint heroAnimation() override { return animation; }
    jint heroScaleParam() override { return scaleParam; }
    void setLevelMark(jint v) override { levelMark = v; }
    std::vector<cActor*> animated;
    void advanceAnimation(cActor* a) override { animated.push_back(a); }
};
FakeActors& actors();

}  // namespace screenstest
