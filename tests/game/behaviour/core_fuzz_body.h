// One fuzz input run on the behaviour library: the bytes give subtype-row
// overrides, a rule program and level records (short, long, odd subtypes,
// zero and huge cell sizes, bad link and item numbers); the actors are made
// through set-up and the level stepped 300 times with input drawn from the
// bytes. Nothing may crash, hang or overrun. The seeds are the shapes of
// the kit's damaged levels, as inputs of this format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace behaviourtest {

// Runs one input (the application must be started); afterStep, when
// given, is called after each of the 300 steps with the step's number.
void runBehaviourFuzzInput(const uint8_t* data, size_t size, const std::function<void(int step)>& afterStep = {});
// The seed inputs.
std::vector<std::vector<uint8_t>> behaviourFuzzSeeds();

}  // namespace behaviourtest
