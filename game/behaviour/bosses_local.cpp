// The boss family's shared helpers (bosses_local.h): bounded pattern reads,
// linked entries and the defeat script start.
#include "game/behaviour/bosses_local.h"

#include "runtime/log.h"

namespace game::behaviour::bossutil {

namespace {

jint codeAt(IntArray* table, jint i) {
    return table && i >= 0 && i < table->length() ? table->data()[i] : -1;
}

}  // namespace

jint mordleCode(jint i) { return codeAt(mordle().stepTable, i); }
jint magicianCode(jint i) { return codeAt(magician().stepTable, i); }
jint bossMaskCount() { return mordle().maskTable ? mordle().maskTable->length() : 0; }

jint mordleLength() { return mordle().stepTable ? mordle().stepTable->length() : 0; }
jint magicianLength() { return magician().stepTable ? magician().stepTable->length() : 0; }

cActor* linkedAt(cActor* a, jint i) {
    auto* arr = static_cast<ObjectArray*>(a->linked);
    if (!arr || i < 0 || i >= arr->length()) return nullptr;
    return static_cast<cActor*>(arr->data()[i]);
}

void setLinkedAt(cActor* a, jint i, cActor* v) {
    auto* arr = static_cast<ObjectArray*>(a->linked);
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
    return slot >= 0 && slot < cg().actorCount && poolActor(slot) == a;
}

}  // namespace game::behaviour::bossutil
