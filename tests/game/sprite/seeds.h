// Sprite files for fuzzing and its replay: valid files of every layout
// (a rich sprite under each flag combination, a remapped one, a font) and
// the content kit's damaged variants of each.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/kit/bytes.h"

namespace spritetest {

struct SeedFile {
    std::string name;
    kit::Bytes bytes;
    bool valid;
};

std::vector<SeedFile> spriteSeeds(bool withDamage);

}  // namespace spritetest
