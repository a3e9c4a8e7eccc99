// Graphics natives and the converted constructor: thin calls into the
// display core with the target's Surface built for each call.
#include "display/lcdui/graphics.h"

#include "display/lcdui/image.h"
#include "runtime/log.h"
#include "runtime/statics.h"

using Graphics = javax_microedition_lcdui_Graphics;

javax_microedition_lcdui_Graphics::javax_microedition_lcdui_Graphics(javax_microedition_lcdui_Image* image)
    : Object(cid::javax_microedition_lcdui_Graphics) {
    StaticClass::setRefFieldOffsets(this, {&m_target});
    m_target = image;
    m_state = display::GraphicsState();
    if (!image) {
        rt::logNullPointer();
        return;
    }
    // Through the image's virtual slots, so a screen surface with its own
    // size operations works the same way.
    m_state = display::GraphicsState::forTarget(image->getWidth(), image->getHeight());
}

Graphics* Graphics::make(javax_microedition_lcdui_Image* image) { return newObject<Graphics>(image); }

display::Graphics Graphics::core() {
    return display::Graphics(m_state, m_target ? m_target->surface() : display::Surface());
}

void Graphics::drawImage(javax_microedition_lcdui_Image* image, jint x, jint y, jint anchor) {
    if (!image) {
        core().drawImage(nullptr, x, y, anchor);
        return;
    }
    const display::Surface src = image->surface();
    core().drawImage(&src, x, y, anchor);
}

void Graphics::drawRegion(javax_microedition_lcdui_Image* src, jint xSrc, jint ySrc, jint width, jint height,
                          jint transform, jint xDest, jint yDest, jint anchor) {
    if (!src) {
        core().drawRegion(nullptr, xSrc, ySrc, width, height, transform, xDest, yDest, anchor);
        return;
    }
    const display::Surface s = src->surface();
    core().drawRegion(&s, xSrc, ySrc, width, height, transform, xDest, yDest, anchor);
}

void Graphics::drawRGB(IntArray* rgbData, jint offset, jint scanlength, jint x, jint y, jint width, jint height,
                       jboolean processAlpha) {
    static const jint kNone = 0;
    const jint* data = rgbData ? (rgbData->data() ? rgbData->data() : &kNone) : nullptr;
    const size_t length = rgbData && rgbData->data() ? static_cast<size_t>(rgbData->length()) : 0;
    core().drawRGB(data, length, offset, scanlength, x, y, width, height, processAlpha != 0);
}

void Graphics::drawString(String* text, jint x, jint y, jint anchor) {
    if (!text) return;
    core().drawString(text->chars(), static_cast<size_t>(text->length()), x, y, anchor);
}

void Graphics::drawSubstring(String* text, jint offset, jint length, jint x, jint y, jint anchor) {
    if (!text) return;
    core().drawSubstring(text->chars(), static_cast<size_t>(text->length()), offset, length, x, y, anchor);
}

void Graphics::drawChars(CharArray* data, jint offset, jint length, jint x, jint y, jint anchor) {
    if (!data || !data->data()) return;
    core().drawChars(data->data(), static_cast<size_t>(data->length()), offset, length, x, y, anchor);
}

void Graphics::resetForPaint() {
    const jint w = m_target ? m_target->getWidth() : 0;
    const jint h = m_target ? m_target->getHeight() : 0;
    m_state.resetForFrame(w, h);
}
