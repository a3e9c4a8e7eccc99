// Writer, strict reader and damaged variants of the cross-promotion pack
// (format in showcase.h).
#include "tools/kit/showcase.h"

#include "tools/kit/describe.h"
#include "tools/kit/demo.h"
#include "tools/kit/png.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace kit {

namespace {

void block(ByteWriter& w, ByteSpan data) {
    if (data.size() > 0xFFFF) throw KitError("showcase: a block longer than 65535 bytes");
    w.le16(static_cast<uint32_t>(data.size()));
    w.raw(data);
}
void shortText(ByteWriter& w, const std::string& latin1) {
    block(w, ByteSpan(reinterpret_cast<const uint8_t*>(latin1.data()), latin1.size()));
}
void stringList(ByteWriter& w, const std::vector<std::string>& list) {
    w.le16(static_cast<uint32_t>(list.size()));
    for (const std::string& s : list) shortText(w, s);
}
void imageBlock(ByteWriter& w, const ShowcaseDescription& d, const std::string& label) {
    auto it = d.images.find(label);
    if (it == d.images.end()) throw KitError("showcase: no image \"" + label + "\"");
    block(w, it->second);
}

std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'n' ? '\n' : c == 'b' ? '\b' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

// An ARGB colour: 1-8 hexadecimal digits, "0x" allowed before them.
uint32_t hex(const std::string& s) {
    const std::string digits = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') ? s.substr(2) : s;
    const bool ok = !digits.empty() && digits.size() <= 8 &&
                    std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!ok) throw KitError("expected an ARGB colour in hexadecimal, got \"" + s + "\"");
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

}  // namespace

Bytes showcaseTextBlock(const std::vector<std::string>& texts) {
    Bytes utf8;
    std::vector<size_t> starts;
    for (const std::string& t : texts) {
        starts.push_back(utf8.size());
        utf8.insert(utf8.end(), t.begin(), t.end());
    }
    ByteWriter w;
    block(w, utf8);
    w.le16(0);
    w.le16(static_cast<uint32_t>(texts.size()));
    for (size_t k = 1; k < starts.size(); ++k) w.le16(static_cast<uint32_t>(starts[k]));
    return w.take();
}

Bytes showcaseBox(int w, int h, uint32_t argb) {
    if (w < 1 || h < 1 || w > 2048 || h > 2048) throw KitError("showcase: box size out of range");
    const uint32_t frame = (argb & 0xFF000000u) | ((argb >> 1) & 0x7F7F7Fu);
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px.push_back(x == 0 || y == 0 || x == w - 1 || y == h - 1 ? frame : argb);
    return encodePngRgba(w, h, px);
}

ShowcaseFont showcaseFontFrom(const FontDescription& font, int cellHeight, uint32_t colour, bool variant) {
    ShowcaseFont out;
    out.variant = variant;
    const int cell = cellHeight > 0 ? cellHeight : font.ascent + font.descent;
    const int rowLimit = variant ? 1024 : 240;
    // The screen draws a space like any glyph, as a region of the strip, and
    // takes the line height from its record: a font without a space gets a
    // blank cell of its own (g null).
    struct Placed { const FontGlyph* g; char16_t ch; int x, y, w; };
    std::vector<Placed> placed;
    int x = 0, y = 0, stripW = 1;
    auto place = [&](const FontGlyph* g, char16_t ch, int advance) {
        const int w = advance + 1;  // the text box takes one pixel of spacing off
        if (x + w > rowLimit) {
            x = 0;
            y += cell;
        }
        placed.push_back({g, ch, x, y, w});
        x += w;
        stripW = std::max(stripW, x);
    };
    bool hasSpace = false;
    for (const FontGlyph& g : font.glyphs) {
        hasSpace = hasSpace || g.ch == u' ';
        place(&g, g.ch, g.advance);
    }
    if (!hasSpace) place(nullptr, u' ', font.spaceAdvance);
    const int stripH = y + cell;
    if (!variant && (stripH > 255 || stripW > 255)) throw KitError("showcase: the plain glyph layout needs a strip under 256 pixels");
    std::vector<uint8_t> idx(static_cast<size_t>(stripW) * stripH, 0);
    for (const Placed& p : placed) {
        if (p.g) {
            const FontGlyph& g = *p.g;
            for (int gy = 0; gy < g.height; ++gy)
                for (int gx = 0; gx < g.width; ++gx) {
                    const int tx = p.x + g.xOffset + gx, ty = p.y + g.yOffset + gy;
                    if (tx < 0 || ty < 0 || tx >= stripW || ty >= p.y + cell) continue;
                    idx[static_cast<size_t>(ty) * stripW + tx] = g.pixels[static_cast<size_t>(gy) * g.width + gx] ? 1 : 0;
                }
        }
        out.glyphs.push_back({static_cast<uint16_t>(p.ch), static_cast<uint16_t>(p.x), static_cast<uint16_t>(p.y),
                              static_cast<uint8_t>(p.w), static_cast<uint8_t>(cell)});
        out.highest = std::max<uint16_t>(out.highest, static_cast<uint16_t>(p.ch));
    }
    out.strip = encodePngIndexed(stripW, stripH, idx, {0x00000000u, colour});
    return out;
}

