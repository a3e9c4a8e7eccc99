// The seed files of the sprite fuzz target.
#include "tests/game/sprite/seeds.h"

#include "tests/game/sprite/models.h"
#include "tools/kit/damage.h"

namespace spritetest {

std::vector<SeedFile> spriteSeeds(bool withDamage) {
    struct Valid {
        std::string name;
        kit::Bytes bytes;
    };
    std::vector<Valid> valid;
    const struct {
        const char* name;
        uint16_t palette, pixels;
        uint32_t flags;
    } layouts[] = {
        {"rich-8888-8", kit::kPalette8888, kit::kPixels8, 0},
        {"rich-4444-4-wide", kit::kPalette4444, kit::kPixels4, kit::kSpriteWideCoords},
        {"rich-5515-2", kit::kPalette5515, kit::kPixels2, kit::kSpriteNoBoundingBoxes | kit::kSpriteModuleExtra},
        {"rich-6505-1", kit::kPalette6505, kit::kPixels1, kit::kSpritePixelLength32},
        {"rich-64F0", kit::kPalette8888, kit::kPixelsRunMask, kit::kSpriteWideModuleIndex},
        {"rich-27F1", kit::kPalette8888, kit::kPixelsRun127, kit::kSpriteWideFrameIndex},
        {"rich-56F2", kit::kPalette4444, kit::kPixelsRunMixed, kit::kSpriteWideCoords | kit::kSpriteWideFrameIndex},
    };
    for (const auto& l : layouts) valid.push_back({l.name, kit::encodeSprite(richSprite(l.palette, l.pixels, l.flags))});
    kit::SpriteModel remapped = richSprite();
    remapped.remap = std::vector<std::vector<kit::RemapPair>>{{{0, 1}, {3, 4}}, {{5, 3}}};
    valid.push_back({"rich-remap", kit::encodeSprite(remapped)});
    valid.push_back({"font", kit::encodeSprite(kit::buildFont(testFont()).sprite)});

    std::vector<SeedFile> out;
    for (const Valid& v : valid) {
        out.push_back({v.name, v.bytes, true});
        if (!withDamage) continue;
        kit::DamageOptions options;
        options.maxPerGroup = 3;
        options.randomFlips = 12;
        for (kit::DamagedFile& d : kit::damageFile(kit::FileKind::Sprite, v.bytes, options))
            out.push_back({v.name + "/" + d.name, std::move(d.bytes), false});
    }
    return out;
}

}  // namespace spritetest
