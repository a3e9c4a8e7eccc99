// javax.microedition.lcdui.Image as a runtime object: the pixel store in a
// Java array (ShortArray for types 0-2, ByteArray for 3 and 4), the
// creation forms (mutable, region with a transform, PNG bytes, ARGB ints),
// getRGB, and the screen image over the driver's back buffer.
//
// Invariants: pixels, width, height, stride and type always describe one
// consistent store (allocatePixels writes them together from
// display::computeLayout, or leaves them all zero); the pixel elements may
// move at any allocation, so every native builds its Surface afresh and
// never keeps it across one. Only type 0 is ever mutable.
#pragma once

#include <cstdint>

#include "display/surface.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class javax_microedition_lcdui_Graphics;

class javax_microedition_lcdui_Image : public Object {
public:
    // <init>: every field zero; registers the pixel reference.
    javax_microedition_lcdui_Image();

    // --- dispatch slots after Object's --------------------------------------
    // 6: a new Graphics on the image. An immutable image logs "!mutable" and
    //    still gets one (drawing into a store that is not RGB565 refuses by
    //    itself).
    virtual javax_microedition_lcdui_Graphics* getGraphics();
    // 7, 8: the stored size.
    virtual jint getWidth();
    virtual jint getHeight();

    jboolean isMutable() const { return m_mutable != 0; }
    display::PixelType pixelType() const { return display::pixelTypeFromWord(static_cast<uint32_t>(m_type)); }

    // --- creation ------------------------------------------------------------
    // A new mutable RGB565 image (zero pixels). A size beyond the caps logs
    // and gives an image without pixels (0 x 0).
    static javax_microedition_lcdui_Image* createImage(jint width, jint height);
    // The region of src drawn with the transform into a new mutable image
    // (height x width for transforms 4-7).
    static javax_microedition_lcdui_Image* createImage(javax_microedition_lcdui_Image* src, jint x, jint y,
                                                       jint width, jint height, jint transform);
    // PNG bytes data[offset .. offset + length): an immutable image, or null
    // (logged) for a range outside the array or bytes that do not decode.
    static javax_microedition_lcdui_Image* createImage(ByteArray* data, jint offset, jint length);
    // The PNG resource of that name (a ".bar" file or an archive entry), or
    // null with a logged line when it is missing or does not decode.
    static javax_microedition_lcdui_Image* createImage(String* name);
    // An immutable image of width x height ARGB ints (type 0, 1 or 2 by the
    // ints and processAlpha), or null with a logged fault.
    static javax_microedition_lcdui_Image* createRGBImage(IntArray* argb, jint width, jint height,
                                                          jboolean processAlpha);
    // new Image, then initImage.
    static javax_microedition_lcdui_Image* make(jint width, jint height, jint typeWord, jint extraBytes = 0);
    // Clears the fields, then allocatePixels.
    void initImage(jint width, jint height, jint typeWord, jint extraBytes);

    // typeWord: the pixel type, with display::kMutableTypeBit to ask for a
    // mutable image (type 0 only; another type logs "imagetype"). Types
    // 0-2 get a ShortArray, 3 and 4 a ByteArray with extraBytes after the
    // pixels. A bad size logs and leaves the image without pixels.
    static void allocatePixels(javax_microedition_lcdui_Image* image, jint width, jint height, jint typeWord,
                               jint extraBytes);

    // --- pixels -----------------------------------------------------------------
    // Copies the width x height area at (x, y) as ARGB into argb: row r to
    // argb[offset + r * scanlength ...]. Every index is checked first.
    void getRGB(IntArray* argb, jint offset, jint scanlength, jint x, jint y, jint width, jint height);
    // A 16-bit opaque image becomes type 1 when it holds the key colour.
    void updateTransparency();
    // The pixel array when it is of that kind; otherwise an empty log line
    // with the stack trace, and null.
    static ShortArray* getPixelShorts(javax_microedition_lcdui_Image* image);
    static ByteArray* getPixelBytes(javax_microedition_lcdui_Image* image);

    // A view of the store, valid until the next allocation or safe point.
    // No pixels (or pixels that disagree with the type) give an empty view,
    // on which drawing does nothing.
    display::Surface surface() const;

    // --- the screen image ---------------------------------------------------
    // A mutable type-0 image over an external buffer of 16-bit pixels
    // (stride: width rounded up to even, in bytes). The pixel array never
    // frees the buffer. Sizes beyond the caps log and leave no pixels.
    static javax_microedition_lcdui_Image* createScreenImage(jint width, jint height, uint16_t* buffer);

    ArrayBase* m_pixels;
    jint m_width;
    jint m_height;
    jint m_stride;
    uint8_t m_mutable;
    jint m_type;

protected:
    void clearFields();
};

// The screen image: its own dispatch table with a slot 9 that puts the
// image over the driver's back buffer.
class javax_microedition_lcdui_ScreenImage final : public javax_microedition_lcdui_Image {
public:
    javax_microedition_lcdui_ScreenImage() = default;
    // 9: <init>, then stride, the pixel array over buffer, width, height,
    //    mutable; type 0.
    virtual void initScreen(jint width, jint height, uint16_t* buffer);
};
