// The demo's painted art (demo_art.h): a backdrop that covers the whole view
// and the map tiles, drawn from filled primitives (rectangles, triangles,
// pie arcs), so no pixel leaves its frame's box.
#include "tools/kit/demo_art.h"

#include <algorithm>

#include "tools/kit/hero_sprite.h"

namespace kit {

namespace {

// A frame under construction: modules are shared in the model, so each
// shape adds its module and places it.
struct Painter {
    SpriteModel& model;
    SpriteFrame frame;

    void put(const SpriteModule& m, int x, int y) {
        auto it = std::find(model.modules.begin(), model.modules.end(), m);
        const int index = static_cast<int>(it - model.modules.begin());
        if (it == model.modules.end()) model.modules.push_back(m);
        frame.modules.push_back(FrameModule{index, x, y, 0, 0});
    }
    // A filled box of any size, split into modules of at most 200 x 200.
    void box(uint32_t argb, int x, int y, int w, int h) {
        for (int oy = 0; oy < h; oy += 200)
            for (int ox = 0; ox < w; ox += 200)
                put(SpriteModule::fillRect(argb, std::min(200, w - ox), std::min(200, h - oy)), x + ox, y + oy);
    }
    void triangle(uint32_t argb, int x, int y, int x1, int y1, int x2, int y2) {
        put(SpriteModule::fillTriangle(argb, x1, y1, x2, y2), x, y);
    }
    void disc(uint32_t argb, int x, int y, int w, int h) { put(SpriteModule::fillArc(argb, w, h, 0, 360), x, y); }
    void done() { model.frames.push_back(std::move(frame)); frame = {}; }
};

SpriteImages noImages() {
    SpriteImages img;
    img.colorCount = 2;
    img.palettes = {{0x00000000, 0xFFFFFFFF}};
    return img;
}

}  // namespace

SpriteModel demoBackdropSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    const int left = -kViewWidth / 2, top = -kViewHeight / 2;
    // Frame 0: dusk sky in bands, a moon, rolling hills and a thorn hedge.
    static const uint32_t kBands[] = {0xFF101830, 0xFF142038, 0xFF182840, 0xFF1C3048, 0xFF203850, 0xFF284058,
                                      0xFF304860, 0xFF385068, 0xFF405870, 0xFF486078, 0xFF506880, 0xFF587088};
    for (int b = 0; b < 12; ++b) p.box(kBands[b], left, top + b * 40, kViewWidth, 40);
    p.disc(0xFFF0E8C0, left + 600, top + 50, 60, 60);
    for (int h = 0; h < 5; ++h) p.disc(0xFF203828, left - 60 + h * 190, top + 300, 240, 200);
    p.box(0xFF203828, left, top + 400, kViewWidth, 80);
    for (int t = 0; t < 20; ++t) p.triangle(0xFF102014, left + t * 40, top + 480, 20, -50 - (t % 3) * 10, 40, 0);
    p.done();
    // Frame 1: the title's banner, a framed plate with bramble corners.
    p.box(0xC0302018, left + 120, top + 120, 560, 160);
    p.box(0xFFC09040, left + 120, top + 120, 560, 6);
    p.box(0xFFC09040, left + 120, top + 274, 560, 6);
    p.box(0xFFC09040, left + 120, top + 120, 6, 160);
    p.box(0xFFC09040, left + 674, top + 120, 6, 160);
    for (int c = 0; c < 4; ++c) {
        const int cx = left + (c % 2 ? 650 : 110), cy = top + (c / 2 ? 250 : 110);
        p.disc(0xFF60A040, cx, cy, 40, 40);
        p.disc(0xFFD03050, cx + 14, cy + 14, 12, 12);
    }
    // The game's name as blocky letters is left to the font; the plate
    // carries two thorn bands.
    for (int t = 0; t < 13; ++t) {
        p.triangle(0xFF60A040, left + 160 + t * 40, top + 170, 20, -24, 40, 0);
        p.triangle(0xFF60A040, left + 160 + t * 40, top + 230, 20, 24, 40, 0);
    }
    p.done();
    return m;
}

