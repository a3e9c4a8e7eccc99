// Firework particles and the show (see firework.h).
#include "game/flow/screens/firework.h"

#include "display/lcdui/lcdui.h"
#include "game/data/routines.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/screens.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"

namespace game {

namespace {

constexpr jint kRocketX = 400 << 8;
constexpr jint kRocketY = 480 << 8;
constexpr jint kSparksPerBurst = 50;
constexpr jint kSparkLife = 30;
constexpr jint kDragNumerator = 243;
constexpr jint kGravity = 25;

// (v * 243) >> 8 with a 64-bit product.
jint drag(jint v) { return static_cast<jint>((static_cast<jlong>(v) * kDragNumerator) >> 8); }

}  // namespace

cGame_Firework::cGame_Firework() : Object(cid::cGame_Firework) {}

void cGame_Firework::init(jint px, jint py, jint pvx, jint pvy, jint pkind, jint plife, jint pdelay, jint panim) {
    x = px;
    y = py;
    vx = pvx;
    vy = pvy;
    kind = pkind;
    life = plife;
    delay = pdelay;
    animation = panim;
    frame = 0;
    frameTime = 0;
}

void cGame_Firework::reset() { init(0, 0, 0, 0, 0, 0, 0, 0); }

void cGame_Firework::update() {
    delay = java::isub(delay, 1);
    if (delay > 0) return;
    life = java::isub(life, 1);
    if (BSprite* s = cg().fireworkSpriteNow) {
        const jint d = s->getAFrameTime(animation, frame);
        const jint frames = s->getAFrameCount(animation);
        if (d != 0 && frames > 0) {
            frameTime = java::iadd(frameTime, 1);
            if (frameTime >= d) {
                frameTime = 0;
                frame = java::irem(java::iadd(frame, 1), frames);
            }
        }
    }
    x = java::iadd(x, vx);
    y = java::iadd(y, vy);
    vy = java::iadd(drag(vy), kGravity);
    vx = drag(vx);
}

void cGame_Firework::paint(javax_microedition_lcdui_Graphics* g) {
    if (delay >= 1) return;
    BSprite* s = cg().fireworkSpriteNow;
    if (!s || !g) return;
    s->paintAFrame(g, animation, frame, x >> 8, y >> 8, 0, 0, 0);
}

BSprite* fireworkSprite() { return getSpriteById(22, 18); }

void randomDirection(jint minSpeed, jint maxSpeed, jint minAngle, jint maxAngle, jint out[2]) {
    const jint angle = randomRange(minAngle, maxAngle);
    const jint speed = randomRange(minSpeed, maxSpeed);
    out[0] = static_cast<jint>((static_cast<jlong>(speed) * fixedSin(java::iadd(angle, 90))) >> 14);
    out[1] = static_cast<jint>((static_cast<jlong>(speed) * fixedSin(angle)) >> 14);
}

void addFirework(cGame_Firework* p) {
    cGameStatics& s = cg();
    if (!s.fireworks || s.fireworkCount < 0 || s.fireworkCount >= s.fireworks->length()) return;
    s.fireworks->data()[s.fireworkCount] = p;
    s.fireworkCount += 1;
    s.fireworksAlive += 1;
}

namespace {

void setUpShow() {
    cGameStatics& s = cg();
    s.fireworkCount = 0;
    s.fireworksAlive = 0;
    s.fireworks = newObjectArray(cid::cGame_Firework, kFireworkCapacity);
    for (jint delay = 0; delay <= 60; delay += 15) {
        jint v[2];
        randomDirection(8192, 8193, 250, 290, v);
        const jint life = 15 + random(15);
        auto* p = newObject<cGame_Firework>();
        p->init(kRocketX, kRocketY, v[0], v[1], 1, life, delay, 0);
        addFirework(p);
    }
    s.fireworkPhase = 1;
}

void burst(jint x, jint y) {
    cg().fireworkFlash = true;
    BSprite* sprite = cg().fireworkSpriteNow;
    const jint animations = sprite ? sprite->getAnimCount() : 0;
    for (jint i = 0; i < kSparksPerBurst; ++i) {
        jint v[2];
        randomDirection(1024, 2048, 0, 360, v);
        const jint animation = random(animations);
        auto* p = newObject<cGame_Firework>();
        p->init(x, y, v[0], v[1], 0, kSparkLife, 0, animation);
        addFirework(p);
    }
}

void advanceShow() {
    cGameStatics& s = cg();
    if (!s.fireworks) return;
    const jint n = s.fireworkCount < s.fireworks->length() ? s.fireworkCount : s.fireworks->length();
    for (jint i = n - 1; i >= 0; --i) {
        // Re-read the array each pass: a burst allocates.
        auto* p = static_cast<cGame_Firework*>(cg().fireworks->data()[i]);
        if (!p || p->life <= 0) continue;
        p->update();
        if (p->life > 0) continue;
        cg().fireworksAlive -= 1;
        if (p->kind == 1) burst(p->x, p->y);
    }
}

}  // namespace

void spawnFireworks() {
    // Looked up once a call: every particle draws from the same sprite.
    cg().fireworkSpriteNow = fireworkSprite();
    switch (cg().fireworkPhase) {
    case 0: setUpShow(); break;
    case 1: advanceShow(); break;
    default: break;
    }
}

void paintFireworks(javax_microedition_lcdui_Graphics* g) {
    cGameStatics& s = cg();
    s.fireworkSpriteNow = fireworkSprite();
    if (s.fireworkFlash) {
        // The burst frame: the flash only resets the clip to the screen.
        s.fireworkFlash = false;
        if (g) g->setClip(0, 0, 480, 800);
        return;
    }
    if (!s.fireworks) return;
    const jint n = s.fireworkCount < s.fireworks->length() ? s.fireworkCount : s.fireworks->length();
    for (jint i = 0; i < n; ++i) {
        auto* p = static_cast<cGame_Firework*>(cg().fireworks->data()[i]);
        if (p && p->life > 0) p->paint(g);
    }
}

void clearFireworkState() {
    cGameStatics& s = cg();
    s.fireworkCount = 0;
    s.fireworksAlive = 0;
    s.fireworks = nullptr;
}

}  // namespace game
