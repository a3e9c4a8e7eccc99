// Checkpoints: where the level resumes after the hero is lost (the ground
// below the hero, or its own y in the auto-run state), copies of the
// statistics, the records' attribute nibbles and the camera.
#pragma once

#include "runtime/array.h"

class cActor;

namespace game::world {

void setCheckpoint(cActor* actor);
void initCheckpoint();
void saveCheckpointStats();
void restoreCheckpointCamera();
void copyLowNibbleToHigh(ByteArray* bytes);
void commitRecordFlags();

}  // namespace game::world
