// Graphics state and the geometric primitives: fills, lines with their
// clipping, rectangles, round rectangles, arcs of any sweep and triangles.
// Shapes are built from the same fillRect and drawLine steps the Java side
// would use, in translated 64-bit coordinates; every pixel written lies
// inside the clip box, which lies inside the target.
#include "display/graphics.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <utility>

#include "display/log.h"

namespace display {
namespace {

// Round rectangles and arcs with a larger radius are absurd on any screen;
// refusing them bounds the work of one call.
constexpr int64_t kMaxRadius = 1 << 16;

jint saturate(int64_t v) {
    return static_cast<jint>(std::clamp<int64_t>(v, std::numeric_limits<jint>::min(), std::numeric_limits<jint>::max()));
}

}  // namespace

namespace {

static_assert(sizeof(wchar_t) == 4, "pixel pairs are filled as 32-bit words");

// n pixels from p: pairs of pixels go out as 32-bit words once p is 4-byte
// aligned (wmemset is the C library's tuned 32-bit fill).
void fillRun(uint16_t* p, size_t n, uint16_t c) {
    if (n && (reinterpret_cast<uintptr_t>(p) & 3)) {
        *p++ = c;
        --n;
    }
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(c * 0x10001u), n / 2);
    if (n & 1) p[n - 1] = c;
}

// The translucent fill of one row; keep = 256 - a, s* the colour's terms.
// Every product fits 16 bits (63 x 255).
BRAMBLE_VECTOR_CLONES void fillTranslucentRow(uint16_t* p, int n, uint16_t keep, uint16_t sr, uint16_t sg,
                                              uint16_t sb) {
    for (int i = 0; i < n; ++i) {
        const uint16_t d = p[i];
        const uint16_t r = static_cast<uint16_t>((static_cast<uint16_t>((d >> 11) * keep) >> 8) + sr);
        const uint16_t g = static_cast<uint16_t>((static_cast<uint16_t>(((d >> 5) & 63) * keep) >> 8) + sg);
        const uint16_t b = static_cast<uint16_t>((static_cast<uint16_t>((d & 31) * keep) >> 8) + sb);
        p[i] = static_cast<uint16_t>((r & 31) << 11 | (g & 63) << 5 | (b & 31));
    }
}

}  // namespace

void FillRect16(uint16_t* pixels, jint w, jint h, jint pitch, uint16_t colour565) {
    if (h <= 0) {
        logFault("FillRect16 h > 0");
        return;
    }
    if (pitch == w * 2) {  // whole rows: one run
        fillRun(pixels, static_cast<size_t>(w) * static_cast<size_t>(h), colour565);
        return;
    }
    auto* row = reinterpret_cast<uint8_t*>(pixels);
    for (jint y = 0; y < h; ++y, row += pitch) fillRun(reinterpret_cast<uint16_t*>(row), static_cast<size_t>(w), colour565);
}

// --- colour ---------------------------------------------------------------

void Graphics::setColor(jint rgb) { s_.colour = 0xFF000000u | static_cast<uint32_t>(rgb); }

void Graphics::setColor(jint r, jint g, jint b) {
    if (r < 0 || r > 255) logFault("setColor r");
    if (g < 0 || g > 255) logFault("setColor g");
    if (b < 0 || b > 255) logFault("setColor b");
    jint c = java::ishl(r | static_cast<jint>(0xFFFFFF00), 8) | g;
    s_.colour = static_cast<uint32_t>(java::ishl(c, 8) | b);
}

// --- translation and clip ---------------------------------------------------

void Graphics::translate(jint dx, jint dy) {
    s_.translateX = java::iadd(s_.translateX, dx);
    s_.translateY = java::iadd(s_.translateY, dy);
}

void Graphics::setClipBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    s_.clipX1 = saturate(std::max<int64_t>(x1, 0));
    s_.clipY1 = saturate(std::max<int64_t>(y1, 0));
    s_.clipX2 = saturate(std::min<int64_t>(x2, t_.width));
    s_.clipY2 = saturate(std::min<int64_t>(y2, t_.height));
}

void Graphics::setClip(jint x, jint y, jint w, jint h) {
    int64_t x1 = int64_t{x} + s_.translateX, y1 = int64_t{y} + s_.translateY;
    setClipBox(x1, y1, x1 + w, y1 + h);
}

