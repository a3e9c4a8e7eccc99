// The hazard family's own switch: the ambient field's on flag.
#include "game/behaviour/hazards_fields.h"

namespace game::behaviour::hf {

namespace {
bool g_ambientOn = true;
}  // namespace

bool ambientAnimOn() { return g_ambientOn; }
void setAmbientAnimOn(bool on) { g_ambientOn = on; }
void resetHazardStatics() { g_ambientOn = true; }

}  // namespace game::behaviour::hf
