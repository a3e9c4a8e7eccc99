// The world code's statics contribution; every field starts at zero.
#include "game/world/statics.h"

#include "game/data/statics.h"

namespace game {

StaticsContribution g_WorldStatics = contribution<WorldStatics>("cGame.world", kClinitCGame + 1, nullptr);

void registerWorldStatics() { StaticClass::contribute(&g_WorldStatics); }

}  // namespace game
