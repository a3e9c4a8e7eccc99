// Storage behind the hazard family's field names (hazards_fields.h) and
// the family's own statics.
#include "game/behaviour/hazards_fields.h"

#include <array>

#include "game/world/hero/hero_statics.h"

namespace game::behaviour::hf {

namespace {

struct HazardStatics {
    std::array<jint, 5> sparkTimers{};
    std::array<jint, 5> sparkParts{};
    std::array<jint, 5> sparkAngles{};
    jint flyByFrames = 0;
    bool ambientAnimOn = true;
};

HazardStatics g_statics;

}  // namespace

jint& counter(cActor* a) { return a->work140; }
jint& originX(cActor* a) { return a->work236; }
jint& originY(cActor* a) { return a->work240; }
jint& spanRight(cActor* a) { return a->work244; }
jint& cycleCount(cActor* a) { return a->work284; }
jint& cycleCountB(cActor* a) { return a->work288; }
ObjectArray* linked(cActor* a) { return static_cast<ObjectArray*>(a->auxRef); }
void setLinked(cActor* a, ObjectArray* v) { a->auxRef = v; }

jint frameTick() { return cg().playFrames; }
jint& quakeFrames() { return cg().shakeTimer; }
jint quakeOffset() { return cg().shakeOffset; }
jint& boostFrames() { return game::hero::hs().boostFrames; }
jint runSpeedFactor() { return game::hero::hs().runSpeedFactor; }
jint worldFlags() { return game::hero::hs().worldFlags; }
bool ambientAnimOn() { return g_statics.ambientAnimOn; }
void setAmbientAnimOn(bool on) { g_statics.ambientAnimOn = on; }

jint* sparkTimers() { return g_statics.sparkTimers.data(); }
jint* sparkParts() { return g_statics.sparkParts.data(); }
jint* sparkAngles() { return g_statics.sparkAngles.data(); }
jint& flyByFrames() { return g_statics.flyByFrames; }

void resetHazardStatics() { g_statics = HazardStatics{}; }

}  // namespace game::behaviour::hf
