// Helpers shared by the engine's source files (not part of its interface).
#pragma once

#include "game/sprite/sprite.h"

namespace sprite {

// Entry [palette][index] of a two-level cache (rows of palettes), or null.
template <typename T>
T* cacheEntry(ObjectArray* cache, jint palette, jint index) {
    if (!cache || palette < 0 || palette >= cache->length()) return nullptr;
    auto* row = static_cast<ObjectArray*>(cache->data()[palette]);
    if (!row || index < 0 || index >= row->length()) return nullptr;
    return static_cast<T*>(row->data()[index]);
}

// Records the box (left, top, width, height) of a frame picture built in
// game orientation.
void recordFrameBox(ASprite* sprite, jint frame, jint left, jint top, jint w, jint h);

}  // namespace sprite