void Graphics::clipRect(jint x, jint y, jint w, jint h) {
    int64_t x1 = int64_t{x} + s_.translateX, y1 = int64_t{y} + s_.translateY;
    setClipBox(std::max<int64_t>(x1, s_.clipX1), std::max<int64_t>(y1, s_.clipY1),
               std::min<int64_t>(x1 + w, s_.clipX2), std::min<int64_t>(y1 + h, s_.clipY2));
}

Graphics::Box Graphics::drawableClip() const {
    Box none{0, 0, 0, 0};
    if (!isRgb565(t_.type)) {
        // Never write RGB565 pixels into an image of another pixel type.
        logFault("m_pixelType");
        return none;
    }
    if (!t_.valid()) {
        logFault("Graphics target");
        return none;
    }
    return Box{std::max<int64_t>(s_.clipX1, 0), std::max<int64_t>(s_.clipY1, 0),
               std::min<int64_t>(s_.clipX2, t_.width), std::min<int64_t>(s_.clipY2, t_.height)};
}

// --- fills ---------------------------------------------------------------------

void Graphics::fillAbs(int64_t x, int64_t y, int64_t w, int64_t h, const Box& c) {
    if (x < c.x1) {
        if (x + w <= c.x1) return;
        w -= c.x1 - x;
        x = c.x1;
    }
    if (x + w > c.x2) w = c.x2 - x;
    if (y < c.y1) {
        if (y + h <= c.y1) return;
        h -= c.y1 - y;
        y = c.y1;
    }
    if (y + h > c.y2) h = c.y2 - y;
    if (w < 1 || h < 1) return;

    uint32_t a = s_.colour >> 24;
    if (a == 0xFF) {
        FillRect16(t_.row16(static_cast<jint>(y)) + x, static_cast<jint>(w), static_cast<jint>(h), t_.stride,
                   rgb565(s_.colour));
        return;
    }
    if (a == 0) return;  // the blend below would leave every pixel as it is
    // Translucent: the colour's terms are the same for every pixel.
    const uint16_t keep = static_cast<uint16_t>(256 - a);
    const uint16_t sr = static_cast<uint16_t>((((s_.colour >> 16) & 0xFF) * a) >> 11);
    const uint16_t sg = static_cast<uint16_t>((((s_.colour >> 8) & 0xFF) * a) >> 10);
    const uint16_t sb = static_cast<uint16_t>(((s_.colour & 0xFF) * a) >> 11);
    for (int64_t yy = y; yy < y + h; ++yy)
        fillTranslucentRow(t_.row16(static_cast<jint>(yy)) + x, static_cast<int>(w), keep, sr, sg, sb);
}

void Graphics::fillRect(jint x, jint y, jint w, jint h) {
    Box c = drawableClip();
    if (c.empty()) return;
    fillAbs(int64_t{x} + s_.translateX, int64_t{y} + s_.translateY, w, h, c);
}

// --- lines -----------------------------------------------------------------------

void Graphics::lineAbs(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& c) {
    if ((s_.colour >> 24) == 0) return;  // a blend with alpha 0 changes nothing
    // Cohen-Sutherland in coordinates relative to the clip origin. The
    // crossing is always computed from the current first end; products go
    // through 128 bits because the ends may lie anywhere in 64 bits.
    const int64_t W = c.x2 - c.x1, H = c.y2 - c.y1;
    x0 -= c.x1, x1 -= c.x1, y0 -= c.y1, y1 -= c.y1;
    auto code = [&](int64_t x, int64_t y) {
        int k = 0;
        if (y < 0) k |= 1;
        else if (y >= H) k |= 2;
        if (x >= W) k |= 4;
        else if (x < 0) k |= 8;
        return k;
    };
    using i128 = __int128;
    for (int round = 0;; ++round) {
        int c0 = code(x0, y0), c1 = code(x1, y1);
        if ((c0 | c1) == 0) break;
        if ((c0 & c1) != 0 || round == 16) return;
        int out = c0 ? c0 : c1;
        int64_t x, y;
        if (out & 1) {
            x = static_cast<int64_t>(x0 - i128{x1 - x0} * y0 / (y1 - y0));
            y = 0;
        } else if (out & 2) {
            x = static_cast<int64_t>(x0 + i128{H - y0} * (x1 - x0) / (y1 - y0));
            y = H - 1;
        } else if (out & 4) {
            y = static_cast<int64_t>(y0 + i128{W - x0} * (y1 - y0) / (x1 - x0));
            x = W - 1;
        } else {
            y = static_cast<int64_t>(y0 - i128{y1 - y0} * x0 / (x1 - x0));
            x = 0;
        }
        if (c0) x0 = x, y0 = y;
        else x1 = x, y1 = y;
    }

    // Bresenham from the first end to the second, both inclusive.
    int32_t px = static_cast<int32_t>(x0 + c.x1), py = static_cast<int32_t>(y0 + c.y1);
    int32_t dx = static_cast<int32_t>(x1 - x0), dy = static_cast<int32_t>(y1 - y0);
    const int32_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    dx = dx < 0 ? -dx : dx;
    dy = dy < 0 ? -dy : dy;
    const bool xMajor = dx >= dy;
    const int32_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const ptrdiff_t rowStep = t_.stride / 2;
    const ptrdiff_t majorStep = xMajor ? sx : sy * rowStep;
    const ptrdiff_t minorStep = xMajor ? sy * rowStep : sx;
    uint16_t* p = t_.row16(py) + px;

    const uint32_t a = s_.colour >> 24;
    const uint16_t src = rgb565(s_.colour);
    int32_t err = 2 * minor - major;
    for (int32_t i = 0;; ++i) {
        *p = a == 0xFF ? src : blendAlpha565(*p, src, static_cast<int32_t>(a));
        if (i == major) break;
        if (err >= 0) {
            p += minorStep;
            err -= 2 * major;
        }
        err += 2 * minor;
        p += majorStep;
    }
}

