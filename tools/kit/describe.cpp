// Parser of the text description of sprites and fonts.
#include "tools/kit/describe.h"

#include <charconv>
#include <sstream>

namespace kit {

namespace {

struct Line {
    int number = 0;
    std::string raw;
    std::vector<std::string> words;
};

class Lines {
public:
    explicit Lines(std::string_view text) {
        size_t pos = 0;
        int n = 0;
        while (pos <= text.size()) {
            size_t nl = text.find('\n', pos);
            size_t end = nl == std::string_view::npos ? text.size() : nl;
            std::string raw(text.substr(pos, end - pos));
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            lines_.push_back(Line{++n, raw, {}});
            if (nl == std::string_view::npos) break;
            pos = nl + 1;
        }
    }
    // Next keyword line (comments and blank lines skipped); false at the end.
    bool next(Line& out) {
        while (at_ < lines_.size()) {
            Line l = lines_[at_++];
            std::string s = l.raw;
            size_t hash = s.find('#');
            if (hash != std::string::npos) s.erase(hash);
            std::istringstream in(s);
            std::string w;
            while (in >> w) l.words.push_back(w);
            if (!l.words.empty()) {
                out = std::move(l);
                return true;
            }
        }
        return false;
    }
    // Next line taken as it stands (pixel rows).
    Line row(const Line& owner) {
        if (at_ >= lines_.size())
            throw KitError("line " + std::to_string(owner.number) + ": pixel rows missing at the end of the text");
        return lines_[at_++];
    }

private:
    std::vector<Line> lines_;
    size_t at_ = 0;
};

[[noreturn]] void fail(const Line& l, const std::string& what) {
    throw KitError("line " + std::to_string(l.number) + ": " + what + " (\"" + l.raw + "\")");
}

int64_t number(const Line& l, const std::string& w) {
    std::string s = w;
    bool neg = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        neg = s[0] == '-';
        s.erase(0, 1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.erase(0, 2);
    }
    int64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty()) fail(l, "\"" + w + "\" is not a number");
    return neg ? -v : v;
}

uint32_t hexValue(const Line& l, const std::string& w) {
    std::string s = w;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.erase(0, 2);
    uint64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty() || v > 0xFFFFFFFFull)
        fail(l, "\"" + w + "\" is not a hex value");
    return static_cast<uint32_t>(v);
}

// Positional arguments (before the first key=value) and options.
struct Args {
    std::vector<std::string> pos;
    std::vector<std::pair<std::string, std::string>> opts;
};

Args split(const Line& l, size_t from) {
    Args a;
    for (size_t i = from; i < l.words.size(); ++i) {
        size_t eq = l.words[i].find('=');
        if (eq == std::string::npos) {
            if (!a.opts.empty()) fail(l, "positional value after an option");
            a.pos.push_back(l.words[i]);
        } else {
            a.opts.emplace_back(l.words[i].substr(0, eq), l.words[i].substr(eq + 1));
        }
    }
    return a;
}

void expectCount(const Line& l, const Args& a, size_t lo, size_t hi) {
    if (a.pos.size() < lo || a.pos.size() > hi)
        fail(l, "expected " + std::to_string(lo) + (hi != lo ? "-" + std::to_string(hi) : "") + " values");
}

int64_t option(const Line& l, const Args& a, const std::string& key, int64_t def,
               std::initializer_list<const char*> allowed) {
    for (const auto& [k, v] : a.opts) {
        bool ok = false;
        for (const char* s : allowed) ok = ok || k == s;
        if (!ok) fail(l, "unknown option " + k);
    }
    for (const auto& [k, v] : a.opts)
        if (k == key) return number(l, v);
    return def;
}