Bytes encodeShowcaseFont(const ShowcaseFont& f) {
    ByteWriter w;
    block(w, f.strip);
    const size_t record = f.variant ? 8 : 6;
    w.le16(static_cast<uint32_t>(f.glyphs.size() * record));
    w.le16(f.highest);
    for (const ShowcaseGlyph& g : f.glyphs) {
        w.le16(g.code);
        if (f.variant) {
            w.le16(g.x);
            w.le16(g.y);
        } else {
            if (g.x > 255 || g.y > 255) throw KitError("showcase: glyph position beyond a byte in the plain layout");
            w.u8(g.x);
            w.u8(g.y);
        }
        w.u8(g.width);
        w.u8(g.height);
    }
    return w.take();
}

std::vector<Bytes> showcaseEntries(const ShowcaseDescription& d) {
    // Every image the pack needs, checked at once: the fault lists all missing.
    std::vector<std::string> needed;
    for (int i = 0; i < 14; ++i) needed.push_back("common " + std::to_string(i));
    for (size_t i = 0; i < d.catalogue.size(); ++i) needed.push_back("page " + std::to_string(i));
    needed.push_back("more");
    for (const std::string& code : d.languages) needed.push_back("language " + code);
    for (int list = 0; list < 2; ++list)
        for (size_t r = 0; r < d.subKeys[static_cast<size_t>(list)].size(); ++r)
            needed.push_back("row " + std::to_string(list) + " " + std::to_string(r));
    needed.push_back("slot3");
    if (d.option) needed.push_back("slot4");
    std::string missing;
    int missingCount = 0;
    for (const std::string& label : needed) {
        if (d.images.count(label)) continue;
        missing += (missing.empty() ? "\"" : ", \"") + label + "\"";
        ++missingCount;
    }
    if (missingCount)
        throw KitError("showcase: " + std::to_string(missingCount) + " image" + (missingCount > 1 ? "s" : "") +
                       " missing: " + missing + " (each needs a line \"image LABEL box W H ARGB\")");
    std::vector<Bytes> e(d.option ? 10 : 9);
    {
        ByteWriter w;
        w.le16(1);
        shortText(w, "catalogue");
        stringList(w, d.languages);
        stringList(w, d.catalogue);
        for (const auto& keys : d.subKeys) stringList(w, keys);
        w.le16(d.option ? 1 : 0);
        shortText(w, d.layoutId);
        e[0] = w.take();
    }
    {
        ByteWriter w;
        for (const std::string& code : d.languages) {
            auto it = d.texts.find(code);
            block(w, showcaseTextBlock(it == d.texts.end() ? std::vector<std::string>{} : it->second));
        }
        e[1] = w.take();
    }
    e[2] = encodeShowcaseFont(d.font);
    {
        ByteWriter w;
        for (int i = 0; i < 14; ++i) imageBlock(w, d, "common " + std::to_string(i));
        e[3] = w.take();
    }
    {
        ByteWriter w;
        for (size_t i = 0; i < d.catalogue.size(); ++i) imageBlock(w, d, "page " + std::to_string(i));
        e[4] = w.take();
    }
    {
        ByteWriter w;
        imageBlock(w, d, "more");
        for (const std::string& code : d.languages) imageBlock(w, d, "language " + code);
        e[5] = w.take();
    }
    for (int list = 0; list < 2; ++list) {
        ByteWriter w;
        for (size_t r = 0; r < d.subKeys[static_cast<size_t>(list)].size(); ++r)
            imageBlock(w, d, "row " + std::to_string(list) + " " + std::to_string(r));
        e[static_cast<size_t>(6 + list)] = w.take();
    }
    {
        ByteWriter w;
        imageBlock(w, d, "slot3");
        if (d.images.count("extra")) imageBlock(w, d, "extra");
        e[8] = w.take();
    }
    if (d.option) {
        ByteWriter w;
        imageBlock(w, d, "slot4");
        e[9] = w.take();
    }
    return e;
}