SpriteModel demoTileSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    const int s = kTileSize;
    // 0 sky: a soft dark blue with a faint star.
    p.box(0xFF1C3048, 0, 0, s, s);
    p.box(0xFF506880, 26, 8, 2, 2);
    p.done();
    // 1 ground: grass on earth with pebbles.
    p.box(0xFF704828, 0, 0, s, s);
    p.box(0xFF50A030, 0, 0, s, 8);
    p.box(0xFF387020, 0, 8, s, 3);
    p.box(0xFF906040, 6, 18, 5, 4);
    p.box(0xFF906040, 22, 27, 6, 4);
    p.box(0xFF583818, 0, s - 2, s, 2);
    p.done();
    // 2 ledge: a plank with supports, open below.
    p.box(0xFFB08040, 0, 0, s, 10);
    p.box(0xFF805828, 0, 8, s, 2);
    p.box(0xFF805828, 4, 10, 4, 14);
    p.box(0xFF805828, 28, 10, 4, 14);
    p.done();
    // 3 conveyor: a grey belt on dark rollers.
    p.box(0xFF303030, 0, 0, s, s);
    p.box(0xFF909090, 0, 0, s, 8);
    for (int k = 0; k < 3; ++k) p.box(0xFFE0C020, 2 + k * 12, 2, 6, 4);
    p.disc(0xFF606060, 2, 12, 14, 14);
    p.disc(0xFF606060, 20, 12, 14, 14);
    p.box(0xFF909090, 0, s - 6, s, 6);
    p.done();
    // 4 wall: stone blocks with mortar.
    p.box(0xFF606870, 0, 0, s, s);
    p.box(0xFF404850, 0, 17, s, 2);
    p.box(0xFF404850, 17, 0, 2, 17);
    p.box(0xFF404850, 8, 19, 2, 17);
    p.box(0xFF404850, 27, 19, 2, 17);
    p.box(0xFF788088, 1, 1, 15, 2);
    p.done();
    // 5 slope: earth rising to the right with a grass edge.
    p.triangle(0xFF704828, 0, s, s, -s, s, 0);
    p.triangle(0xFF50A030, 0, s, s, -s, s, -s + 6);
    p.done();
    // 6-9 far hills: a dusk sky with hill shapes in four cuts.
    for (int v = 0; v < 4; ++v) {
        p.box(0xFF182840, 0, 0, s, s);
        const int top = 10 + v * 5;
        p.box(0xFF20382C, 0, top, s, s - top);
        p.triangle(0xFF20382C, 0, top, s / 2, -(6 + v * 2), s, 0);
        p.done();
    }
    // 10-15 bramble clumps of the middle layer: open cells with a thorn bush
    // whose size and berry change with the variant.
    for (int v = 0; v < 6; ++v) {
        const int r = 16 + v * 3;
        const int x = (s - r) / 2, y = s - r;
        p.disc(0xFF2C5020, x, y, r, r);
        p.triangle(0xFF3C6828, x, y + r / 2, r / 2, -r / 2, r, 0);
        p.disc(0xFFC03050, x + r / 2 - 2, y + r / 2, 4, 4);
        p.done();
    }
    // 16 spikes.
    p.box(0xFF404040, 0, s - 6, s, 6);
    for (int k = 0; k < 4; ++k) p.triangle(0xFFD0D0D0, k * 9, s - 6, 4, -22, 9, 0);
    p.done();
    return m;
}

