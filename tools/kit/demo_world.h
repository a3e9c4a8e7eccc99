// The world's demo stage (see demo_world.cpp).
#pragma once

#include "tools/kit/demo.h"

#include <vector>

namespace kit {

extern const char* const kDemoStage;
void addDemoWorld(std::vector<DemoEntry>& out);

}  // namespace kit
