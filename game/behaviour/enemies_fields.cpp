// Storage of the boss helpers named in fields_enemies.h.
#include "game/behaviour/fields_enemies.h"

namespace game::behaviour {

namespace {
cActor* g_bossMinion = nullptr;
cActor* g_bossMinionB = nullptr;
}  // namespace

cActor*& bossMinion() { return g_bossMinion; }
cActor*& bossMinionB() { return g_bossMinionB; }

}  // namespace game::behaviour
