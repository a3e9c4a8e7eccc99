// Image drawing: drawImage / drawRegion with the eight transforms, and
// drawRGB. Clipping and the checks happen once per call; the inner loops
// are specialised per source type and per transform family, with no
// per-pixel dispatch. Every pixel read lies inside the checked source
// region or array range, every pixel written inside the clip box.
#include <algorithm>
#include <cstring>

#include "display/graphics.h"
#include "display/log.h"

namespace display {
namespace {

// --- row kernels ------------------------------------------------------------------
// Plain loops the compiler vectorises; on x86-64 each also gets an AVX2
// clone picked at load time. Channel arithmetic stays in 16-bit lanes: every
// intermediate of the blend formulas fits (|63 x 255| < 2^15).

inline uint16_t keyPixel(uint16_t d, uint16_t s) { return s == kKeyColour565 ? d : s; }

// blend4444 in 16-bit lanes: the same result bit for bit.
inline uint16_t blendPixel(uint16_t d, uint16_t s) {
    const int16_t w = static_cast<int16_t>(17 * (s >> 12));
    const int16_t dr = d >> 11, dg = (d >> 5) & 63, db = d & 31;
    const int16_t sr = ((s >> 8) & 15) << 1, sg = ((s >> 4) & 15) << 2, sb = (s & 15) << 1;
    const int16_t r = static_cast<int16_t>(dr + (static_cast<int16_t>((sr - dr) * w) >> 8));
    const int16_t g = static_cast<int16_t>(dg + (static_cast<int16_t>((sg - dg) * w) >> 8));
    const int16_t b = static_cast<int16_t>(db + (static_cast<int16_t>((sb - db) * w) >> 8));
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

BRAMBLE_VECTOR_CLONES void copyReverse(uint16_t* d, const uint16_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = s[n - 1 - i];
}
BRAMBLE_VECTOR_CLONES void keyForward(uint16_t* d, const uint16_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = keyPixel(d[i], s[i]);
}
BRAMBLE_VECTOR_CLONES void keyReverse(uint16_t* d, const uint16_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = keyPixel(d[i], s[n - 1 - i]);
}
BRAMBLE_VECTOR_CLONES void blendForward(uint16_t* d, const uint16_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = blendPixel(d[i], s[i]);
}
BRAMBLE_VECTOR_CLONES void blendReverse(uint16_t* d, const uint16_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = blendPixel(d[i], s[n - 1 - i]);
}

// Eight pixels in one 128-bit vector, for the tile transposes of the
// quarter-turn blits.
using V8 = uint16_t __attribute__((vector_size(16)));
using V8s = int16_t __attribute__((vector_size(16)));

inline V8 load8(const void* p) {
    V8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store8(void* p, V8 v) { std::memcpy(p, &v, sizeof v); }

// 8 x 8 transpose: r[k] holds row k on entry and column k on return.
inline void transpose8(V8 r[8]) {
    V8 t[8], u[8];
    for (int k = 0; k < 4; ++k) {
        t[2 * k] = __builtin_shufflevector(r[2 * k], r[2 * k + 1], 0, 8, 1, 9, 2, 10, 3, 11);
        t[2 * k + 1] = __builtin_shufflevector(r[2 * k], r[2 * k + 1], 4, 12, 5, 13, 6, 14, 7, 15);
    }
    for (int k = 0; k < 2; ++k)
        for (int m = 0; m < 2; ++m) {
            const V8 a = t[4 * k + m], b = t[4 * k + m + 2];
            u[4 * k + 2 * m] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 2, 3, 10, 11);
            u[4 * k + 2 * m + 1] = __builtin_shufflevector(a, b, 4, 5, 12, 13, 6, 7, 14, 15);
        }
    for (int k = 0; k < 4; ++k) {
        r[2 * k] = __builtin_shufflevector(u[k], u[k + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        r[2 * k + 1] = __builtin_shufflevector(u[k], u[k + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

struct CopyOp {
    static uint16_t apply(uint16_t, uint16_t s) { return s; }
    static void forward(uint16_t* d, const uint16_t* s, int n) { std::memmove(d, s, static_cast<size_t>(n) * 2); }
    static void reverse(uint16_t* d, const uint16_t* s, int n) { copyReverse(d, s, n); }
    static void apply8(uint16_t* d, V8 s) { store8(d, s); }
};
struct KeyOp {
    static uint16_t apply(uint16_t d, uint16_t s) { return keyPixel(d, s); }
    static void forward(uint16_t* d, const uint16_t* s, int n) { keyForward(d, s, n); }
    static void reverse(uint16_t* d, const uint16_t* s, int n) { keyReverse(d, s, n); }
    static void apply8(uint16_t* d, V8 s) {
        const V8 key = V8{} + kKeyColour565;
        const V8 keep = reinterpret_cast<V8>(s == key);
        store8(d, (load8(d) & keep) | (s & ~keep));
    }
};
struct BlendOp {
    static uint16_t apply(uint16_t d, uint16_t s) { return blendPixel(d, s); }
    static void forward(uint16_t* d, const uint16_t* s, int n) { blendForward(d, s, n); }
    static void reverse(uint16_t* d, const uint16_t* s, int n) { blendReverse(d, s, n); }
    static void apply8(uint16_t* d, V8 s) {  // blendPixel on eight lanes
        const V8 dv = load8(d);
        const V8s w = reinterpret_cast<V8s>((s >> 12) * 17);
        const V8s dr = reinterpret_cast<V8s>(dv >> 11), dg = reinterpret_cast<V8s>((dv >> 5) & 63),
                  db = reinterpret_cast<V8s>(dv & 31);
        const V8s sr = reinterpret_cast<V8s>(((s >> 8) & 15) << 1), sg = reinterpret_cast<V8s>(((s >> 4) & 15) << 2),
                  sb = reinterpret_cast<V8s>((s & 15) << 1);
        const V8 r = reinterpret_cast<V8>(dr + (((sr - dr) * w) >> 8));
        const V8 g = reinterpret_cast<V8>(dg + (((sg - dg) * w) >> 8));
        const V8 b = reinterpret_cast<V8>(db + (((sb - db) * w) >> 8));
        store8(d, r << 11 | g << 5 | b);
    }
};

// Transforms that keep rows as rows (0-3): one source row lands on one
// destination row, left to right or right to left.
template <class Op, bool Reverse>
void blitRows(const uint8_t* src, ptrdiff_t srcStride, uint8_t* dst, ptrdiff_t dstRowStep, int w, int h) {
    for (int j = 0; j < h; ++j) {
        const uint16_t* s = reinterpret_cast<const uint16_t*>(src + j * srcStride);
        uint16_t* d = reinterpret_cast<uint16_t*>(dst + j * dstRowStep);
        // For Reverse, d points at the rightmost destination pixel of the row.
        if constexpr (Reverse) Op::reverse(d - (w - 1), s, w);
        else Op::forward(d, s, w);
    }
}

// Transforms that exchange the axes (4-7): source pixel (i, j) lands at
// dst + i * dstPixStep + j (or - j when ColReverse): a source row becomes
// a destination column. 8 x 8 tiles are transposed in registers, so that
// each destination row gets eight contiguous pixels; the ragged right and
// bottom edges go pixel by pixel.
template <class Op, bool ColReverse>
void blitColumnsScalar(const uint8_t* src, ptrdiff_t srcStride, uint16_t* dst, ptrdiff_t dstPixStep, int i0, int i1,
                       int j0, int j1) {
    for (int i = i0; i < i1; ++i)
        for (int j = j0; j < j1; ++j) {
            uint16_t* d = dst + i * dstPixStep + (ColReverse ? -j : j);
            *d = Op::apply(*d, *reinterpret_cast<const uint16_t*>(src + j * srcStride + i * 2));
        }
}

template <class Op, bool ColReverse>
void blitColumns(const uint8_t* src, ptrdiff_t srcStride, uint16_t* dst, ptrdiff_t dstPixStep, int w, int h) {
    const int w8 = w & ~7, h8 = h & ~7;
    for (int j0 = 0; j0 < h8; j0 += 8) {
        for (int i0 = 0; i0 < w8; i0 += 8) {
            V8 r[8];
            // Rows in destination order: reversed when the columns run leftward.
            for (int k = 0; k < 8; ++k) r[k] = load8(src + (j0 + (ColReverse ? 7 - k : k)) * srcStride + i0 * 2);
            transpose8(r);
            for (int c = 0; c < 8; ++c) Op::apply8(dst + (i0 + c) * dstPixStep + (ColReverse ? -(j0 + 7) : j0), r[c]);
        }
        blitColumnsScalar<Op, ColReverse>(src, srcStride, dst, dstPixStep, w8, w, j0, j0 + 8);
    }
    blitColumnsScalar<Op, ColReverse>(src, srcStride, dst, dstPixStep, 0, w, h8, h);
}

// blitRegion: the trimmed region (sx, sy, w, h) of src onto dst at (dx, dy)
// with transform t; the caller has checked both rectangles.
template <class Op>
void blitTransformed(const Surface& src, int sx, int sy, int w, int h, int t, const Surface& dst, int dx, int dy) {
    const uint8_t* s = src.row8(sy) + sx * 2;
    const ptrdiff_t ss = src.stride, ds = dst.stride, dsPix = ds / 2;
    switch (t) {
    case kTransNone: blitRows<Op, false>(s, ss, dst.row8(dy) + dx * 2, ds, w, h); break;
    case kTransMirrorRot180: blitRows<Op, false>(s, ss, dst.row8(dy + h - 1) + dx * 2, -ds, w, h); break;
    case kTransMirror: blitRows<Op, true>(s, ss, dst.row8(dy) + (dx + w - 1) * 2, ds, w, h); break;
    case kTransRot180: blitRows<Op, true>(s, ss, dst.row8(dy + h - 1) + (dx + w - 1) * 2, -ds, w, h); break;
    case kTransMirrorRot270: blitColumns<Op, false>(s, ss, dst.row16(dy) + dx, dsPix, w, h); break;
    case kTransRot90: blitColumns<Op, true>(s, ss, dst.row16(dy) + dx + h - 1, dsPix, w, h); break;
    case kTransRot270: blitColumns<Op, false>(s, ss, dst.row16(dy + w - 1) + dx, -dsPix, w, h); break;
    case kTransMirrorRot90: blitColumns<Op, true>(s, ss, dst.row16(dy + w - 1) + dx + h - 1, -dsPix, w, h); break;
    default: break;
    }
}

// Flags of each transform: 1 source x mirrored, 2 source y mirrored, 4 axes
// exchanged.
constexpr int kTransformFlags[8] = {0, 2, 1, 3, 6, 4, 7, 5};

}  // namespace

void Graphics::drawImage(const Surface* image, jint x, jint y, jint anchor) {
    if (!image) {
        logFault("drawRegion pSrc");
        return;
    }
    drawRegion(image, 0, 0, image->width, image->height, kTransNone, x, y, anchor);
}

void Graphics::drawRegion(const Surface* src, jint xSrc, jint ySrc, jint width, jint height, jint transform,
                          jint xDest, jint yDest, jint anchor) {
    if (!src || !src->valid()) {
        logFault("drawRegion pSrc");
        return;
    }
    if (transform < 0 || transform > 7) {
        logFault("drawRegion transform");
        transform = kTransNone;
    }
    const int flags = kTransformFlags[transform];
    const bool mirrorX = flags & 1, mirrorY = flags & 2, exchange = flags & 4;

    int64_t w = width, h = height, sx = xSrc, sy = ySrc;
    const int64_t extentX = exchange ? h : w, extentY = exchange ? w : h;
    const int64_t offX = (anchor & kHCenter) ? -(extentX >> 1) : (anchor & kRight) ? -extentX : 0;
    const int64_t offY = (anchor & kVCenter) ? -(extentY >> 1) : (anchor & kBottom) ? -extentY : 0;
    int64_t dx = int64_t{xDest} + s_.translateX + offX;
    int64_t dy = int64_t{yDest} + s_.translateY + offY;

    const Box c = drawableClip();
    if (c.empty()) return;

    // Each overhang beyond the clip trims the source region on the side
    // that the transform brings there.
    int64_t d = c.x1 - dx;
    if (d > 0) {
        if (!exchange) w -= d, sx += mirrorX ? 0 : d;
        else h -= d, sy += mirrorY ? d : 0;
        dx = c.x1;
    }
    d = dx + (exchange ? h : w) - c.x2;
    if (d > 0) {
        if (!exchange) w -= d, sx += mirrorX ? d : 0;
        else h -= d, sy += mirrorY ? 0 : d;
    }
    d = c.y1 - dy;
    if (d > 0) {
        if (!exchange) h -= d, sy += mirrorY ? 0 : d;
        else w -= d, sx += mirrorX ? 0 : d;
        dy = c.y1;
    }
    d = dy + (exchange ? w : h) - c.y2;
    if (d > 0) {
        if (!exchange) h -= d, sy += mirrorY ? d : 0;
        else w -= d, sx += mirrorX ? d : 0;
    }
    if (w < 1 || h < 1) return;

    if (sx < 0 || sx + w > src->width) {
        logFault("drawRegion x_src");
        return;
    }
    if (sy < 0 || sy + h > src->height) {
        logFault("drawRegion y_src");
        return;
    }
    const int iw = static_cast<int>(w), ih = static_cast<int>(h), isx = static_cast<int>(sx),
              isy = static_cast<int>(sy), idx = static_cast<int>(dx), idy = static_cast<int>(dy);
    switch (src->type) {
    case PixelType::Rgb565: blitTransformed<CopyOp>(*src, isx, isy, iw, ih, transform, t_, idx, idy); break;
    case PixelType::Rgb565Keyed: blitTransformed<KeyOp>(*src, isx, isy, iw, ih, transform, t_, idx, idy); break;
    case PixelType::Argb4444: blitTransformed<BlendOp>(*src, isx, isy, iw, ih, transform, t_, idx, idy); break;
    default: logFault("m_pixelType"); break;
    }
}

// --- drawRGB ------------------------------------------------------------------------

namespace {

BRAMBLE_VECTOR_CLONES void rowToArgb4444(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = argb4444(static_cast<uint32_t>(s[i]));
}
BRAMBLE_VECTOR_CLONES void rowOpaque(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = rgb565(static_cast<uint32_t>(s[i]));
}
// blendAlpha565 in 16-bit lanes; alpha 255 writes, alpha 0 keeps.
BRAMBLE_VECTOR_CLONES void rowAlpha(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t p = static_cast<uint32_t>(s[i]);
        const int16_t a = static_cast<int16_t>(p >> 24);
        const int16_t sr = (p >> 19) & 31, sg = (p >> 10) & 63, sb = (p >> 3) & 31;
        const uint16_t dv = d[i];
        const int16_t dr = dv >> 11, dg = (dv >> 5) & 63, db = dv & 31;
        const int16_t r = static_cast<int16_t>(dr + (static_cast<int16_t>((sr - dr) * a) >> 8));
        const int16_t g = static_cast<int16_t>(dg + (static_cast<int16_t>((sg - dg) * a) >> 8));
        const int16_t b = static_cast<int16_t>(db + (static_cast<int16_t>((sb - db) * a) >> 8));
        const uint16_t blended = static_cast<uint16_t>(r << 11 | g << 5 | b);
        const uint16_t sv = static_cast<uint16_t>(sr << 11 | sg << 5 | sb);
        d[i] = a == 255 ? sv : (a == 0 ? dv : blended);
    }
}

}  // namespace

void Graphics::drawRGB(const jint* rgbData, size_t length, jint offset, jint scanlength, jint x, jint y, jint width,
                       jint height, bool processAlpha) {
    if (!rgbData) {
        logFault("drawRGB rgbData");
        return;
    }
    // An ARGB4444 target takes the pixels as they are; RGB565 targets the
    // converted colours; other types nothing.
    const bool to4444 = t_.type == PixelType::Argb4444;
    if (!to4444 && !isRgb565(t_.type)) {
        logFault("m_pixelType");
        return;
    }
    if (!t_.valid()) {
        logFault("Graphics target");
        return;
    }
    const int64_t cx1 = std::max<int64_t>(s_.clipX1, 0), cy1 = std::max<int64_t>(s_.clipY1, 0);
    const int64_t cx2 = std::min<int64_t>(s_.clipX2, t_.width), cy2 = std::min<int64_t>(s_.clipY2, t_.height);
    const int64_t X = int64_t{x} + s_.translateX, Y = int64_t{y} + s_.translateY;
    int64_t px = X, py = Y, w = width, h = height;
    if (px < cx1) {
        if (px + w <= cx1) return;
        w -= cx1 - px;
        px = cx1;
    }
    if (px + w > cx2) w = cx2 - px;
    if (py < cy1) {
        if (py + h <= cy1) return;
        h -= cy1 - py;
        py = cy1;
    }
    if (py + h > cy2) h = cy2 - py;
    if (w < 1 || h < 1) return;

    // Indices read: base + r * scanlength + i for r < h, i < w.
    using i128 = __int128;
    const i128 base = i128{offset} + i128{py - Y} * scanlength + (px - X);
    const i128 lastRow = i128{h - 1} * scanlength;
    const i128 first = base + std::min<i128>(0, lastRow), last = base + std::max<i128>(0, lastRow) + (w - 1);
    if (first < 0 || last >= static_cast<i128>(length)) {
        logFault("drawRGB length");
        return;
    }

    const int n = static_cast<int>(w);
    for (int64_t r = 0; r < h; ++r) {
        const jint* s = rgbData + static_cast<ptrdiff_t>(base + i128{r} * scanlength);
        uint16_t* d = t_.row16(static_cast<jint>(py + r)) + px;
        if (to4444) rowToArgb4444(d, s, n);
        else if (processAlpha) rowAlpha(d, s, n);
        else rowOpaque(d, s, n);
    }
}

}  // namespace display