void Graphics::drawLine(jint x1, jint y1, jint x2, jint y2) {
    Box c = drawableClip();
    if (c.empty()) return;
    const int64_t tx = s_.translateX, ty = s_.translateY;
    lineAbs(x1 + tx, y1 + ty, x2 + tx, y2 + ty, c);
}

void Graphics::drawRect(jint x, jint y, jint w, jint h) {
    Box c = drawableClip();
    if (c.empty()) return;
    const int64_t X = int64_t{x} + s_.translateX, Y = int64_t{y} + s_.translateY;
    lineAbs(X, Y, X + w, Y, c);
    lineAbs(X, Y, X, Y + h, c);
    lineAbs(X + w, Y, X + w, Y + h, c);
    lineAbs(X, Y + h, X + w, Y + h, c);
}

// --- round rectangles --------------------------------------------------------------

namespace {

// Midpoint steps over one octant of a corner circle of radius r: visit(a, b)
// for each step after the first point (0, r), until the diagonal.
template <typename Visit>
void walkCornerOctant(int64_t r, Visit visit) {
    int64_t d = 1 - r, dE = 3, dSE = 5 - 2 * r, a = 0, b = r;
    while (b > a) {
        if (d < 0) {
            d += dE;
            dSE += 2;
        } else {
            --b;
            d += dSE;
            dSE += 4;
        }
        dE += 2;
        ++a;
        visit(a, b);
    }
}

}  // namespace

void Graphics::drawRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight) {
    Box c = drawableClip();
    if (c.empty()) return;
    const int64_t r = std::max<int64_t>(int64_t{arcWidth} - 2, 0) >> 1;  // arcHeight is not used
    if (r > kMaxRadius) return;
    const int64_t X = int64_t{x} + s_.translateX, Y = int64_t{y} + s_.translateY;
    const int64_t L = X + r, R = X + w - 1 - r, T = Y + r, B = Y + h - 1 - r;
    const int64_t right = X + w - 1, bottom = Y + h - 1;

    lineAbs(L, Y, R, Y, c);
    lineAbs(L, bottom, R, bottom, c);
    lineAbs(X, T, X, B, c);
    lineAbs(right, T, right, B, c);
    // The edge ends once more, then the corner arcs.
    plot(L, Y, c), plot(R, Y, c), plot(L, bottom, c), plot(R, bottom, c);
    plot(X, T, c), plot(X, B, c), plot(right, T, c), plot(right, B, c);

    walkCornerOctant(r, [&](int64_t a, int64_t b) {
        plot(L - a, T - b, c), plot(L - b, T - a, c);
        plot(R + a, T - b, c), plot(R + b, T - a, c);
        plot(L - a, B + b, c), plot(L - b, B + a, c);
        plot(R + a, B + b, c), plot(R + b, B + a, c);
    });
}