SpriteModel demoHudSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    // Frames by number, each taken as it is drawn; the frames no piece
    // names show nothing.
    std::vector<SpriteFrame> f(32);
    for (SpriteFrame& e : f) e.modules.push_back(FrameModule{0, 0, 0, 0, 0});
    m.modules.push_back(SpriteModule::sizeOnly(1, 1));
    auto take = [&](int n) {
        if (n >= static_cast<int>(f.size())) f.resize(size_t(n) + 1);
        f[size_t(n)] = std::move(p.frame);
        p.frame = {};
    };
    // 29-31: the health pips (full, empty, half).
    for (int k = 0; k < 3; ++k) {
        p.disc(0xFF402020, -10, -10, 20, 20);
        if (k != 1) p.put(SpriteModule::fillArc(0xFFE03040, 16, 16, 90, 180), -8, -8);
        if (k == 0) p.put(SpriteModule::fillArc(0xFFE03040, 16, 16, 270, 180), -8, -8);
        p.disc(0xFFFFC0C0, -5, -6, 4, 4);
        take(29 + k);
    }
    // 18: the collect counter's coin, still, right of the counter's text
    // (painted at (666, 60)); 32-35 the coin turning, painted at (677, 90).
    p.disc(0xFFF0C030, -1, -50, 24, 24);
    p.disc(0xFFFFF0A0, 5, -45, 6, 6);
    take(18);
    for (int k = 0; k < 4; ++k) {
        const int w = k == 0 ? 24 : k == 1 ? 16 : k == 2 ? 6 : 16;
        p.disc(0xFFF0C030, -w / 2, -80, w, 24);
        take(32 + k);
    }
    // 36-41: the hero's face, a variant per hero kind, two frames (a blink).
    static const uint32_t kHair[3] = {0xFF603018, 0xFF202020, 0xFFC0A030};
    for (int kind = 0; kind < 3; ++kind)
        for (int blink = 0; blink < 2; ++blink) {
            p.box(0xFF203040, 6, 4, 56, 56);
            p.box(0xFF3070D0, 8, 44, 52, 16);
            p.disc(0xFFE0B080, 16, 12, 36, 38);
            p.put(SpriteModule::fillArc(kHair[kind], 40, 30, 0, 180), 14, 8);
            p.box(blink ? 0xFF805030 : 0xFF101010, 24, 28, 6, blink ? 2 : 6);
            p.box(blink ? 0xFF805030 : 0xFF101010, 38, 28, 6, blink ? 2 : 6);
            p.box(0xFFA04030, 29, 42, 10, 3);
            take(36 + 2 * kind + blink);
        }
    // 42: nothing (the in-game bar's plate is not drawn by the demo); 43
    // the speech panel's page arrow.
    p.triangle(0xFF8DC63F, -20, -14, 10, 14, 20, 0);
    take(43);
    m.frames = std::move(f);
    auto anim = [](std::initializer_list<std::pair<int, int>> frames) {
        SpriteAnim a;
        for (auto [frame, time] : frames) a.frames.push_back(AnimFrame{frame, time, 0, 0, 0});
        return a;
    };
    m.anims.assign(48, anim({{0, 4}}));
    m.anims[0] = anim({{32, 3}, {33, 3}, {34, 3}, {35, 3}, {32, 3}});
    m.anims[10] = anim({{43, 4}});
    for (int kind = 0; kind < 3; ++kind) m.anims[size_t(45 + kind)] = anim({{36 + 2 * kind, 40}, {37 + 2 * kind, 4}});
    return m;
}

SpriteModel demoButtonSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    const uint32_t kRim = 0xFFE0E0E0, kFace = 0xFF406080, kMark = 0xFFF0F0F0, kLit = 0xFFFFE060;
    // A button frame: its box pinned from (0, 0) so the panel's image holds
    // it whole.
    auto pinned = [&](int size) {
        p.put(SpriteModule::sizeOnly(size, size), 0, 0);
        p.frame.rects.push_back(FrameRect{0, 0, size, size});
    };
    std::vector<SpriteFrame> f(20);
    auto take = [&](int n) {
        f[size_t(n)] = std::move(p.frame);
        p.frame = {};
    };
    // 0: the pad, a disc with four arrows.
    pinned(190);
    p.disc(kRim, 0, 0, 190, 190);
    p.disc(kFace, 6, 6, 178, 178);
    p.triangle(kMark, 95, 20, -20, 40, 20, 40);    // up
    p.triangle(kMark, 95, 170, -20, -40, 20, -40); // down
    p.triangle(kMark, 20, 95, 40, -20, 40, 20);    // left
    p.triangle(kMark, 170, 95, -40, -20, -40, 20); // right
    take(0);
    // 1: the right corner's two round buttons (jump lower left, action upper
    // right).
    pinned(200);
    p.disc(kRim, 5, 95, 100, 100);
    p.disc(kFace, 11, 101, 88, 88);
    p.disc(kRim, 105, 5, 90, 90);
    p.disc(kFace, 111, 11, 78, 78);
    p.triangle(kMark, 55, 125, -18, 30, 18, 30);
    p.disc(kMark, 138, 38, 24, 24);
    take(1);
    // 2: the action button.
    pinned(100);
    p.disc(kRim, 0, 0, 100, 100);
    p.disc(kFace, 6, 6, 88, 88);
    p.box(kMark, 30, 44, 40, 12);
    p.box(kMark, 44, 30, 12, 40);
    take(2);
    // 3: the partner button.
    pinned(83);
    p.disc(kRim, 0, 0, 83, 83);
    p.disc(0xFF508040, 5, 5, 73, 73);
    p.disc(kMark, 28, 20, 27, 27);
    p.box(kMark, 24, 50, 35, 14);
    take(3);
    // 4: the action button pressed, around its centre.
    p.disc(kLit, -44, -44, 88, 88);
    take(4);
    // 5 and 7: the round buttons pressed, from the corner (767, 446).
    p.disc(kLit, -190, -99, 88, 88);
    take(5);
    p.disc(kLit, -90, -189, 78, 78);
    take(7);
    // 6 and 17: the partner button pressed; 16 and 19 its blink; 18 the
    // carrying hero's button.
    p.disc(kLit, 5, 5, 73, 73);
    take(6);
    p.disc(kLit, 5, 5, 73, 73);
    take(17);
    p.put(SpriteModule::arc(kLit, 83, 83, 0, 360), 0, 0);
    take(16);
    p.put(SpriteModule::arc(kLit, 83, 83, 0, 360), 0, 0);
    take(19);
    pinned(83);
    p.disc(kRim, 0, 0, 83, 83);
    p.disc(0xFF805030, 5, 5, 73, 73);
    p.box(kMark, 22, 30, 40, 24);
    take(18);
    // 8-15: the pad's cells pressed, around the pad's centre (right, down,
    // left, up, down-right, up-right, down-left, up-left).
    static const int kCells[8][3] = {{8, 60, 0},  {9, 0, 60},   {10, -60, 0}, {11, 0, -60},
                                     {12, 55, 55}, {13, 55, -55}, {14, -55, 55}, {15, -55, -55}};
    for (const auto& c : kCells) {
        p.disc(kLit, c[1] - 22, c[2] - 22, 44, 44);
        take(c[0]);
    }
    m.frames = std::move(f);
    return m;
}

