// Level table fixtures for the world tests and fuzzers: a small level
// description compiled by the content kit, and the kit's damaged variants
// of its object list, script table and region table.
#pragma once

#include "tools/kit/damage.h"
#include "tools/kit/level.h"

#include <string>
#include <vector>

namespace worldtest {

// A level of a few records, scripts of every operand shape and two regions.
extern const char* const kSeedLevel;

struct SeedFile {
    std::string name;
    kit::Bytes bytes;
    bool valid = false;
};

// The valid table of that kind first, then its damaged variants.
std::vector<SeedFile> tableSeeds(kit::FileKind kind);

}  // namespace worldtest
