// The boss family's shared helpers (bosses_local.h): bounded pattern reads,
// linked entries, the fight statics and the defeat script start.
#include "game/behaviour/bosses_local.h"

#include <cstdlib>

#include "runtime/log.h"

namespace game::behaviour::bossutil {

namespace {

jint codeAt(IntArray* table, jint i) {
    return table && i >= 0 && i < table->length() ? table->data()[i] : -1;
}

}  // namespace

jint mordleCode(jint i) { return codeAt(mordle().stepTable, i); }
jint magicianCode(jint i) { return codeAt(magician().stepTable, i); }
namespace {
constexpr jint kBossStaticsMark = 0x424F5353;
void bossClinit();
StaticsContribution g_bossStatics = contribution<BossStatics>("cActor.bosses", kClinitActor + 3, &bossClinit);
}  // namespace

BossStatics& boss() {
    BossStatics* s = statics<BossStatics>(g_bossStatics);
    if (s->presentMark != kBossStaticsMark) {
        logPrintf("Boss statics missing: the application was started without registerBehaviours()");
        std::abort();
    }
    return *s;
}

namespace {
void bossClinit() { statics<BossStatics>(g_bossStatics)->presentMark = kBossStaticsMark; }
}  // namespace

jint bossMaskCount() { return mordle().maskTable ? mordle().maskTable->length() : 0; }

jint mordleLength() { return mordle().stepTable ? mordle().stepTable->length() : 0; }
jint magicianLength() { return magician().stepTable ? magician().stepTable->length() : 0; }

cActor* linkedAt(cActor* a, jint i) {
    auto* arr = static_cast<ObjectArray*>(a->auxRef);
    if (!arr || i < 0 || i >= arr->length()) return nullptr;
    return static_cast<cActor*>(arr->data()[i]);
}

void setLinkedAt(cActor* a, jint i, cActor* v) {
    auto* arr = static_cast<ObjectArray*>(a->auxRef);
    if (!arr || i < 0 || i >= arr->length()) return;
    ObjectArray::set(arr, i, v);
}

bool startDefeatScript(jint scriptId) {
    if (world::isAnyScriptActive()) return false;
    jint index = world::findScriptById(scriptId);
    if (index < 0) {
        logPrintf("Boss defeat: script id %d names no script", scriptId);
        return false;
    }
    world::startScript(index);
    return true;
}

bool isLive(cActor* a) {
    if (!a) return false;
    jint slot = a->poolSlot;
    return slot >= 0 && slot < stores().actorCount && poolActor(slot) == a;
}

}  // namespace game::behaviour::bossutil

namespace game::behaviour {

const StaticsContribution* bossStaticsContribution() { return &bossutil::g_bossStatics; }
void registerBossStatics() { StaticClass::contribute(&bossutil::g_bossStatics); }

}  // namespace game::behaviour
