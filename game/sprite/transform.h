// Sprite transform codes and their composition. A code is three bits applied
// in this order: bit 0 mirror left-right, bit 1 flip top-bottom, bit 2 a
// quarter turn clockwise (y grows downward). The eight codes form the
// symmetry group of the square; every table here is derived from the 2x2
// matrices of that group at compile time, so the tables cannot disagree
// with each other.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/jint.h"

namespace sprite {

using java::jint;

// Bits of a transform code, and the nested-frame bit of a frame module.
constexpr jint kMirror = 1;
constexpr jint kFlip = 2;
constexpr jint kTurn = 4;
constexpr jint kNestedFrame = 0x10;

// Width of the portrait screen: the quarter turn sends game (x, y) of a
// module whose on-screen extent is e to device (kDeviceWidth - e - y, x).
constexpr jint kDeviceWidth = 480;
// The landscape play space the game draws in.
constexpr jint kGameWidth = 800;
constexpr jint kGameHeight = 480;

namespace detail {
struct Mat {
    int a, b, c, d;  // (x, y) -> (a x + b y, c x + d y)
    constexpr bool operator==(const Mat&) const = default;
};
constexpr Mat mul(Mat p, Mat q) {  // p after q
    return {p.a * q.a + p.b * q.c, p.a * q.b + p.b * q.d, p.c * q.a + p.d * q.c, p.c * q.b + p.d * q.d};
}
constexpr Mat kIdentity{1, 0, 0, 1};
constexpr Mat kMirrorM{-1, 0, 0, 1};
constexpr Mat kFlipM{1, 0, 0, -1};
constexpr Mat kTurnM{0, -1, 1, 0};  // clockwise with y downward: (1, 0) -> (0, 1)
constexpr Mat matrixOf(int t) {
    Mat m = kIdentity;
    if (t & kMirror) m = mul(kMirrorM, m);
    if (t & kFlip) m = mul(kFlipM, m);
    if (t & kTurn) m = mul(kTurnM, m);
    return m;
}
constexpr int codeOf(Mat m) {
    for (int t = 0; t < 8; ++t)
        if (matrixOf(t) == m) return t;
    return -1;
}
}  // namespace detail

// The code of "first inner, then outer".
constexpr jint compose(jint inner, jint outer) {
    return detail::codeOf(detail::mul(detail::matrixOf(outer & 7), detail::matrixOf(inner & 7)));
}
// The code that undoes t.
constexpr jint inverse(jint t) {
    for (int u = 0; u < 8; ++u)
        if (compose(t, u) == 0) return u;
    return -1;
}

using Table = std::array<jint, 8>;
constexpr Table makeTable(jint outer) {
    Table t{};
    for (int i = 0; i < 8; ++i) t[static_cast<size_t>(i)] = compose(i, outer);
    return t;
}

// An outer mirror, flip or quarter turn applied to inner flags; the new
// flags are table[old & 7] | (old & ~7).
constexpr Table kComposeMirror = makeTable(kMirror);
constexpr Table kComposeFlip = makeTable(kFlip);
constexpr Table kComposeTurn = makeTable(kTurn);

// Sprite code to the MIDP transform of drawRegion (mirror 2, vertical
// flip 1, clockwise quarter turn 5).
constexpr Table kTransformToMidp = {0, 2, 1, 3, 5, 7, 4, 6};

// Drawing a picture that is stored turned a quarter clockwise (a pre-turned
// module image, R(M)) so that it shows T_d(M): the stored picture is drawn
// with code d after a quarter turn back, T_d o R^-1.
constexpr Table makeTurnedSourceTable() {
    Table t{};
    for (int d = 0; d < 8; ++d) t[static_cast<size_t>(d)] = compose(inverse(kTurn), d);
    return t;
}
constexpr Table kTurnedSource = makeTurnedSourceTable();

inline constexpr jint withTable(const Table& table, jint flags) {
    return table[static_cast<size_t>(flags & 7)] | (flags & ~7);
}

static_assert(kComposeMirror == Table{1, 0, 3, 2, 6, 7, 4, 5});
static_assert(kComposeFlip == Table{2, 3, 0, 1, 5, 4, 7, 6});
static_assert(kComposeTurn == Table{4, 5, 6, 7, 3, 2, 1, 0});
// A picture turned a quarter and then mirrored is the original flipped and
// turned: for pre-turned pictures the flags of the unturned painting map
// as 1 <-> 2 and 5 <-> 6.
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[1])] == 2);
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[2])] == 1);
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[5])] == 6);
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[6])] == 5);
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[0])] == 0);
static_assert(kTurnedSource[static_cast<size_t>(kComposeTurn[7])] == 7);

}  // namespace sprite
