// Actor messages 2-61: the common reactions that behaviour routines ask of
// an actor. Result 63 means handled with nothing to report; any other value
// is the AI state the sender should enter. Unknown numbers do nothing.
#pragma once

#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Message `message` with the source flag word and one parameter.
jint onMessage(cActor* self, jint sourceFlags, jint message, jint parameter);
// The hit result of messages 22 and 60 (63 when nothing follows).
jint onHitBySubtype(cActor* self, jint parameter);

}  // namespace game::behaviour