SpriteModel demoActorSprite(ActorLook look) {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    for (int f = 0; f < 2; ++f) {
        const int bob = f;  // the second frame sits a pixel lower
        switch (look) {
        case ActorLook::Enemy:  // a red beetle with white eyes and legs
            p.disc(0xFFC03028, -16, -28 + bob, 32, 24);
            p.box(0xFF401010, -14, -6, 4, 6);
            p.box(0xFF401010, 10, -6, 4, 6);
            p.disc(0xFFFFFFFF, -10, -24 + bob, 8, 8);
            p.disc(0xFFFFFFFF, 2, -24 + bob, 8, 8);
            break;
        case ActorLook::Hazard:  // an orange spiked ball
            p.disc(0xFFE07020, -12, -26 + bob, 24, 24);
            for (int k = 0; k < 4; ++k) p.triangle(0xFFFFE040, -16 + k * 8, -26 + bob, 4, -6, 8, 0);
            break;
        case ActorLook::Platform:  // a blue-grey slab with rivets
            p.box(0xFF6080A0, -24, -12, 48, 12);
            p.box(0xFF90B0D0, -24, -12, 48, 3);
            p.box(0xFF304050, -20 + bob * 2, -7, 3, 3);
            p.box(0xFF304050, 17 - bob * 2, -7, 3, 3);
            break;
        case ActorLook::Item:  // a golden coin with a shine
            p.disc(0xFFF0C030, -10, -22 + bob * 2, 20, 20);
            p.disc(0xFFFFF0A0, -5, -18 + bob * 2, 6, 6);
            break;
        case ActorLook::Boss:  // a large purple brute with horns
            p.box(0xFF7030A0, -28, -60 + bob, 56, 60 - bob);
            p.triangle(0xFFF0F0F0, -28, -60 + bob, 6, -14, 12, 0);
            p.triangle(0xFFF0F0F0, 16, -60 + bob, 6, -14, 12, 0);
            p.box(0xFFFFE040, -16, -48 + bob, 8, 6);
            p.box(0xFFFFE040, 8, -48 + bob, 8, 6);
            break;
        }
        p.done();
    }
    for (SpriteFrame& f : m.frames) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        for (const FrameModule& fm : f.modules) {
            const SpriteModule& mod = m.modules[size_t(fm.index)];
            x0 = std::min(x0, fm.x), y0 = std::min(y0, fm.y);
            x1 = std::max(x1, fm.x + mod.width), y1 = std::max(y1, fm.y + mod.height);
        }
        f.rects.push_back(FrameRect{x0, y0, x1 - x0, y1 - y0});
    }
    for (int a = 0; a < kDemoActorAnims; ++a) {
        SpriteAnim anim;
        anim.frames = {AnimFrame{0, 4, 0, 0, 0}, AnimFrame{1, 4, 0, 0, 0}};
        m.anims.push_back(anim);
    }
    return m;
}