void Graphics::fillRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint arcHeight) {
    Box c = drawableClip();
    if (c.empty()) return;
    const int64_t r = std::max<int64_t>(int64_t{arcWidth} - 2, 0) >> 1;
    if (r > kMaxRadius) return;
    const int64_t X = int64_t{x} + s_.translateX, Y = int64_t{y} + s_.translateY;
    const int64_t L = X + r, R = X + w - 1 - r, T = Y + r, B = Y + h - 1 - r;
    auto outline = [&](int64_t left, int64_t top, int64_t right, int64_t bottom) {
        lineAbs(left, top, right, top, c);
        lineAbs(left, bottom, right, bottom, c);
        lineAbs(left, top, left, bottom, c);
        lineAbs(right, top, right, bottom, c);
    };
    outline(L, Y, R, Y + h - 1);
    outline(X, T, X + w - 1, B);

    walkCornerOctant(r, [&](int64_t a, int64_t b) {
        outline(L - a, T - b, R + a, B + b);
        outline(L - b, T - a, R + b, B + a);
    });
    fillAbs(L, T, int64_t{w} - 2 * r, int64_t{h} - 2 * r, c);
}

// --- arcs ------------------------------------------------------------------------------

template <bool Fill>
void Graphics::arc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle) {
    Box c = drawableClip();
    if (c.empty()) return;
    const int64_t rx = w >> 1, ry = h >> 1;
    if (rx < 0 || ry < 0 || rx > kMaxRadius || ry > kMaxRadius) return;

    // The swept angles, counter-clockwise from 3 o'clock (y grows
    // downward), as at most two intervals inside [0, 360]; a sweep of a
    // whole turn or more is the full ellipse, a sweep of 0 is nothing.
    if (arcAngle == 0) return;
    struct Span {
        double lo, hi;
    };
    Span spans[2];
    int spanCount = 0;
    if (arcAngle >= 360 || arcAngle <= -360) {
        spans[spanCount++] = {0, 360};
    } else {
        int64_t lo = arcAngle > 0 ? int64_t{startAngle} : int64_t{startAngle} + arcAngle;
        lo = ((lo % 360) + 360) % 360;
        const int64_t hi = lo + (arcAngle > 0 ? arcAngle : -int64_t{arcAngle});
        if (hi <= 360) {
            spans[spanCount++] = {double(lo), double(hi)};
        } else {
            spans[spanCount++] = {double(lo), 360};
            spans[spanCount++] = {0, double(hi - 360)};
        }
    }
    // Per quadrant k (90k .. 90(k + 1) degrees): drawn whole when a span
    // covers it, else the points whose angle lies in a span that overlaps
    // it by more than a single angle (touching spans draw nothing there).
    bool whole[4], part[4];
    bool any = false;
    for (int k = 0; k < 4; ++k) {
        whole[k] = part[k] = false;
        for (int i = 0; i < spanCount; ++i) {
            const double a = std::max(spans[i].lo, 90.0 * k), b = std::min(spans[i].hi, 90.0 * (k + 1));
            if (spans[i].lo <= 90.0 * k && spans[i].hi >= 90.0 * (k + 1)) whole[k] = true;
            else if (b > a) part[k] = true;
        }
        any |= whole[k] || part[k];
    }
    if (!any) return;
    // The angle of a point (px, py) of quadrant k, measured on the ellipse's
    // own axes so that 45 degrees points at the bounding box's corner.
    auto inSpans = [&](int k, int64_t px, int64_t py) {
        const double phi = std::atan2(double(py) * double(rx > 0 ? rx : 1), double(px) * double(ry > 0 ? ry : 1)) *
                           (180.0 / 3.14159265358979323846);
        const double theta = k == 0 ? phi : k == 1 ? 180 - phi : k == 2 ? 180 + phi : 360 - phi;
        for (int i = 0; i < spanCount; ++i) {
            const double a = std::max(spans[i].lo, 90.0 * k), b = std::min(spans[i].hi, 90.0 * (k + 1));
            if (b > a && theta >= a && theta <= b) return true;
        }
        return false;
    };
    auto on = [&](int k, int64_t px, int64_t py) { return whole[k] || (part[k] && inSpans(k, px, py)); };

    const int64_t cx = int64_t{x} + (w >> 1) + s_.translateX, cy = int64_t{y} + (h >> 1) + s_.translateY;
    auto emit = [&](int64_t px, int64_t py) {
        if constexpr (Fill) {
            const int64_t sx[4] = {1, -1, -1, 1}, sy[4] = {-1, -1, 1, 1};
            for (int k = 0; k < 4; ++k) {
                if (whole[k]) {
                    fillAbs(sx[k] > 0 ? cx : cx - px, cy + sy[k] * py, px + 1, 1, c);
                } else if (part[k]) {
                    // A wedge: the row's pixels whose angle is swept.
                    for (int64_t q = 0; q <= px; ++q)
                        if (inSpans(k, q, py)) plot(cx + sx[k] * q, cy + sy[k] * py, c);
                }
            }
        } else {
            if (on(0, px, py)) plot(cx + px, cy - py, c);
            if (on(1, px, py)) plot(cx - px, cy - py, c);
            if (on(2, px, py)) plot(cx - px, cy + py, c);
            if (on(3, px, py)) plot(cx + px, cy + py, c);
        }
    };

    // Two-region midpoint ellipse; the half-pixel terms of the decision
    // values are rounded to whole numbers.
    const int64_t a2 = rx * rx, b2 = ry * ry;
    int64_t px = 0, py = ry;
    int64_t dx = 0, dy = 2 * a2 * py;
    int64_t d1 = b2 - a2 * ry + (a2 + 2) / 4;
    emit(px, py);
    while (dx < dy) {
        ++px;
        dx += 2 * b2;
        if (d1 < 0) {
            d1 += dx + b2;
        } else {
            --py;
            dy -= 2 * a2;
            d1 += dx - dy + b2;
        }
        emit(px, py);
    }
    int64_t d2 = b2 * (px * px + px) + (b2 + 2) / 4 + a2 * (py - 1) * (py - 1) - a2 * b2;
    while (py > 0) {
        --py;
        dy -= 2 * a2;
        if (d2 > 0) {
            d2 += a2 - dy;
        } else {
            ++px;
            dx += 2 * b2;
            d2 += dx - dy + a2;
        }
        emit(px, py);
    }
}