std::vector<uint8_t> pixelRows(Lines& lines, const Line& owner, int w, int h) {
    std::vector<uint8_t> px;
    for (int y = 0; y < h; ++y) {
        Line r = lines.row(owner);
        std::string s = r.raw;
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
        size_t lead = s.find_first_not_of(" \t");
        s = lead == std::string::npos ? "" : s.substr(lead);
        if (s.find(' ') != std::string::npos || s.find('\t') != std::string::npos || (w == 1 && s.size() > 1)) {
            std::istringstream in(s);
            std::string t;
            int count = 0;
            while (in >> t) {
                int64_t v = number(r, t);
                if (v < 0 || v > 255) fail(r, "pixel index outside 0-255");
                px.push_back(static_cast<uint8_t>(v));
                ++count;
            }
            if (count != w) fail(r, "row has " + std::to_string(count) + " pixels, expected " + std::to_string(w));
            continue;
        }
        if (static_cast<int>(s.size()) != w)
            fail(r, "row has " + std::to_string(s.size()) + " pixels, expected " + std::to_string(w));
        for (char c : s) {
            int v;
            if (c == '.') v = 0;
            else if (c == '#') v = 1;
            else if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'z') v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'Z') v = c - 'A' + 10;
            else fail(r, std::string("'") + c + "' is not a pixel");
            px.push_back(static_cast<uint8_t>(v));
        }
    }
    return px;
}

uint16_t formatCode(const Line& l, const std::string& w) { return static_cast<uint16_t>(hexValue(l, w)); }

// Palette lines shared by sprites and fonts; true when the line was one.
bool imageLine(const Line& l, SpriteImages& img, bool& paletteSeen) {
    const std::string& k = l.words[0];
    if (k == "palette-format") {
        if (l.words.size() != 2) fail(l, "expected one format");
        img.paletteFormat = formatCode(l, l.words[1]);
        if (!knownPaletteFormat(img.paletteFormat)) fail(l, "unknown palette format");
    } else if (k == "pixel-format") {
        if (l.words.size() != 2) fail(l, "expected one format");
        img.pixelFormat = formatCode(l, l.words[1]);
        if (!knownPixelFormat(img.pixelFormat)) fail(l, "unknown pixel format");
    } else if (k == "colors") {
        if (l.words.size() != 2) fail(l, "expected one count");
        img.colorCount = static_cast<int>(number(l, l.words[1]));
    } else if (k == "palette" || k == "palette-native") {
        bool native = k == "palette-native";
        if (!paletteSeen) {
            img.palettes.clear();
            img.nativePalettes = native;
            paletteSeen = true;
        } else if (img.nativePalettes != native) {
            fail(l, "palette and palette-native cannot be mixed");
        }
        std::vector<uint32_t> pal;
        for (size_t i = 1; i < l.words.size(); ++i) pal.push_back(hexValue(l, l.words[i]));
        img.palettes.push_back(std::move(pal));
    } else {
        return false;
    }
    return true;
}

char16_t glyphChar(const Line& l, const std::string& w) {
    std::u16string u = utf8ToUtf16(w);
    if (u.size() == 1) return u[0];
    if (w.size() > 2 && (w[0] == 'U' || w[0] == 'u') && w[1] == '+') return static_cast<char16_t>(hexValue(l, w.substr(2)));
    int64_t v = number(l, w);
    if (v < 0 || v > 0xFFFF) fail(l, "character outside 0-65535");
    return static_cast<char16_t>(v);
}

}  // namespace

bool isFontDescription(std::string_view text) {
    Lines lines(text);
    Line l;
    return lines.next(l) && l.words[0] == "font";
}

