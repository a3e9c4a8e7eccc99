// The sprite engine's view of the Java Graphics and Image classes: the few
// operations it draws and reads pixels with, as inline functions over the
// runtime objects of the display glue. Nothing else in the engine names the
// glue's members, so the engine follows the glue through this one file.
// Callers pass a non-null Graphics; a null Image or array is handed on and
// logged by the glue.
#pragma once

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "runtime/array.h"

namespace sprite::gfx {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

// --- images -----------------------------------------------------------------
inline Image* createImage(jint width, jint height) { return Image::createImage(width, height); }
inline Image* createRGBImage(IntArray* argb, jint width, jint height, bool processAlpha) {
    return Image::createRGBImage(argb, width, height, processAlpha ? 1 : 0);
}
inline Graphics* getGraphics(Image* image) { return image ? image->getGraphics() : nullptr; }
inline jint imageWidth(Image* image) { return image ? image->getWidth() : 0; }
inline jint imageHeight(Image* image) { return image ? image->getHeight() : 0; }
inline void getRGB(Image* image, IntArray* argb, jint offset, jint scan, jint x, jint y, jint width, jint height) {
    if (image) image->getRGB(argb, offset, scan, x, y, width, height);
}

// --- Graphics state ---------------------------------------------------------------
inline void setColor(Graphics* g, jint rgb) { g->setColor(rgb); }
inline jint getColor(Graphics* g) { return g->getColor(); }
inline jint getDisplayColor(jint rgb) { return Graphics::getDisplayColor(rgb); }
inline void setClip(Graphics* g, jint x, jint y, jint w, jint h) { g->setClip(x, y, w, h); }
inline jint getClipX(Graphics* g) { return g->getClipX(); }
inline jint getClipY(Graphics* g) { return g->getClipY(); }
inline jint getClipWidth(Graphics* g) { return g->getClipWidth(); }
inline jint getClipHeight(Graphics* g) { return g->getClipHeight(); }

// --- drawing ---------------------------------------------------------------------
inline void fillRect(Graphics* g, jint x, jint y, jint w, jint h) { g->fillRect(x, y, w, h); }
inline void drawRect(Graphics* g, jint x, jint y, jint w, jint h) { g->drawRect(x, y, w, h); }
inline void drawLine(Graphics* g, jint x1, jint y1, jint x2, jint y2) { g->drawLine(x1, y1, x2, y2); }
inline void drawArc(Graphics* g, jint x, jint y, jint w, jint h, jint start, jint angle) {
    g->drawArc(x, y, w, h, start, angle);
}
inline void fillArc(Graphics* g, jint x, jint y, jint w, jint h, jint start, jint angle) {
    g->fillArc(x, y, w, h, start, angle);
}
inline void fillTriangle(Graphics* g, jint x1, jint y1, jint x2, jint y2, jint x3, jint y3) {
    g->fillTriangle(x1, y1, x2, y2, x3, y3);
}
inline void drawImage(Graphics* g, Image* image, jint x, jint y, jint anchor) { g->drawImage(image, x, y, anchor); }
inline void drawRegion(Graphics* g, Image* image, jint xSrc, jint ySrc, jint w, jint h, jint transform, jint xDest,
                       jint yDest, jint anchor) {
    g->drawRegion(image, xSrc, ySrc, w, h, transform, xDest, yDest, anchor);
}
inline void drawRGB(Graphics* g, IntArray* argb, jint offset, jint scan, jint x, jint y, jint w, jint h,
                    bool processAlpha) {
    g->drawRGB(argb, offset, scan, x, y, w, h, processAlpha ? 1 : 0);
}

}  // namespace sprite::gfx
