// Fixture of the boss tests (see bosses_support.h).
#include "tests/game/behaviour/bosses_support.h"

#include "game/flow/flow_statics.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/behaviour/types.h"
#include "game/data/statics.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/describe.h"
#include "tools/kit/level.h"

namespace bossestest {

namespace {

// Every animation 0..127: three frames of one step.
std::string spriteText() {
    std::string s =
        "sprite\npalette-format 6505\npixel-format 64F0\npalette 00000000 FF305020\n"
        "module fill FFFF0000 8 8\nframe\nfm 0 0 0\n";
    for (int a = 0; a < 128; ++a) s += "anim\naf 0 1\naf 0 1\naf 0 1\n";
    return s;
}

BSprite* testSprite() {
    ObjectArray* slots = game::cg().levelSprites;
    return slots && slots->length() > 0 ? static_cast<BSprite*>(slots->data()[0]) : nullptr;
}

}  // namespace

void BossTest::SetUp() {
    behaviourtest::BehaviourTest::SetUp();
    BSprite* s = spritetest::loadSprite(kit::parseSpriteDescription(spriteText()));
    ASSERT_NE(s, nullptr);
    ASSERT_NE(game::cg().levelSprites, nullptr);
    ObjectArray::set(game::cg().levelSprites, 0, s);
    game::cg().levelFinished = 0;
}

int BossTest::levelEnds() const { return game::cg().levelFinished ? 1 : 0; }

cActor* BossTest::spawn(const std::vector<int16_t>& record) {
    cActor* a = behaviourtest::spawnRecord(record);
    if (!a) return nullptr;
    if (!a->sprite) a->sprite = testSprite();
    // The arrays the type's routine reads (set-up makes them; made here too
    // when set-up left them out), hit points at parts[2] from the class.
    const game::behaviour::TypeNeeds needs = game::behaviour::needsFor(a->type);
    if (needs.parts > 0 && (!a->parts || a->parts->length() < needs.parts)) {
        IntArray* p = newIntArray(needs.parts);
        p->data()[2] = game::getSubtypeClass(a->subtype);
        a->parts = p;
    }
    if (needs.linked > 0 && (!a->linked || static_cast<ObjectArray*>(a->linked)->length() < needs.linked))
        a->linked = newObjectArray(cid::cActor, needs.linked);
    return a;
}

cActor* BossTest::arena(int bossType, jint heroX) {
    const std::string text = kit::bossArenaLevel(bossType);
    EXPECT_FALSE(text.empty()) << bossType;
    behaviourtest::loadLevel(text);
    hero = behaviourtest::makeHero(heroX, 431);
    game::world::setCameraLimits(36, 0, 836, 432);
    game::cg().cameraX = 436;
    game::cg().cameraY = 240;
    cActor* boss = nullptr;
    for (const kit::LevelRecord& r : kit::parseLevelDescription(text).objects) {
        if (r.values.empty() || r.values[0] == 0 || (r.values[0] >= 2000 && r.values[0] <= 2002)) continue;
        cActor* a = spawn(r.values);
        if (a && r.values.size() > 1 && r.values[1] == 100) boss = a;
        if (a) game::addActiveActor(a);
    }
    EXPECT_NE(boss, nullptr);
    return boss;
}

void BossTest::step() {
    std::vector<cActor*> actors;
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        cActor* a = game::poolActor(i);
        if (a && a != hero) actors.push_back(a);
    }
    for (cActor* a : actors) {
        // An actor removed during this step (its slot reused or gone) is skipped.
        if (a->poolSlot < 0 || a->poolSlot >= game::cg().actorCount || game::poolActor(a->poolSlot) != a) continue;
        if (!a->sprite) a->sprite = testSprite();
        a->update();
    }
}

void BossTest::finishAnim(cActor* a) {
    a->animPasses = 1;
    a->frame = 0;
    a->frameTick = 0;
}

void expectGolden(const std::string& name, const std::string& text) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "BRAMBLE_SOURCE_DIR is not set";
    const std::string path = std::string(root) + "/tests/game/behaviour/golden/" + name + ".txt";
    if (std::getenv("BRAMBLE_UPDATE_GOLDEN")) {
        std::ofstream out(path, std::ios::binary);
        out << text;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing golden " << path << " (run with BRAMBLE_UPDATE_GOLDEN=1)";
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), text) << name;
}

}  // namespace bossestest
