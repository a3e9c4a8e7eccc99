// The screens' static struct and its contribution to the statics block.
#include "game/flow/screens/screens.h"

#include <algorithm>

namespace game {

StaticsContribution g_ScreensStatics = contribution<ScreensStatics>("cGame", kClinitScreens, nullptr);

void registerScreenStatics() { StaticClass::contribute(&g_ScreensStatics); }

void appendScreenStatics(std::vector<const StaticsContribution*>& list) {
    if (std::find(list.begin(), list.end(), &g_ScreensStatics) == list.end()) list.push_back(&g_ScreensStatics);
}

}  // namespace game
