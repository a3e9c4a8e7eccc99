// Everything the engine offers, run over one sprite file: loading, the
// queries, measuring, painting every frame and animation frame under every
// transform, the caches, the rotated path, text and wrapping. Shared by
// the fuzz target and the replay of the kit's damaged files, so that a
// file the loader accepts is proven safe to use in every way.
#pragma once

#include <cstddef>
#include <cstdint>

namespace spritetest {

// True when the loader accepted the file.
bool exerciseSpriteFile(const uint8_t* data, size_t size);

}  // namespace spritetest
