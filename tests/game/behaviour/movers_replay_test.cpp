// Replays of the movers' and enemies' demo levels: each level as the kit
// compiles it, run headless through the in-game passes (level objects,
// active list, hero frame, camera) for a fixed number of steps from a
// fixed seed, one trace record per step (hero; each active actor's type,
// AI state, position, animation, contact bits and hit points; pool spawns
// and removals), compared with a golden trace with the first divergence
// reported; the invariants (pool of 200, the hero out of solid cells and
// in the map) checked every step. BRAMBLE_UPDATE_GOLDEN=1 rewrites the
// goldens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "game/actor/pool.h"
#include "game/behaviour/fields.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/behaviour/core_support.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/hero_sprite.h"
#include "tools/kit/sprite.h"

namespace {

namespace w = game::world;
using game::behaviour::heroState;
using game::behaviour::runSpeedFactor;

ByteArray* bytesOf(const kit::Bytes& b) {
    ByteArray* a = newByteArray(static_cast<jint>(b.size()));
    for (size_t i = 0; i < b.size(); ++i) a->data()[i] = static_cast<jbyte>(b[i]);
    return a;
}

// The sprites the demo rows name: the hero's and the numbered effect sprite (8, 18).
void installSprites() {
    struct Entry {
        jint id, group;
        kit::SpriteModel model;
    };
    const Entry entries[] = {{0, 19, kit::heroSprite()}, {8, 18, kit::heroEffectSprite(8)}};
    ObjectArray* index = newObjectArray(cid::IntArray, 32);
    game::cg().spriteIndex = index;
    ObjectArray* sprites = newObjectArray(cid::Object, 1 + static_cast<jint>(std::size(entries)));
    game::cg().sprites = sprites;
    jint slot = 1;
    for (const Entry& e : entries) {
        IntArray* group = newIntArray(64);
        ObjectArray::set(game::cg().spriteIndex, e.group, group);
        static_cast<IntArray*>(game::cg().spriteIndex->data()[e.group])->data()[e.id] = slot;
        BSprite* sprite = newObject<BSprite>();
        ObjectArray::set(game::cg().sprites, slot, sprite);
        ByteArray* data = bytesOf(kit::encodeSprite(e.model));
        static_cast<BSprite*>(game::cg().sprites->data()[slot])->load(data, 0);
        ++slot;
    }
}

std::string hex(jint v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%x", static_cast<unsigned>(v));
    return b;
}

class MoverReplay : public behaviourtest::BehaviourTest {
protected:
    // Loads a demo level and its hero (the level's first record).
    void load(const char* description) {
        installSprites();
        game::cg().randomSeed = 5;
        behaviourtest::loadLevel(description);
        hero = game::spawnActor(game::cg().recordValues, w::recordLength(0), 0);
        ASSERT_NE(hero, nullptr);
        game::cg().hero = hero;
        if (!hero->motion) hero->allocMotionState();
        hero->physicsFlags |= 0x1000000 | 1;
        if (!hero->savedBox) hero->savedBox = newShortArray(4);
        game::setVariable(3, 3, false);
        game::hero::setHeroState(hero, 0);
        w::resetCamera();
        live = liveActors();
    }

    std::map<cActor*, jint> liveActors() {
        std::map<cActor*, jint> m;
        for (jint i = 0; i < game::cg().actorCount; ++i)
            if (cActor* a = game::poolActor(i)) m[a] = a->uniqueId;
        return m;
    }

    void step(int n) {
        w::updateLayerOffsets();
        w::updateLevelObjects();
        w::updateAllActors();
        if (w::isAnyScriptActive()) {
            w::runLevelScripts();
            w::resumeBlockedScript();
        }
        w::updateHeroFrame();
        w::updateCamera(1);
        record(n);
        check(n);
    }

    void record(int step) {
        const std::string n = std::to_string(step);
        const jint* mo = hero->motion->data();
        trace.push_back(n + " hero state=" + std::to_string(heroState()) + " x=" + std::to_string(hero->posX) +
                        " y=" + std::to_string(hero->posY) + " vx=" + std::to_string(mo[2]) +
                        " vy=" + std::to_string(mo[3]) + " anim=" + std::to_string(hero->anim) +
                        " health=" + std::to_string(game::getVariable(3)) +
                        " actors=" + std::to_string(game::cg().activeActorCount));
        for (jint i = 0; i < game::cg().activeActorCount; ++i) {
            cActor* a = game::activeActor(i);
            if (!a || a == hero) continue;
            const jint hp = a->parts && a->parts->length() > 2 ? a->parts->data()[2] : -1;
            trace.push_back(n + " actor id=" + std::to_string(a->uniqueId) + " type=" + std::to_string(a->type) +
                            " sub=" + std::to_string(a->subtype) + " ai=" + std::to_string(a->aiState) +
                            " x=" + std::to_string(a->posX) + " y=" + std::to_string(a->posY) +
                            " anim=" + std::to_string(a->anim) + " contact=" + hex(a->contactFlags) +
                            " hp=" + std::to_string(hp));
        }
        std::map<cActor*, jint> now = liveActors();
        for (const auto& [a, id] : now) {
            auto it = live.find(a);
            if (it == live.end() || it->second != id) spawned.push_back(a);
        }
        std::sort(spawned.begin(), spawned.end(), [](cActor* x, cActor* y) { return x->uniqueId < y->uniqueId; });
        for (cActor* a : spawned)
            trace.push_back(n + " spawn id=" + std::to_string(a->uniqueId) + " type=" + std::to_string(a->type) +
                            " sub=" + std::to_string(a->subtype));
        spawnedTypes.insert(spawnedTypes.end(), spawned.size(), 0);
        for (size_t k = 0; k < spawned.size(); ++k) spawnedTypes[spawnedTypes.size() - spawned.size() + k] = spawned[k]->type;
        spawned.clear();
        std::vector<jint> gone;
        for (const auto& [a, id] : live) {
            auto it = now.find(a);
            if (it == now.end() || it->second != id) gone.push_back(id);
        }
        std::sort(gone.begin(), gone.end());
        for (jint id : gone) trace.push_back(n + " remove id=" + std::to_string(id));
        removals += static_cast<int>(gone.size());
        live = std::move(now);
    }

