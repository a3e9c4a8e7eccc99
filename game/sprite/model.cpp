// Sprite construction and the model queries: counts, durations, frame-module
// fields, measured boxes (a paint pass without a Graphics), frame
// rectangles, module parameters and the remap look-up.
#include <algorithm>

#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "runtime/statics.h"
#include "runtime/system.h"

using namespace sprite;

ASprite::ASprite(uint16_t classId) : Object(classId) {}

BSprite::BSprite() : cSprite(cid::BSprite) {
    // One record per class: BSprite's lists every reference field of the
    // three levels.
    StaticClass::setRefFieldOffsets(
        this, {&moduleType, &moduleWidth, &moduleHeight, &moduleColor, &moduleExtra, &moduleParams,
               &moduleParamIndex, &fmoduleModule, &fmoduleX, &fmoduleY, &fmodulePalette, &fmoduleFlags,
               &frameFModuleCount, &frameFirstFModule, &frameRectCoords, &frameRectStart, &aframeFrame, &aframeTime,
               &aframeOffsetX, &aframeOffsetY, &aframeFlags, &animAFrameCount, &animFirstAFrame, &moduleRemapTables,
               &palettes, &pixelData, &pixelDataOffset, &moduleRGBCache, &moduleImageCache, &frameRGBCache,
               &frameImageCache, &charMap, &frameBoxes, &loadedAlphas, &frameIndexImages, &frameIndexBackground});
    moduleRemapIndex = -1;
    alpha = 255;
    scale = 100;
    transparentIndex = -1;
    rotation = 0;
    moduleImagesRotated = 0;
}

// --- counts and fields ----------------------------------------------------------

jint ASprite::getAFrameCount(jint anim) {
    return validAnim(anim) ? static_cast<uint8_t>(animAFrameCount->data()[anim]) : 0;
}

jint ASprite::getAFrameTime(jint anim, jint i) {
    if (!validAnim(anim) || i < 0 || i >= getAFrameCount(anim)) return 0;
    return static_cast<uint8_t>(aframeTime->data()[animFirstAFrame->data()[anim] + i]);
}

jint ASprite::getAnimDuration(jint anim) {
    jint total = 0;
    for (jint i = 0, n = getAFrameCount(anim); i < n; ++i) total += getAFrameTime(anim, i);
    return total;
}

jint ASprite::getAnimCount() { return animAFrameCount ? animAFrameCount->length() : 0; }

jint ASprite::getFModuleCount(jint frame) {
    return validFrame(frame) ? static_cast<uint8_t>(frameFModuleCount->data()[frame]) : 0;
}

namespace {
// Index of frame module i of frame, or -1.
inline jint fmoduleIndex(ASprite* s, jint frame, jint i) {
    if (i < 0 || i >= s->getFModuleCount(frame)) return -1;
    return s->frameFirstFModule->data()[frame] + i;
}
}  // namespace

jint ASprite::getFModuleModule(jint frame, jint i) {
    const jint k = fmoduleIndex(this, frame, i);
    return k < 0 ? 0 : fmoduleModule->data()[k];
}

jint ASprite::getFModuleX(jint frame, jint i) {
    const jint k = fmoduleIndex(this, frame, i);
    return k < 0 ? 0 : fmoduleX->data()[k];
}

jint ASprite::getFModuleY(jint frame, jint i) {
    const jint k = fmoduleIndex(this, frame, i);
    return k < 0 ? 0 : fmoduleY->data()[k];
}

jint ASprite::getFrameCount() { return frameFModuleCount ? frameFModuleCount->length() : 0; }

bool ASprite::hasFrames() { return frameFModuleCount != nullptr; }

jint ASprite::remapModule(jint m) const {
    if (moduleRemapIndex < 0 || !moduleRemapTables || moduleRemapIndex >= moduleRemapTables->length()) return m;
    auto* table = static_cast<ShortArray*>(moduleRemapTables->data()[moduleRemapIndex]);
    return table && m >= 0 && m < table->length() ? table->data()[m] : m;
}

jint ASprite::findModuleParams(jint module) {
    if (!moduleParamIndex) return -1;
    // Pairs (module, first index) in module order.
    const jshort* pairs = moduleParamIndex->data();
    jint lo = 0, hi = moduleParamIndex->length() / 2 - 1;
    while (lo <= hi) {
        const jint mid = (lo + hi) / 2;
        const jint m = pairs[2 * mid];
        if (m == module) return pairs[2 * mid + 1];
        if (m < module) lo = mid + 1;
        else hi = mid - 1;
    }
    return -1;
}

void ASprite::setRotation(jint angle) {
    const jint steps = host().stepsPerCircle();
    static_cast<cSprite*>(this)->rotation = steps > 0 ? ((angle % steps) + steps) % steps : angle;
}

void ASprite::setScale(jint percent) { static_cast<cSprite*>(this)->scale = percent; }

// --- measured boxes ------------------------------------------------------------------

