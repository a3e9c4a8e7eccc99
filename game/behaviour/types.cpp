// The actor type table's storage (see types.h). Out-of-range types read as
// empty rows and writes to them are ignored with a log line.
#include "game/behaviour/types.h"

#include <array>

#include "runtime/log.h"

namespace game::behaviour {

namespace {

struct Row {
    UpdateFn update = nullptr;
    PaintFn paint = nullptr;
    TypeNeeds needs;
};

std::array<Row, kTypeCount> g_rows;

const std::array<Row, kTypeCount>& rows() { return g_rows; }

bool inRange(jint type) { return type >= 0 && type < kTypeCount; }

Row* rowFor(jint type, const char* what) {
    if (inRange(type)) return &g_rows[static_cast<size_t>(type)];
    logPrintf("Behaviour table: %s for type %d ignored", what, type);
    return nullptr;
}

}  // namespace

void setUpdate(jint type, UpdateFn fn) {
    if (Row* r = rowFor(type, "routine")) r->update = fn;
}

void setPaint(jint type, PaintFn fn) {
    if (Row* r = rowFor(type, "painter")) r->paint = fn;
}

void setNeeds(jint type, TypeNeeds needs) {
    if (Row* r = rowFor(type, "needs")) r->needs = needs;
}

UpdateFn updateFor(jint type) { return inRange(type) ? rows()[static_cast<size_t>(type)].update : nullptr; }
PaintFn paintFor(jint type) { return inRange(type) ? rows()[static_cast<size_t>(type)].paint : nullptr; }
TypeNeeds needsFor(jint type) { return inRange(type) ? rows()[static_cast<size_t>(type)].needs : TypeNeeds{}; }

bool updateType(jint type, cActor* self) {
    UpdateFn fn = updateFor(type);
    if (!fn || !self) return false;
    fn(self);
    return true;
}

bool paintType(jint type, cActor* self, jint dx, jint dy) {
    PaintFn fn = paintFor(type);
    if (!fn || !self) return false;
    fn(self, dx, dy);
    return true;
}

void registerAllTypes() {
    g_rows = {};
    registerCoreTypes();
    registerBlockTypes();
    registerMoverTypes();
    registerEnemyTypes();
    registerBossTypes();
    registerHazardTypes();
    registerPlatformTypes();
}

}  // namespace game::behaviour
