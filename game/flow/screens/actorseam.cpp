// The installed actor seam of the screens (actorseam.h).
#include "game/flow/screens/actorseam.h"

namespace game {

namespace {
ScreenActorHooks g_builtIn;
ScreenActorHooks* g_installed = nullptr;
}  // namespace

ScreenActorHooks& screenActorHooks() { return g_installed ? *g_installed : g_builtIn; }
void setScreenActorHooks(ScreenActorHooks* hooks) { g_installed = hooks; }

}  // namespace game