namespace {

// Measure mode around a paint pass; the previous measure state comes back
// afterwards, so a measurement inside a paint does not disturb it.
class MeasureScope {
public:
    MeasureScope() : m_saved(as()) {
        ASpriteStatics& s = as();
        s.measureMode = 1;
        s.boundsMinX = s.boundsMinY = java::kIntMax;
        s.boundsMaxX = s.boundsMaxY = java::kIntMin;
    }
    ~MeasureScope() {
        ASpriteStatics& s = as();
        s.measureMode = m_saved.measureMode;
        s.boundsMinX = m_saved.boundsMinX;
        s.boundsMinY = m_saved.boundsMinY;
        s.boundsMaxX = m_saved.boundsMaxX;
        s.boundsMaxY = m_saved.boundsMaxY;
    }
    Box box() const {
        const ASpriteStatics& s = as();
        return {s.boundsMinX, s.boundsMinY, s.boundsMaxX, s.boundsMaxY};
    }

private:
    ASpriteStatics m_saved;
};

void store(IntArray* rect, const Box& b) {
    if (!rect) {
        rt::logNullPointer();
        return;
    }
    const jint v[4] = {b.minX, b.minY, b.maxX, b.maxY};
    for (jint i = 0; i < 4 && i < rect->length(); ++i) rect->data()[i] = v[i];
}

}  // namespace

Box ASprite::measureFrame(jint frame, jint x, jint y, jint flags) {
    MeasureScope scope;
    self()->paintFrame(nullptr, frame, x, y, flags, 0, 0);
    return scope.box();
}

Box ASprite::measureAFrame(jint anim, jint aframe, jint x, jint y, jint flags) {
    MeasureScope scope;
    self()->paintAFrame(nullptr, anim, aframe, x, y, flags, 0, 0);
    return scope.box();
}

void ASprite::getFrameRect(IntArray* rect, jint frame, jint x, jint y, jint flags) {
    store(rect, measureFrame(frame, x, y, flags));
}

void ASprite::getAFrameRect(IntArray* rect, jint anim, jint aframe, jint x, jint y, jint flags) {
    store(rect, measureAFrame(anim, aframe, x, y, flags));
}

jint ASprite::getFrameWidth(jint frame) {
    const Box b = measureFrame(frame, 0, 0, 0);
    return b.maxX < b.minX ? 0 : b.maxX - b.minX;
}

jint ASprite::getFrameHeight(jint frame) {
    const Box b = measureFrame(frame, 0, 0, 0);
    return b.maxY < b.minY ? 0 : b.maxY - b.minY;
}

jint ASprite::getFrameLeft(jint frame) {
    const Box b = measureFrame(frame, 0, 0, 0);
    return b.maxX < b.minX ? 0 : b.minX;
}

jint ASprite::getFrameTop(jint frame) {
    const Box b = measureFrame(frame, 0, 0, 0);
    return b.maxY < b.minY ? 0 : b.minY;
}

// --- frame rectangles ---------------------------------------------------------------

jint ASprite::getFrameRectCount(jint frame) {
    if (!frameRectStart || !validFrame(frame) || frame + 1 >= frameRectStart->length()) return 0;
    return frameRectStart->data()[frame + 1] - frameRectStart->data()[frame];
}

void ASprite::getFrameRectAt(jint frame, jint i, IntArray* rect, jint flags) {
    jint v[4] = {0, 0, 0, 0};
    if (i >= 0 && i < getFrameRectCount(frame)) {
        const jint r = frameRectStart->data()[frame] + i;
        const jshort* c = frameRectCoords->data() + 4 * r;
        v[0] = c[0];
        v[1] = c[1];
        v[2] = static_cast<uint16_t>(c[2]);
        v[3] = static_cast<uint16_t>(c[3]);
        if (flags & kMirror) v[0] = -(v[0] + v[2]);
        if (flags & kFlip) v[1] = -(v[1] + v[3]);
    }
    if (!rect) {
        rt::logNullPointer();
        return;
    }
    for (jint k = 0; k < 4 && k < rect->length(); ++k) rect->data()[k] = v[k];
}

void ASprite::getAFrameRectAt(jint anim, jint aframe, jint i, IntArray* rect, jint flags, bool addOffset) {
    if (!validAnim(anim) || aframe < 0 || aframe >= getAFrameCount(anim)) {
        getFrameRectAt(-1, 0, rect, 0);
        return;
    }
    const jint k = animFirstAFrame->data()[anim] + aframe;
    const jint frame = aframeFrame->data()[k];
    getFrameRectAt(frame, i, rect, (aframeFlags->data()[k] & 15) ^ flags);
    if (addOffset && rect && rect->length() >= 2) {
        rect->data()[0] += aframeOffsetX->data()[k];
        rect->data()[1] += aframeOffsetY->data()[k];
    }
}

void ASprite::releasePixelData() {
    pixelData = nullptr;
    pixelDataOffset = nullptr;
    if (sprite::as().collectOnLoad) java_lang_System::gc();
}
