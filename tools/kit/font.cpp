// Sprite-font builder and character map.
#include "tools/kit/font.h"

#include <algorithm>
#include <set>

namespace kit {

FontGlyph FontGlyph::fromRows(char16_t ch, int advance, const std::vector<std::string>& rows) {
    FontGlyph g;
    g.ch = ch;
    g.advance = advance;
    g.height = static_cast<int>(rows.size());
    for (const std::string& r : rows) g.width = std::max(g.width, static_cast<int>(r.size()));
    for (const std::string& r : rows)
        for (int x = 0; x < g.width; ++x) {
            char c = x < static_cast<int>(r.size()) ? r[static_cast<size_t>(x)] : '.';
            int v;
            if (c == '.' || c == ' ') v = 0;
            else if (c == '#') v = 1;
            else if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'z') v = c - 'a' + 10;
            else throw KitError(std::string("glyph row character '") + c + "' is not a pixel");
            g.pixels.push_back(static_cast<uint8_t>(v));
        }
    return g;
}

SpriteImages defaultFontImages() {
    SpriteImages img;
    img.paletteFormat = kPalette8888;
    img.pixelFormat = kPixels4;
    img.palettes = {{0x00000000, 0xFFFFFFFF}};
    return img;
}

std::vector<int16_t> buildCharMap(const std::vector<std::pair<char16_t, int>>& pairs, int size) {
    if (size < 1 || size > 0x7FFF) throw KitError("character map size must be 1-32767, not " + std::to_string(size));
    std::vector<std::vector<std::pair<char16_t, int>>> buckets(static_cast<size_t>(size));
    std::set<char16_t> seen;
    for (const auto& [c, frame] : pairs) {
        if (c > 0x7FFF) throw KitError("character U+" + std::to_string(c) + " does not fit the map's signed shorts");
        if (frame < 0 || frame > 0x7FFF) throw KitError("glyph frame " + std::to_string(frame) + " outside 0-32767");
        if (!seen.insert(c).second) throw KitError("character " + std::to_string(c) + " mapped twice");
        buckets[c % static_cast<size_t>(size)].emplace_back(c, frame);
    }
    std::vector<int16_t> map;
    map.push_back(static_cast<int16_t>(size));
    for (int b = 0; b < size; ++b) {
        const auto& bucket = buckets[static_cast<size_t>(b)];
        if (!bucket.empty()) {
            map.push_back(static_cast<int16_t>(bucket[0].first));
            map.push_back(static_cast<int16_t>(bucket[0].second));
        } else {
            // A character that lands in another bucket never matches here.
            map.push_back(static_cast<int16_t>(size == 1 ? 0 : (b == 0 ? 1 : 0)));
            map.push_back(1);
        }
    }
    for (int b = 0; b < size; ++b) {
        const auto& bucket = buckets[static_cast<size_t>(b)];
        if (bucket.size() < 2) continue;
        map.push_back(static_cast<int16_t>(b));
        map.push_back(static_cast<int16_t>(bucket.size() - 1));
        for (size_t i = 1; i < bucket.size(); ++i) {
            map.push_back(static_cast<int16_t>(bucket[i].first));
            map.push_back(static_cast<int16_t>(bucket[i].second));
        }
    }
    return map;
}

int lookupCharMap(const std::vector<int16_t>& map, char16_t c) {
    if (map.empty() || map[0] < 1) return 0;
    const size_t S = static_cast<size_t>(map[0]);
    if (map.size() < 1 + 2 * S) return 0;
    std::vector<std::vector<int16_t>> buckets(S);
    for (size_t i = 0; i < S; ++i) buckets[i] = {map[1 + 2 * i], map[2 + 2 * i]};
    for (size_t j = 1 + 2 * S; j + 1 < map.size();) {
        int b = map[j], n = map[j + 1];
        j += 2;
        if (b < 0 || static_cast<size_t>(b) >= S || n < 0 || j + 2 * static_cast<size_t>(n) > map.size()) break;
        std::vector<int16_t> bucket = {buckets[static_cast<size_t>(b)][0], buckets[static_cast<size_t>(b)][1]};
        bucket.insert(bucket.end(), map.begin() + static_cast<std::ptrdiff_t>(j),
                      map.begin() + static_cast<std::ptrdiff_t>(j + 2 * static_cast<size_t>(n)));
        buckets[static_cast<size_t>(b)] = std::move(bucket);
        j += 2 * static_cast<size_t>(n);
    }
    const auto& bucket = buckets[c % S];
    for (size_t i = 0; i + 1 < bucket.size(); i += 2)
        if (static_cast<char16_t>(bucket[i]) == c) return bucket[i + 1];
    return 1;
}

