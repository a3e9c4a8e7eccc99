// Helpers shared by the engine's source files (not part of its interface).
#pragma once

#include "game/sprite/sprite.h"
#include "runtime/objectmanager.h"

namespace sprite {

// Entry [palette][index] of a two-level cache (rows of palettes), or null.
template <typename T>
T* cacheEntry(ObjectArray* cache, jint palette, jint index) {
    if (!cache || palette < 0 || palette >= cache->length()) return nullptr;
    auto* row = static_cast<ObjectArray*>(cache->data()[palette]);
    if (!row || index < 0 || index >= row->length()) return nullptr;
    return static_cast<T*>(row->data()[index]);
}

// Largest frame picture the builders and the rotated path render.
constexpr int64_t kMaxFrameSide = 8192;
constexpr int64_t kMaxFramePixels = int64_t{1} << 22;

// Width and height of a measured box; false when it is empty or too large
// to render into a picture.
inline bool boxSize(const Box& b, jint* w, jint* h) {
    const int64_t bw = int64_t{b.maxX} - b.minX, bh = int64_t{b.maxY} - b.minY;
    if (bw < 1 || bh < 1 || bw > kMaxFrameSide || bh > kMaxFrameSide || bw * bh > kMaxFramePixels) return false;
    *w = static_cast<jint>(bw);
    *h = static_cast<jint>(bh);
    return true;
}

// The full collection around loading and cache building, while the
// collectOnLoad switch of ASprite is on.
inline void collectIfAsked() {
    if (as().collectOnLoad)
        if (ObjectManager* om = ObjectManager::instance()) om->gc(ObjectManager::kForced);
}

// Records the box (left, top, width, height) of a frame picture built in
// game orientation.
void recordFrameBox(ASprite* sprite, jint frame, jint left, jint top, jint w, jint h);

}  // namespace sprite