Bytes packShowcase(const std::vector<Bytes>& entries) {
    ByteWriter w;
    w.le16(static_cast<uint32_t>(entries.size() + 1));
    uint32_t at = 0;
    w.le32(0);
    for (const Bytes& e : entries) {
        at += static_cast<uint32_t>(e.size());
        w.le32(at);
    }
    for (const Bytes& e : entries) w.raw(e);
    return w.take();
}

Bytes encodeShowcase(const ShowcaseDescription& d) { return packShowcase(showcaseEntries(d)); }

ShowcaseDescription parseShowcaseDescription(std::string_view text) {
    ShowcaseDescription d;
    std::string fontSource = "demo";
    int cell = 0;
    uint32_t colour = 0xFF202020u;
    bool variant = false;
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream ls(line);
        std::string kw;
        ls >> kw;
        if (kw.empty() || kw[0] == '#' || kw == "showcase") continue;
        auto fail = [&](const std::string& why) { throw KitError(why); };
        // The next word of the line, or a fault naming what was expected.
        auto word = [&](const std::string& what) {
            std::string w;
            if (!(ls >> w)) fail("expected " + what + " after \"" + kw + "\", got the end of the line");
            return w;
        };
        auto number = [&](const std::string& what, int64_t lo, int64_t hi) {
            return static_cast<int>(parseNumber(word(what), what, lo, hi));
        };
        try {
            if (kw == "language") {
                d.languages.push_back(word("a language code"));
            } else if (kw == "catalogue") {
                d.catalogue.push_back(word("a catalogue key"));
            } else if (kw == "sublist") {
                const int n = number("a sub-list number 0-2", 0, 2);
                d.subKeys[static_cast<size_t>(n)].push_back(word("a key"));
            } else if (kw == "option") {
                d.option = number("0 or 1", 0, 1) != 0;
            } else if (kw == "layout") {
                d.layoutId = word("a layout id");
            } else if (kw == "variant") {
                variant = number("0 or 1", 0, 1) != 0;
            } else if (kw == "text") {
                std::string code = word("a language code"), rest;
                std::getline(ls, rest);
                if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
                d.texts[code].push_back(unescape(rest));
            } else if (kw == "image") {
                std::vector<std::string> parts;
                std::string p;
                while (ls >> p && p != "box") parts.push_back(p);
                if (p != "box" || parts.empty()) fail("expected SLOT box W H ARGB after \"image\"");
                const int w = number("a width 1-2048", 1, 2048);
                const int h = number("a height 1-2048", 1, 2048);
                const uint32_t argb = hex(word("an ARGB colour in hexadecimal"));
                std::string label;
                for (const std::string& s : parts) label += (label.empty() ? "" : " ") + s;
                d.images[label] = showcaseBox(w, h, argb);
            } else if (kw == "font") {
                fontSource = word("a font description file or demo");
            } else if (kw == "font-cell") {
                cell = number("a cell height", 0, 255);
            } else if (kw == "font-colour") {
                colour = hex(word("an ARGB colour in hexadecimal"));
            } else {
                fail("unknown keyword \"" + kw + "\"");
            }
        } catch (const KitError& e) {
            throw KitError("showcase description line " + std::to_string(lineNo) + ": " + e.what());
        }
    }
    const std::string fontText = fontSource == "demo" ? std::string(kDemoFont) : [&] {
        const Bytes b = readFile(fontSource);
        return std::string(b.begin(), b.end());
    }();
    d.font = showcaseFontFrom(parseFontDescription(fontText), cell, colour, variant);
    return d;
}

namespace {

struct Strict {
    ByteReader r;
    explicit Strict(ByteSpan s) : r(s) {}
    ByteSpan block() { return r.take(r.le16()); }
    std::string text() {
        ByteSpan b = block();
        return std::string(b.begin(), b.end());
    }
    std::vector<std::string> list() {
        std::vector<std::string> v(r.le16());
        for (auto& s : v) s = text();
        return v;
    }
};

std::string joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += (s.empty() ? "" : " ") + x;
    return s;
}

}  // namespace

