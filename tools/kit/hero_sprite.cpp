// The hero's sprite and its effect sprites (see hero_sprite.h).
#include "tools/kit/hero_sprite.h"

namespace kit {

namespace {

std::vector<uint8_t> filled(int w, int h, uint8_t index) { return std::vector<uint8_t>(static_cast<size_t>(w * h), index); }

SpriteAnim steps(std::initializer_list<std::pair<int, int>> frameAndTime) {
    SpriteAnim a;
    for (auto [frame, time] : frameAndTime) a.frames.push_back(AnimFrame{frame, time, 0, 0, 0});
    return a;
}

}  // namespace

SpriteModel heroSprite() {
    SpriteModel m;
    SpriteImages img;
    img.paletteFormat = kPalette8888;
    img.pixelFormat = kPixels8;
    img.colorCount = 4;
    img.palettes = {{0x00000000, 0xFF3070D0, 0xFFE0B080, 0xFF203040}};
    m.images = img;
    m.modules.push_back(SpriteModule::image(33, 85, filled(33, 85, 1)));  // standing
    m.modules.push_back(SpriteModule::image(33, 50, filled(33, 50, 2)));  // low
    m.modules.push_back(SpriteModule::image(50, 42, filled(50, 42, 3)));  // prone
    // Frames drawn from the feet: 0 standing, 1 low, 2 prone, 3 standing
    // leaning (a second drawing for multi-frame animations).
    auto frame = [](int module, int w, int h, int dx) {
        SpriteFrame f;
        f.modules.push_back(FrameModule{module, -w / 2 + dx, -h, 0, 0});
        f.rects.push_back(FrameRect{-w / 2, -h, w, h});
        return f;
    };
    m.frames = {frame(0, 33, 85, 0), frame(1, 33, 50, 0), frame(2, 50, 42, 0), frame(0, 33, 85, 2)};
    for (int a = 0; a < kHeroAnimCount; ++a) m.anims.push_back(steps({{0, 4}}));
    m.anims[1] = steps({{0, 4}, {3, 4}});
    m.anims[3] = steps({{1, 2}});
    m.anims[7] = steps({{0, 4}, {1, 4}, {2, 4}});
    m.anims[11] = steps({{1, 2}});
    m.anims[14] = steps({{1, 2}});
    m.anims[20] = steps({{1, 2}, {1, 2}, {0, 2}});
    for (int low : {4, 16, 36}) m.anims[low] = steps({{1, 4}});
    for (int prone : {33, 35, 50}) m.anims[prone] = steps({{2, 4}});
    return m;
}

SpriteModel heroEffectSprite(int id) {
    SpriteModel m;
    SpriteImages img;
    img.colorCount = 2;
    img.palettes = {{0x00000000, id == 8 ? 0xFFF0F0F0u : (id == 10 ? 0xFF40C0F0u : 0xFFF0C040u)}};
    m.images = img;
    m.modules.push_back(SpriteModule::image(12, 12, filled(12, 12, 1)));
    m.modules.push_back(SpriteModule::image(6, 6, filled(6, 6, 1)));
    SpriteFrame big, small;
    big.modules.push_back(FrameModule{0, -6, -12, 0, 0});
    small.modules.push_back(FrameModule{1, -3, -6, 0, 0});
    m.frames = {big, small};
    for (int a = 0; a < 64; ++a) m.anims.push_back(a % 2 ? steps({{0, 2}, {1, 2}}) : steps({{0, 2}}));
    return m;
}

}  // namespace kit
