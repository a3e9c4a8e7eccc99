// Image drawing: drawImage / drawRegion with the eight transforms, and
// drawRGB. Clipping and the checks happen once per call; the inner loops
// are specialised per source type and per transform family, with no
// per-pixel dispatch. Every pixel read lies inside the checked source
// region or array range, every pixel written inside the clip box.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "display/graphics.h"
#include "display/log.h"

namespace display {
namespace {

// --- per-pixel source operations ----------------------------------------------

struct CopyOp {
    static uint16_t apply(uint16_t, uint16_t s) { return s; }
};
struct KeyOp {
    static uint16_t apply(uint16_t d, uint16_t s) { return s == kKeyColour565 ? d : s; }
};
struct BlendOp {
    static uint16_t apply(uint16_t d, uint16_t s) { return blend4444(d, s); }
};

// Transforms that keep rows as rows (0-3): one source row lands on one
// destination row, left to right or right to left.
template <class Op, bool Reverse>
void blitRows(const uint8_t* src, ptrdiff_t srcStride, uint8_t* dst, ptrdiff_t dstRowStep, int w, int h) {
    for (int j = 0; j < h; ++j) {
        const uint16_t* s = reinterpret_cast<const uint16_t*>(src + j * srcStride);
        uint16_t* d = reinterpret_cast<uint16_t*>(dst + j * dstRowStep);
        if constexpr (!Reverse && std::is_same_v<Op, CopyOp>) {
            std::memmove(d, s, static_cast<size_t>(w) * 2);
        } else if constexpr (!Reverse) {
            for (int i = 0; i < w; ++i) d[i] = Op::apply(d[i], s[i]);
        } else {
            // d points at the rightmost destination pixel of the row.
            uint16_t* e = d - (w - 1);
            for (int i = 0; i < w; ++i) e[i] = Op::apply(e[i], s[w - 1 - i]);
        }
    }
}

// Transforms that exchange the axes (4-7): one source row lands on one
// destination column. Work in bands of source rows so that each
// destination row gets a run of contiguous writes while the band's source
// rows stay in cache. The destination moves one pixel (right, or left when
// ColReverse) per source row and dstPixStep pixels (a row down or up) per
// source pixel.
template <class Op, bool ColReverse>
void blitColumns(const uint8_t* src, ptrdiff_t srcStride, uint16_t* dst, ptrdiff_t dstPixStep, int w, int h) {
    constexpr int kBand = 16;
    for (int j0 = 0; j0 < h; j0 += kBand) {
        const int n = std::min(kBand, h - j0);
        for (int i = 0; i < w; ++i) {
            const uint8_t* s = src + j0 * srcStride + i * 2;
            uint16_t* run = dst + i * dstPixStep + (ColReverse ? -(j0 + n - 1) : j0);  // leftmost pixel of the run
            if constexpr (!ColReverse) {
                for (int k = 0; k < n; ++k)
                    run[k] = Op::apply(run[k], *reinterpret_cast<const uint16_t*>(s + k * srcStride));
            } else {
                for (int k = 0; k < n; ++k)
                    run[k] = Op::apply(run[k], *reinterpret_cast<const uint16_t*>(s + (n - 1 - k) * srcStride));
            }
        }
    }
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

void rowToArgb4444(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = argb4444(static_cast<uint32_t>(s[i]));
}
void rowOpaque(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = rgb565(static_cast<uint32_t>(s[i]));
}
void rowAlpha(uint16_t* d, const java::jint* s, int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t p = static_cast<uint32_t>(s[i]);
        const uint32_t a = p >> 24;
        const uint16_t src = rgb565(p);
        const uint16_t blended = blendAlpha565(d[i], src, static_cast<int32_t>(a));
        d[i] = a == 0xFF ? src : (a == 0 ? d[i] : blended);
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
