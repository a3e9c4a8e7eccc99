// The cross-promotion screen's demo content: its pack in the archive, the
// pool texts it names, and the link properties of the descriptor.
#pragma once

#include "tools/kit/demo.h"
#include "tools/kit/jad.h"

namespace kit {

inline constexpr const char* kDemoShowcasePack = "promo.pak";

void addDemoShowcase(std::vector<DemoEntry>& entries);
void addDemoShowcasePool(StringPool& pool);
void addDemoShowcaseJad(JadProperties& props);

}  // namespace kit