    void check(int step) {
        const std::string at = "step " + std::to_string(step) + ": ";
        if (game::cg().actorCount > game::kActorPoolSize || game::cg().activeActorCount > game::kActorPoolSize)
            violations.push_back(at + "more than 200 actors");
        const jshort* b = hero->box->data();
        for (jint r = (b[1] + 1) / 36; r <= (b[3] - 1) / 36; ++r)
            for (jint c = (b[0] + 1) / 36; c <= (b[2] - 1) / 36; ++c) {
                const jint cell = w::collisionCell(c, r);
                if (cell >= 0 && (cell & 0x1FFF) == w::kWall && !(cell & 0x2000))
                    violations.push_back(at + "hero in a solid cell");
            }
        if (hero->posX < 0 || hero->posX > game::cg().mapPixelWidth || hero->posY > game::cg().mapPixelHeight)
            violations.push_back(at + "hero outside the map");
    }

    void compareWithGolden(const std::string& name) {
        for (const std::string& v : violations) ADD_FAILURE() << v;
        const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
        ASSERT_NE(root, nullptr);
        const std::string path = std::string(root) + "/tests/game/behaviour/golden/" + name + ".trace";
        const std::string diff = stepdriver::checkGoldenTrace(path, trace);
        EXPECT_TRUE(diff.empty()) << diff;
    }

    cActor* hero = nullptr;
    std::map<cActor*, jint> live;
    std::vector<cActor*> spawned;
    std::vector<jint> spawnedTypes;
    int removals = 0;
    std::vector<std::string> trace, violations;
};

TEST_F(MoverReplay, EnemiesLevel) {
    load(kit::kDemoEnemies);
    for (int n = 0; n < 240; ++n) step(n);
    // The thrower's program throws each common-AI type in turn; the walker shoots.
    for (const kit::DemoThrow& t : kit::kDemoThrows)
        EXPECT_NE(std::find(spawnedTypes.begin(), spawnedTypes.end(), t.type), spawnedTypes.end()) << t.type;
    EXPECT_NE(std::find(spawnedTypes.begin(), spawnedTypes.end(), 84), spawnedTypes.end());
    EXPECT_GT(removals, 0) << "thrown actors leave";
    compareWithGolden("movers_enemies");
}

TEST_F(MoverReplay, MoversLevel) {
    load(kit::kDemoMovers);
    for (int n = 0; n < 120; ++n) step(n);
    EXPECT_EQ(runSpeedFactor(), 153) << "the hero stands on the slow-down pickup";
    compareWithGolden("movers_movers");
}

TEST_F(MoverReplay, ThrownTypesLiveTheirLifeInTheLevelAndLeave) {
    load(kit::kDemoEnemies);
    std::vector<kit::DemoThrow> all(std::begin(kit::kDemoThrows), std::end(kit::kDemoThrows));
    all.push_back({192, 84});
    for (const kit::DemoThrow& t : all) {
        cActor* a = game::spawnFromTemplate(t.templateId, 600, 300);
        ASSERT_NE(a, nullptr) << t.templateId;
        game::addActiveActor(a);
        const jint id = a->uniqueId;
        EXPECT_EQ(a->type, t.type);
        bool gone = false;
        std::vector<jint> states;
        for (int n = 0; n < 200 && !gone; ++n) {
            step(n);
            gone = true;
            for (jint i = 0; i < game::cg().actorCount; ++i)
                if (game::poolActor(i) == a && a->uniqueId == id) gone = false;
            if (!gone && (states.empty() || states.back() != a->aiState)) states.push_back(a->aiState);
            // Out of the active area a leaving actor waits there for the streaming pass.
            if (!gone && a->aiState == 1 && a->viewRating > 1) gone = true;
        }
        EXPECT_TRUE(gone) << "type " << t.type << " never left; states " << testing::PrintToString(states) << " x " << a->posX << " timer " << a->timer;
        ASSERT_FALSE(states.empty());
        EXPECT_NE(std::find(states.begin(), states.end(), 6), states.end()) << "type " << t.type << " was active";
    }
    for (const std::string& v : violations) ADD_FAILURE() << v;
}

TEST(MoverReplayCompare, FirstDivergenceNamesStepAndField) {
    const std::vector<std::string> a = {"0 hero state=0 x=1", "1 actor id=5 type=6 ai=3 x=10"};
    const std::vector<std::string> b = {"0 hero state=0 x=1", "1 actor id=5 type=6 ai=5 x=10"};
    auto d = stepdriver::compareTraces(a, b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->step, 1);
    EXPECT_EQ(d->field, "actor.ai");
}

}  // namespace
