// The static fields of the io classes, for the statics block.
#pragma once

#include <vector>

#include "runtime/statics.h"

namespace bramble::io {
// Every io contribution, in a fixed order.
const std::vector<StaticsContribution*>& staticsContributions();
// Registers them for every application created afterwards (StaticClass::contribute).
void registerStatics();
}  // namespace bramble::io
