// The behaviours' statics and start-up. The rest of the game calls the
// behaviour routines by name (routines.h, types.h and the families'
// headers); this only registers the statics and fills the type table.
//
//   game::behaviour::registerBehaviours();   // before Application::init (idempotent)
//   game::behaviour::appendBehaviourStatics(list);  // or this, with a statics list
//   game::behaviour::installBehaviours();    // after Application::init (idempotent)
#pragma once

#include <vector>

#include "runtime/statics.h"

namespace game::behaviour {

// Adds the behaviours' set-up step to the statics block (idempotent); their
// fields are cActor's and cGame's.
void registerBehaviours();
// The step itself, for an application configured with a list.
const StaticsContribution* behaviourStaticsContribution();

// The behaviours' contributions, for an application configured with a list.
void appendBehaviourStatics(std::vector<const StaticsContribution*>& list);

// The type table filled afresh.
void installBehaviours();

}  // namespace game::behaviour