SpriteModel parseSpriteDescription(std::string_view text) {
    Lines lines(text);
    SpriteModel m;
    SpriteImages img;
    bool imagesSeen = false, paletteSeen = false;
    enum class In { Top, Frame, Anim, Remap } in = In::Top;
    Line l;
    bool first = true;
    while (lines.next(l)) {
        const std::string k = l.words[0];
        if (first && k == "sprite") {
            first = false;
            continue;
        }
        first = false;
        if (k == "header") {
            m.header = static_cast<uint16_t>(number(l, l.words.at(1)));
        } else if (k == "flags") {
            for (size_t i = 1; i < l.words.size(); ++i) m.flags |= static_cast<uint32_t>(number(l, l.words[i]));
        } else if (imageLine(l, img, paletteSeen)) {
            imagesSeen = true;
        } else if (k == "module") {
            if (l.words.size() < 2) fail(l, "module kind missing");
            const std::string kind = l.words[1];
            Args a = split(l, 2);
            auto n = [&](size_t i) { return static_cast<int>(number(l, a.pos[i])); };
            auto c = [&](size_t i) { return hexValue(l, a.pos[i]); };
            SpriteModule mod;
            if (kind == "image") {
                expectCount(l, a, 2, 2);
                int w = n(0), h = n(1);
                if (w < 0 || h < 0 || w > 255 || h > 255) fail(l, "size outside 0-255");
                mod = SpriteModule::image(w, h, {});
                mod.extra = static_cast<uint8_t>(option(l, a, "extra", 0, {"extra"}));
                mod.pixels = pixelRows(lines, l, w, h);
            } else {
                option(l, a, "", 0, {});
                if (kind == "rect") { expectCount(l, a, 3, 3); mod = SpriteModule::rect(c(0), n(1), n(2)); }
                else if (kind == "fill") { expectCount(l, a, 3, 3); mod = SpriteModule::fillRect(c(0), n(1), n(2)); }
                else if (kind == "size") { expectCount(l, a, 2, 2); mod = SpriteModule::sizeOnly(n(0), n(1)); }
                else if (kind == "arc") { expectCount(l, a, 5, 5); mod = SpriteModule::arc(c(0), n(1), n(2), n(3), n(4)); }
                else if (kind == "fill-arc") { expectCount(l, a, 5, 5); mod = SpriteModule::fillArc(c(0), n(1), n(2), n(3), n(4)); }
                else if (kind == "triangle") { expectCount(l, a, 5, 5); mod = SpriteModule::triangle(c(0), n(1), n(2), n(3), n(4)); }
                else if (kind == "fill-triangle") { expectCount(l, a, 5, 5); mod = SpriteModule::fillTriangle(c(0), n(1), n(2), n(3), n(4)); }
                else if (kind == "line") { expectCount(l, a, 3, 3); mod = SpriteModule::line(c(0), n(1), n(2)); }
                else if (kind == "gradient") { expectCount(l, a, 5, 5); mod = SpriteModule::gradient(c(0), c(1), n(2), n(3), n(4)); }
                else fail(l, "unknown module kind " + kind);
            }
            m.modules.push_back(std::move(mod));
            in = In::Top;
        } else if (k == "block") {
            if (m.modules.empty()) fail(l, "block before any module");
            Bytes b;
            for (size_t i = 1; i < l.words.size(); ++i) {
                uint32_t v = hexValue(l, l.words[i]);
                if (v > 255) fail(l, "block bytes are 00-FF");
                b.push_back(static_cast<uint8_t>(v));
            }
            m.modules.back().pixelBlock = std::move(b);
        } else if (k == "frame") {
            if (l.words.size() != 1) fail(l, "frame takes no values");
            m.frames.emplace_back();
            in = In::Frame;
        } else if (k == "fm" || k == "nest") {
            if (in != In::Frame) fail(l, k + " outside a frame");
            Args a = split(l, 1);
            expectCount(l, a, 3, 3);
            FrameModule fm;
            fm.index = static_cast<int>(number(l, a.pos[0]));
            fm.x = static_cast<int>(number(l, a.pos[1]));
            fm.y = static_cast<int>(number(l, a.pos[2]));
            fm.flags = static_cast<uint8_t>(option(l, a, "flags", 0, {"flags", "palette"}) & 7);
            if (k == "nest") fm.flags |= kFModuleNestedFrame;
            fm.palette = static_cast<int>(option(l, a, "palette", 0, {"flags", "palette"}));
            m.frames.back().modules.push_back(fm);
        } else if (k == "rect") {
            if (in != In::Frame) fail(l, "rect outside a frame");
            Args a = split(l, 1);
            expectCount(l, a, 4, 4);
            m.frames.back().rects.push_back(FrameRect{static_cast<int>(number(l, a.pos[0])), static_cast<int>(number(l, a.pos[1])),
                                                      static_cast<int>(number(l, a.pos[2])), static_cast<int>(number(l, a.pos[3]))});
        } else if (k == "anim") {
            if (l.words.size() != 1) fail(l, "anim takes no values");
            m.anims.emplace_back();
            in = In::Anim;
        } else if (k == "af") {
            if (in != In::Anim) fail(l, "af outside an animation");
            Args a = split(l, 1);
            if (a.pos.size() != 2 && a.pos.size() != 4) fail(l, "expected FRAME TIME [DX DY]");
            AnimFrame af;
            af.frame = static_cast<int>(number(l, a.pos[0]));
            af.time = static_cast<int>(number(l, a.pos[1]));
            if (a.pos.size() == 4) {
                af.dx = static_cast<int>(number(l, a.pos[2]));
                af.dy = static_cast<int>(number(l, a.pos[3]));
            }
            af.flags = static_cast<uint8_t>(option(l, a, "flags", 0, {"flags"}));
            m.anims.back().frames.push_back(af);
        } else if (k == "remap") {
            if (l.words.size() != 1) fail(l, "remap takes no values");
            if (!m.remap) m.remap.emplace();
            m.remap->emplace_back();
            in = In::Remap;
        } else if (in == In::Remap && l.words.size() == 2) {
            m.remap->back().push_back(RemapPair{static_cast<int>(number(l, l.words[0])), static_cast<int>(number(l, l.words[1]))});
        } else {
            fail(l, "unknown keyword " + k);
        }
    }
    bool anyPixels = false;
    for (const SpriteModule& mod : m.modules) anyPixels = anyPixels || !mod.pixels.empty() || mod.pixelBlock;
    if (imagesSeen || anyPixels) {
        if (img.palettes.empty()) throw KitError("the sprite has pixels but no palette line");
        m.images = std::move(img);
    }
    return m;
}

