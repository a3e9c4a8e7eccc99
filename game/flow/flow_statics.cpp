// The sound front end's statics contribution (flow_statics.h).
#include "game/flow/flow_statics.h"

namespace game {

namespace {
void KTLibPlayer_clinit() { ktl().channelCount = 2; }
}  // namespace

StaticsContribution g_KTLibPlayerStatics =
    contribution<KTLibPlayerStatics>("KTLibPlayer", kClinitSoundPlayer, &KTLibPlayer_clinit);

}  // namespace game
