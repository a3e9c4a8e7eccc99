// Hero death and instant kill: kill is the instant death (pits, crushers,
// fall-out); loseLife does the bookkeeping of a lost life.
#pragma once

class cActor;

namespace game::behaviour {

void kill(cActor* self);
void loseLife(cActor* self);

}  // namespace game::behaviour