SpriteModel demoChainLinkSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    for (int f = 0; f < 20; ++f) {
        // An oval ring turning from upright to flat over the half turn.
        const int w = 6 + (f < 10 ? f : 19 - f), h = 16 - (f < 10 ? f : 19 - f);
        p.put(SpriteModule::fillArc(0xFFB0B8C0, w, h, 0, 360), -w / 2, -h / 2);
        p.put(SpriteModule::arc(0xFF505860, w, h, 0, 360), -w / 2, -h / 2);
        p.done();
    }
    for (int a = 0; a < kDemoChainAnims; ++a) {
        SpriteAnim anim;
        for (int f = 0; f < 20; ++f) anim.frames.push_back(AnimFrame{f, 4, 0, 0, 0});
        m.anims.push_back(anim);
    }
    return m;
}

SpriteModel demoFireworkSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    static const uint32_t kColours[kDemoFireworkAnims] = {0xFFFFF0C0, 0xFFFF5040, 0xFFFFE040, 0xFF60FF80, 0xFF60A0FF};
    for (int a = 0; a < kDemoFireworkAnims; ++a) {
        SpriteAnim anim;
        for (int f = 0; f < 3; ++f) {
            const int r = 12 - 4 * f;  // 12, 8, 4 pixels across
            p.disc(kColours[a], -r / 2, -r / 2, r, r);
            if (f == 0) p.disc(0xFFFFFFFF, -1, -1, 2, 2);
            anim.frames.push_back(AnimFrame{static_cast<int>(m.frames.size()), 3, 0, 0, 0});
            p.done();
        }
        m.anims.push_back(anim);
    }
    return m;
}

SpriteModel demoShowGlowSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    SpriteAnim anim;
    for (int f = 0; f < 4; ++f) {
        const int r = 40 + 30 * f;
        p.put(SpriteModule::arc(0xFFFFE080, r, r, 0, 360), -r / 2, -r / 2);
        p.put(SpriteModule::arc(0xFFFFFFFF, r + 4, r + 4, 0, 360), -r / 2 - 2, -r / 2 - 2);
        p.done();
        anim.frames.push_back(AnimFrame{f, 4, 0, 0, 0});
    }
    m.anims.push_back(anim);
    return m;
}

SpriteModel demoSpeedStreakSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    SpriteAnim anim;
    for (int f = 0; f < 4; ++f) {
        // Five streaks at their rows, each a little further left a frame.
        for (int k = 0; k < 5; ++k) {
            const int y = -120 + 60 * k, x = 200 - 120 * f - 40 * (k % 2);
            p.box(0xFFE0F0FF, x, y - 2, 160, 4);
            p.box(0xFF80C0FF, x + 160, y - 1, 60, 2);
        }
        p.done();
        anim.frames.push_back(AnimFrame{f, 3, 0, 0, 0});
    }
    m.anims.push_back(anim);
    return m;
}

SpriteModel demoBossPortraitSprite() {
    SpriteModel m;
    m.images = noImages();
    Painter p{m, {}};
    for (int f = 0; f < kDemoBossPortraits; ++f) {
        const uint32_t hue = 0xFF000000u | static_cast<uint32_t>((f * 97) % 200 + 40) << 16 |
                             static_cast<uint32_t>((f * 53) % 160 + 30) << 8 | static_cast<uint32_t>((f * 31) % 200 + 40);
        p.box(0xFFC09040, -20, -20, 40, 40);
        p.box(hue, -17, -17, 34, 34);
        p.box(0xFFFFFFFF, -10, -8, 6, 6);
        p.box(0xFFFFFFFF, 4, -8, 6, 6);
        p.box(0xFF200810, -8, 6, 16, 4);
        p.done();
    }
    return m;
}

SpriteModel demoArenaSprite() {
    SpriteModel m = heroSprite();
    m.images->palettes = {{0x00000000, 0xFF9030B0, 0xFFE04040, 0xFF401858}};
    return m;
}

}  // namespace kit
