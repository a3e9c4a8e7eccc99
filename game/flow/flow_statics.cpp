// The flow code's static structs and their contributions to the statics
// block (flow_statics.h).
#include "game/flow/flow_statics.h"

namespace game {

namespace {
void KTLibPlayer_clinit() { ktl().channelCount = 2; }
}  // namespace

// Zero-start fields: no initialiser of their own beyond the block's zero fill.
StaticsContribution g_FlowStatics = contribution<FlowStatics>("cGame (flow)", kClinitCGame, nullptr);
StaticsContribution g_KTLibPlayerStatics =
    contribution<KTLibPlayerStatics>("KTLibPlayer", kClinitSoundPlayer, &KTLibPlayer_clinit);

}  // namespace game
