// Progress-record fixtures for the menu screens: a fresh record, a game in
// the middle, every stage open, the last stage open, and damaged records
// (a difficulty outside 1-3, stored stages past the last, a short record).
#pragma once

#include <string>
#include <vector>

#include "tools/kit/bytes.h"

namespace kit {

struct ProgressFixture {
    std::string name;
    Bytes bytes;
    bool damaged;
};

std::vector<ProgressFixture> screenProgressFixtures();

}  // namespace kit
