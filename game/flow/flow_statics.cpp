// The flow code's static structs and their contributions to the statics
// block (flow_statics.h).
#include "game/flow/flow_statics.h"

#include <algorithm>

namespace game {

namespace {
void KTLibPlayer_clinit() { ktl().channelCount = 2; }
}  // namespace

// Zero-start fields: no initialiser of their own beyond the block's zero fill.
StaticsContribution g_FlowStatics = contribution<FlowStatics>("cGame (flow)", kClinitCGame, nullptr);
StaticsContribution g_KTLibPlayerStatics =
    contribution<KTLibPlayerStatics>("KTLibPlayer", kClinitSoundPlayer, &KTLibPlayer_clinit);

namespace {
StaticsContribution* const kAll[] = {&g_FlowStatics, &g_KTLibPlayerStatics};
}

void registerFlowStatics() {
    for (StaticsContribution* c : kAll) StaticClass::contribute(c);
}

void appendFlowStatics(std::vector<const StaticsContribution*>& list) {
    for (const StaticsContribution* c : kAll)
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
}

void registerAllGameStatics() {
    registerGameStatics();
    registerFlowStatics();
}

}  // namespace game