std::string inspectShowcase(ByteSpan pack) {
    ByteReader r(pack);
    const uint16_t n = r.le16();
    std::vector<int32_t> off(n);
    for (auto& o : off) o = r.les32();
    const size_t base = 2 + 4 * size_t(n);
    std::ostringstream out;
    out << "showcase pack: " << n << " offsets, " << (n ? n - 1 : 0) << " entries\n";
    std::vector<ByteSpan> entries;
    for (size_t i = 0; i + 1 < off.size(); ++i) {
        if (off[i] < 0 || off[i + 1] < off[i] || base + size_t(off[i + 1]) > pack.size())
            throw KitError("showcase: entry " + std::to_string(i) + " has bad offsets");
        entries.push_back(pack.subspan(base + size_t(off[i]), size_t(off[i + 1] - off[i])));
        out << "  entry " << i << ": " << entries.back().size() << " bytes\n";
    }
    if (entries.empty()) return out.str();
    Strict c(entries[0]);
    c.r.le16();
    c.text();
    const auto langs = c.list();
    const auto cat = c.list();
    out << "languages: " << joined(langs) << "\ncatalogue: " << joined(cat) << "\n";
    for (int l = 0; l < 3; ++l) out << "sub-list " << l << ": " << joined(c.list()) << "\n";
    const uint16_t option = c.r.le16();
    const std::string layout = c.text();
    out << "option: " << option << "\nlayout: " << layout << "\n";
    if (entries.size() > 1) {
        Strict t(entries[1]);
        for (const std::string& code : langs) {
            Strict b(t.block());
            const ByteSpan utf8 = b.block();
            b.r.le16();
            const uint16_t count = b.r.le16();
            out << "texts " << code << ": " << count << " in " << utf8.size() << " bytes\n";
        }
    }
    if (entries.size() > 2) {
        Strict f(entries[2]);
        const ByteSpan strip = f.block();
        const uint16_t length = f.r.le16(), highest = f.r.le16();
        out << "font: strip " << strip.size() << " bytes, table " << length << " bytes, highest code " << highest << "\n";
    }
    return out.str();
}

