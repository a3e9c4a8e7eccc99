// Stand-ins for the link-path movers and approach routines still to come:
// each does nothing and answers 0, false or null. Each goes when its routine
// lands.
#include "game/behaviour/approach.h"
#include "game/behaviour/linkpath.h"

namespace game::behaviour {

// --- link paths ---
void startLinkLeg(cActor*) {}
void waitThenStartLinkLeg(cActor*, jint) {}
void enterDropState(cActor*) {}
void enterSinkState(cActor*) {}
void enterRiseState(cActor*) {}
jint snapToLinkLine(jint, cActor*, jint) { return 0; }
void loadLinkChain(cActor*, jint, jint) {}
cActor* findLinkedActor(cActor*) { return nullptr; }
bool containsHeroTop(cActor*) { return false; }
jint vectorLength(jint, jint) { return 0; }
bool arriveAt(cActor*, jint, jint) { return false; }
void setAiStateByLink(cActor*) {}
bool isLinkPointAhead(cActor*, jint) { return false; }
void moveToLinkRow(cActor*, jint, jint) {}
IntArray* buildCurvePath(jint, jint, jint, jint, jint, jint, jint) { return nullptr; }

// --- approach and contact ---
bool approachAxis(cActor*, jint, jint, jint) { return false; }
void approachSteerY(cActor*) {}
void approachSteerX(cActor*) {}
jint arriveAndFaceHero(cActor*) { return 0; }
jint leaveCameraLimits(cActor*) { return 0; }
void hazardContact(cActor*) {}
void contactType8(cActor*, cActor*) {}
void fallAsType11(cActor*) {}

}  // namespace game::behaviour
