// The behaviours' set-up step among the class initialisers: their static
// fields are cActor's and cGame's (game/behaviour/behaviour_fields.h), made
// by those classes' initialisers; this step only forgets what the previous
// application logged once (the padded subtypes).
#include "game/behaviour/behaviour.h"
#include "game/behaviour/setup.h"
#include "game/data/statics.h"

#include <algorithm>

namespace game::behaviour {

namespace {

struct NoFields {};

void behaviourSetUp() { clearPaddingLog(); }

StaticsContribution g_behaviourSetUp =
    StaticsContribution::of<NoFields>("cActor (behaviours)", kClinitActor + 2, &behaviourSetUp);

}  // namespace

void registerBehaviours() {
    const auto& r = StaticClass::registered();
    if (std::find(r.begin(), r.end(), &g_behaviourSetUp) == r.end()) StaticClass::contribute(&g_behaviourSetUp);
}
const StaticsContribution* behaviourStaticsContribution() { return &g_behaviourSetUp; }

}  // namespace game::behaviour