namespace {

void setLe16(Bytes& b, size_t at, uint32_t v) {
    if (at + 2 > b.size()) return;
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void setLe32(Bytes& b, size_t at, uint32_t v) {
    if (at + 4 > b.size()) return;
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
size_t findChunk(const Bytes& png, const char* type) {
    for (size_t i = 4; i + 4 <= png.size(); ++i)
        if (std::equal(type, type + 4, png.begin() + long(i))) return i;
    return 0;
}

}  // namespace

std::vector<DamagedFile> damageShowcase(const ShowcaseDescription& d) {
    const std::vector<Bytes> entries = showcaseEntries(d);
    const Bytes valid = packShowcase(entries);
    std::vector<DamagedFile> out;
    auto add = [&](std::string name, Bytes b) { out.push_back({std::move(name), std::move(b)}); };
    auto withEntry = [&](size_t i, const Bytes& e) {
        std::vector<Bytes> copy = entries;
        copy[i] = e;
        return packShowcase(copy);
    };
    const size_t table = 2 + 4 * (entries.size() + 1);

    // Header.
    add("count-0", Bytes{0, 0});
    add("count-1", Bytes{1, 0, 0, 0, 0, 0});
    {
        Bytes b = valid;
        setLe16(b, 0, 0xFFFF);
        add("table-longer-than-pack", b);
    }
    for (size_t cut : {size_t(1), size_t(5), table - 1, table, table + 3, valid.size() / 2, valid.size() - 1})
        if (cut < valid.size()) add("truncated-at-" + std::to_string(cut), Bytes(valid.begin(), valid.begin() + long(cut)));
    for (size_t i : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(8)}) {
        Bytes b = valid;
        setLe32(b, 2 + 4 * i, 0xFFFFFFF0u);
        add("offset-" + std::to_string(i) + "-negative", b);
        b = valid;
        setLe32(b, 2 + 4 * (i + 1), 0);
        add("offset-" + std::to_string(i + 1) + "-decreasing", b);
        b = valid;
        setLe32(b, 2 + 4 * (i + 1), 0x7FFFFFF0u);
        add("offset-" + std::to_string(i + 1) + "-beyond-pack", b);
    }
    {
        Bytes b = valid;
        setLe32(b, 2 + 4, 0);
        add("entry-0-empty", b);
    }
    // Catalogue.
    for (size_t cut : {size_t(1), size_t(3), entries[0].size() / 2, entries[0].size() - 1})
        add("catalogue-cut-" + std::to_string(cut), withEntry(0, Bytes(entries[0].begin(), entries[0].begin() + long(cut))));
    {
        Bytes e = entries[0];
        const size_t at = 2 + 2 + 9;  // u16, "catalogue", then the language count
        setLe16(e, at, 0xFFFF);
        add("catalogue-language-count-huge", withEntry(0, e));
    }
    // Texts.
    for (size_t cut : {size_t(1), entries[1].size() / 2, entries[1].size() - 1})
        add("texts-cut-" + std::to_string(cut), withEntry(1, Bytes(entries[1].begin(), entries[1].begin() + long(cut))));
    if (!d.languages.empty()) {
        auto textsWith = [&](const std::vector<std::string>& first) {
            ByteWriter w;
            for (size_t l = 0; l < d.languages.size(); ++l) {
                auto it = d.texts.find(d.languages[l]);
                const auto& texts = l == 0 ? first : (it == d.texts.end() ? std::vector<std::string>{} : it->second);
                block(w, showcaseTextBlock(texts));
            }
            return w.take();
        };
        add("utf8-bad-lead", withEntry(1, textsWith({"OK", "A\xFF" "B", "LATER"})));
        add("utf8-bad-follow", withEntry(1, textsWith({"OK", "A\xC3" "B", "LATER"})));
        add("utf8-cut-at-end", withEntry(1, textsWith({"OK", "AB\xC3", "LATER"})));
        add("utf8-three-cut", withEntry(1, textsWith({"OK", "A\xE2\x80", "LATER"})));
        {
            ByteWriter w;
            block(w, showcaseTextBlock({"A", "B"}));
            add("fewer-language-blocks", withEntry(1, w.take()));
        }
        {
            Bytes blockBytes = showcaseTextBlock({"AB", "CD", "EF"});
            const size_t startsAt = 2 + 6 + 2 + 2;
            Bytes beyond = blockBytes;
            setLe16(beyond, startsAt, 0x7FFF);
            Bytes back = blockBytes;
            setLe16(back, startsAt + 2, 1);
            for (auto& [name, bb] : {std::pair<std::string, Bytes>{"text-start-beyond", beyond}, {"text-start-backwards", back}}) {
                ByteWriter w;
                for (size_t l = 0; l < d.languages.size(); ++l) block(w, bb);
                add(name, withEntry(1, w.take()));
            }
        }
    }
    // Font.
    {
        ShowcaseFont f = d.font;
        f.highest = 10;
        add("glyph-codes-above-highest", withEntry(2, encodeShowcaseFont(f)));
        f = d.font;
        for (auto& g : f.glyphs) g.width = 250;
        add("glyph-boxes-leave-strip", withEntry(2, encodeShowcaseFont(f)));
        Bytes e = encodeShowcaseFont(d.font);
        add("glyph-table-cut", withEntry(2, Bytes(e.begin(), e.end() - 3)));
        Bytes longer = e;
        setLe16(longer, 2 + d.font.strip.size(), 0xFFF0);
        add("glyph-table-length-huge", withEntry(2, longer));
        Bytes strip = d.font.strip;
        if (size_t p = findChunk(strip, "PLTE")) {
            Bytes noPlte = strip;
            std::copy(std::begin("XXXX"), std::begin("XXXX") + 4, noPlte.begin() + long(p));
            f = d.font;
            f.strip = noPlte;
            add("strip-without-plte", withEntry(2, encodeShowcaseFont(f)));
            Bytes longPlte = strip;
            longPlte[p - 4] = 0x7F;
            f.strip = longPlte;
            add("strip-plte-past-end", withEntry(2, encodeShowcaseFont(f)));
        }
        f = d.font;
        f.strip = encodePngIndexed(2, 2, {0, 0, 0, 0}, {0x00000000u});
        add("strip-short-plte", withEntry(2, encodeShowcaseFont(f)));
    }
    // Images.
    for (size_t i = 3; i < entries.size(); ++i) {
        if (entries[i].size() < 4) continue;
        add("images-" + std::to_string(i) + "-cut", withEntry(i, Bytes(entries[i].begin(), entries[i].end() - 7)));
        Bytes e = entries[i];
        setLe16(e, 0, 0xFFFF);
        add("images-" + std::to_string(i) + "-block-huge", withEntry(i, e));
    }
    // A few seeded byte flips.
    uint64_t seed = 0x73686f77ull;
    for (int n = 0; n < 6; ++n) {
        Bytes b = valid;
        for (int k = 0; k < 2; ++k) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            b[size_t(seed >> 33) % b.size()] ^= uint8_t(1u << ((seed >> 20) & 7));
        }
        add("flip-" + std::to_string(n), b);
    }
    return out;
}