Bytes encodeShortNode(const std::vector<int16_t>& values) {
    if (values.size() > 0xFFFF) throw KitError("a data node holds at most 65535 elements");
    ByteWriter w;
    w.u8(0x19);
    w.le16(static_cast<uint32_t>(values.size()));
    for (int16_t v : values) w.le16(static_cast<uint16_t>(v));
    return w.take();
}

std::vector<int16_t> decodeShortNode(ByteSpan bytes) {
    ByteReader r(bytes);
    uint8_t tag = r.u8();
    if ((tag & 7) != 1) throw KitError("data node of kind " + std::to_string(tag & 7) + ", not a short array");
    size_t count = (tag & 8) ? r.le16() : r.u8();
    bool wide = (tag >> 4) != 0;
    std::vector<int16_t> out;
    for (size_t i = 0; i < count; ++i) out.push_back(wide ? r.les16() : r.s8());
    if (!r.atEnd()) throw KitError(std::to_string(r.remaining()) + " bytes after the data node");
    return out;
}

void checkCharMap(const std::vector<int16_t>& map) {
    if (map.empty()) throw KitError("empty character map");
    const int S = map[0];
    if (S < 1) throw KitError("character map size " + std::to_string(S) + " is below 1");
    if (map.size() < 1 + 2 * static_cast<size_t>(S)) throw KitError("character map lacks first pairs");
    for (size_t j = 1 + 2 * static_cast<size_t>(S); j < map.size();) {
        if (j + 2 > map.size()) throw KitError("character map group cut short at " + std::to_string(j));
        int b = map[j], n = map[j + 1];
        if (b < 0 || b >= S) throw KitError("character map group names bucket " + std::to_string(b) + " outside the map");
        if (n < 0 || j + 2 + 2 * static_cast<size_t>(n) > map.size())
            throw KitError("character map group of " + std::to_string(n) + " pairs runs past the map");
        j += 2 + 2 * static_cast<size_t>(n);
    }
}

namespace {

SpriteFrame glyphFrame(SpriteModel& sprite, const FontGlyph& g, int ascent, const std::string& what) {
    if (g.pixels.size() != static_cast<size_t>(g.width) * static_cast<size_t>(g.height))
        throw KitError(what + ": " + std::to_string(g.pixels.size()) + " pixels for " + std::to_string(g.width) + "x" +
                       std::to_string(g.height));
    SpriteFrame f;
    f.modules.push_back(FrameModule{0, g.advance, 0, 0, 0});
    if (g.width > 0 && g.height > 0) {
        sprite.modules.push_back(SpriteModule::image(g.width, g.height, g.pixels));
        f.modules.push_back(
            FrameModule{static_cast<int>(sprite.modules.size() - 1), g.xOffset, g.yOffset - ascent, 0, 0});
    }
    return f;
}

}  // namespace

FontBuild buildFont(const FontDescription& font) {
    FontBuild out;
    SpriteModel& s = out.sprite;
    s.images = font.images;
    if (s.images->palettes.empty()) s.images = defaultFontImages();
    s.modules.push_back(SpriteModule::sizeOnly(0, 0));

    SpriteFrame metrics;
    metrics.modules.push_back(FrameModule{0, 0, -font.ascent, 0, 0});
    metrics.modules.push_back(FrameModule{0, 0, font.descent, 0, 0});
    metrics.modules.push_back(FrameModule{0, 0, font.descent + font.lineSpacing, 0, 0});
    s.frames.push_back(std::move(metrics));
    s.frames.push_back(glyphFrame(s, font.missing, font.ascent, "missing glyph"));

    std::vector<std::pair<char16_t, int>> pairs;
    bool haveSpace = false;
    for (const FontGlyph& g : font.glyphs) {
        if (g.ch == u' ') haveSpace = true;
        if (out.frameOf.count(g.ch)) throw KitError("glyph for character " + std::to_string(g.ch) + " given twice");
        int frame = static_cast<int>(s.frames.size());
        s.frames.push_back(glyphFrame(s, g, font.ascent, "glyph " + std::to_string(g.ch)));
        out.frameOf[g.ch] = frame;
        pairs.emplace_back(g.ch, frame);
    }
    if (!haveSpace) {
        FontGlyph space;
        space.ch = u' ';
        space.advance = font.spaceAdvance;
        int frame = static_cast<int>(s.frames.size());
        s.frames.push_back(glyphFrame(s, space, font.ascent, "space"));
        out.frameOf[u' '] = frame;
        pairs.emplace_back(u' ', frame);
    }
    int size = font.charMapSize > 0 ? font.charMapSize : std::max<int>(1, static_cast<int>(pairs.size()));
    out.charMap = buildCharMap(pairs, size);
    return out;
}

}  // namespace kit