void Graphics::drawArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle) {
    arc<false>(x, y, w, h, startAngle, arcAngle);
}

void Graphics::fillArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle) {
    arc<true>(x, y, w, h, startAngle, arcAngle);
}

// --- triangles ---------------------------------------------------------------------------

void Graphics::fillTriangle(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3) {
    Box c = drawableClip();
    if (c.empty()) return;
    int64_t ax = x1, ay = y1, bx = x2, by = y2, cxv = x3, cyv = y3;
    if (ay > by) std::swap(ax, bx), std::swap(ay, by);
    if (by > cyv) std::swap(bx, cxv), std::swap(by, cyv);
    if (ay > by) std::swap(ax, bx), std::swap(ay, by);

    // Edge slopes in 8.8 fixed point, 0 for a horizontal edge.
    auto slope = [](int64_t xa, int64_t ya, int64_t xb, int64_t yb) -> int64_t {
        return yb == ya ? 0 : (xb - xa) * 256 / (yb - ya);
    };
    const int64_t sAB = slope(ax, ay, bx, by), sAC = slope(ax, ay, cxv, cyv), sBC = slope(bx, by, cxv, cyv);
    const int64_t tx = s_.translateX, ty = s_.translateY;
    // Rows outside the clip are skipped; positions along an edge are
    // start + slope * rows, exactly what stepping row by row gives.
    const int64_t clipTop = c.y1 - ty, clipBottom = c.y2 - 1 - ty;
    auto span = [&](int64_t row, int64_t left, int64_t right) {
        fillAbs((left >> 8) + tx, row + ty, (right >> 8) - (left >> 8), 1, c);
    };

    // Upper part: rows ay .. by - 1, both edges from the top vertex.
    {
        const int64_t sl = std::min(sAB, sAC), sr = std::max(sAB, sAC);
        for (int64_t row = std::max(ay, clipTop), last = std::min(by - 1, clipBottom); row <= last; ++row)
            span(row, ax * 256 + sl * (row - ay), ax * 256 + sr * (row - ay));
    }
    // Lower part: rows by .. cy inclusive; the edge with the larger slope on
    // the left (the nearer one when the slopes agree).
    {
        auto posAC = [&](int64_t row) { return ax * 256 + sAC * (row - ay); };
        auto posBC = [&](int64_t row) { return bx * 256 + sBC * (row - by); };
        bool acLeft = sAC != sBC ? sAC > sBC : posAC(by) <= posBC(by);
        for (int64_t row = std::max(by, clipTop), last = std::min(cyv, clipBottom); row <= last; ++row) {
            if (acLeft) span(row, posAC(row), posBC(row));
            else span(row, posBC(row), posAC(row));
        }
    }
}

}  // namespace display