ShowcaseDescription demoShowcase() {
    static const char* const kDemo = R"(showcase
language EN
language DE
catalogue GARDEN
catalogue RIVER
catalogue SKY
sublist 0 NEWS
sublist 0 TIPS
sublist 1 CLUB
sublist 1 SHOP
sublist 1 HELP
option 0
layout PLAIN
font-cell 13
)";
    ShowcaseDescription d = parseShowcaseDescription(kDemo);
    const std::vector<std::string> en = {
        "OK", "BACK", "MORE", "GET IT", "LOADING",
        "Garden Run", "Hop over the hedges and find every seed.",
        "River Race", "Paddle down the rapids, dodge the rocks!",
        "Sky Tower", "Climb the tower before the storm.",
        "More games", "Every game we make, in one place.",
        "News", "", "Club", "",
        "All about us", "Visit our site.", "", "",
        "Daily news", "Tips and tricks", "Join the club", "Our shop", "Help pages",
    };
    const std::vector<std::string> de = {
        "OK", "ZUR\xC3\x9C" "CK", "MEHR", "HOLEN", "LADEN",
        "Gartenlauf", "Spring \xC3\xBC" "ber die Hecken.",
        "Flussrennen", "Paddle durch die Stromschnellen!",
        "Himmelsturm", "Klettere vor dem Sturm.",
        "Mehr Spiele", "Alle unsere Spiele.",
        "Neues", "", "Klub", "",
        "\xC3\x9C" "ber uns", "Besuche uns.", "", "",
        "Neuigkeiten", "Tipps", "Klub", "Laden", "Hilfe",
    };
    d.texts["EN"] = en;
    d.texts["DE"] = de;
    static const uint32_t kColours[14] = {0xFF808080, 0xFF808080, 0xFF808080, 0xFF808080, 0xFF00B4EF, 0xFF4060A0,
                                          0xFF00B4EF, 0xFF4060A0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080, 0xFFE0E0E0,
                                          0xFF3050A0, 0xFF5800F2};
    static const int kSizes[14][2] = {{8, 8}, {8, 8}, {8, 8}, {8, 8}, {24, 48}, {24, 48}, {24, 48},
                                      {24, 48}, {16, 16}, {16, 16}, {8, 8}, {40, 40}, {72, 40}, {72, 40}};
    for (int i = 0; i < 14; ++i) d.images["common " + std::to_string(i)] = showcaseBox(kSizes[i][0], kSizes[i][1], kColours[i]);
    const uint32_t pages[3] = {0xFF40A040, 0xFF4080D0, 0xFFA0A0F0};
    for (int i = 0; i < 3; ++i) d.images["page " + std::to_string(i)] = showcaseBox(200, 120, pages[i]);
    d.images["more"] = showcaseBox(200, 120, 0xFFD08040);
    d.images["language EN"] = showcaseBox(30, 20, 0xFF2040A0);
    d.images["language DE"] = showcaseBox(30, 20, 0xFFE0C000);
    for (int r = 0; r < 2; ++r) d.images["row 0 " + std::to_string(r)] = showcaseBox(40, 40, 0xFF60C060);
    for (int r = 0; r < 3; ++r) d.images["row 1 " + std::to_string(r)] = showcaseBox(40, 40, 0xFFC06060);
    d.images["slot3"] = showcaseBox(200, 120, 0xFF8040D0);
    d.images["extra"] = showcaseBox(30, 20, 0xFF000000);
    return d;
}

}  // namespace kit
