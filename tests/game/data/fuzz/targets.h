// The game-data fuzz targets: what one input drives, and the kit-made
// seeds (valid files and their damaged variants) of each.
//   pack      a pack header file: every entry loaded (LZMA included), and
//             the same bytes as a sound content-type table
//   text      a text pack as a plain pack entry and from a stream
//   node      a data node from a stream and as a plain pack entry
//   layers    a level pack: all five layers loaded
//   progress  a stored progress record adopted and read through
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/kit/bytes.h"

namespace datafuzz {

enum class Target { Pack, Text, Node, Layers, Progress };

struct Seed {
    std::string name;
    kit::Bytes bytes;
};

const char* targetName(Target t);
std::vector<Seed> seeds(Target t, bool withDamaged);
// Needs a running application (datatest::startApplication).
void exercise(Target t, const uint8_t* data, size_t size);

}  // namespace datafuzz