FontDescription parseFontDescription(std::string_view text) {
    Lines lines(text);
    FontDescription font;
    font.images = defaultFontImages();
    bool paletteSeen = false, spaceSeen = false, missingSeen = false;
    Line l;
    bool first = true;
    while (lines.next(l)) {
        const std::string k = l.words[0];
        if (first) {
            first = false;
            if (k != "font") fail(l, "a font description starts with \"font\"");
            continue;
        }
        auto one = [&]() {
            if (l.words.size() != 2) fail(l, k + " takes one value");
            return static_cast<int>(number(l, l.words[1]));
        };
        if (k == "ascent") font.ascent = one();
        else if (k == "descent") font.descent = one();
        else if (k == "line-spacing") font.lineSpacing = one();
        else if (k == "space") { font.spaceAdvance = one(); spaceSeen = true; }
        else if (k == "char-map-size") font.charMapSize = one();
        else if (imageLine(l, font.images, paletteSeen)) {}
        else if (k == "missing" || k == "glyph") {
            bool glyph = k == "glyph";
            Args a = split(l, 1);
            expectCount(l, a, glyph ? 4 : 3, glyph ? 4 : 3);
            size_t o = glyph ? 1 : 0;
            FontGlyph g;
            if (glyph) g.ch = glyphChar(l, a.pos[0]);
            g.advance = static_cast<int>(number(l, a.pos[o]));
            g.width = static_cast<int>(number(l, a.pos[o + 1]));
            g.height = static_cast<int>(number(l, a.pos[o + 2]));
            if (g.width < 0 || g.height < 0 || g.width > 255 || g.height > 255) fail(l, "size outside 0-255");
            g.xOffset = static_cast<int>(option(l, a, "x", 0, {"x", "y"}));
            g.yOffset = static_cast<int>(option(l, a, "y", 0, {"x", "y"}));
            g.pixels = pixelRows(lines, l, g.width, g.height);
            if (glyph) font.glyphs.push_back(std::move(g));
            else { font.missing = std::move(g); missingSeen = true; }
        } else {
            fail(l, "unknown keyword " + k);
        }
    }
    if (first) throw KitError("empty font description");
    if (!missingSeen) throw KitError("the font has no \"missing\" glyph");
    (void)spaceSeen;
    return font;
}

}  // namespace kit
