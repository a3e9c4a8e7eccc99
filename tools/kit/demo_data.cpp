// The demo device root's game data (see demo_data.h). Deterministic: the
// same bytes on every run.
#include "tools/kit/demo_data.h"

#include <cmath>

#include "tools/kit/demo_art.h"
#include "tools/kit/describe.h"
#include "tools/kit/font.h"
#include "tools/kit/png.h"

namespace kit {
namespace {

struct PoolText {
    size_t index;
    const char* text;
};
constexpr PoolText kPoolTexts[] = {
    {13, "0"},      {48, "UTF-8"}, {52, "Camp"}, {76, "pack"}, {108, "BrambleProgress"},
    {133, "."},     {137, "Text pack not read: "}, {138, "00"},
};

Bytes fontSprite() { return encodeSprite(buildFont(parseFontDescription(kDemoFont)).sprite); }
Bytes charMapNode() { return encodeShortNode(buildFont(parseFontDescription(kDemoFont)).charMap); }
Bytes heroSprite() { return encodeSprite(parseSpriteDescription(kDemoHeroSprite)); }
// The map tiles every layer of every stage draws with.
Bytes tilesSprite() { return encodeSprite(demoTileSprite()); }

Bytes screenPicture() {
    const int w = 40, h = 24;
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(0xFF000000u | static_cast<uint32_t>(x * 6) << 16 | static_cast<uint32_t>(y * 10) << 8 | 0x40);
    return encodePngRgba(w, h, px);
}

void addPack(std::vector<DemoEntry>& out, const std::string& name, std::function<std::vector<PackEntry>()> entries,
             std::vector<int> firsts = {0}) {
    // Each file is built from the whole pack; the pack is cheap to build.
    out.push_back({name, [entries, firsts] { return buildPack(entries(), firsts).header; }});
    for (size_t k = 1; k < firsts.size(); ++k)
        out.push_back({subPackFileName(name, ".", static_cast<int>(k)),
                       [entries, firsts, k] { return buildPack(entries(), firsts).subPacks[k - 1]; }});
}

}  // namespace

std::vector<std::string> demoTexts(bool german) {
    std::vector<std::string> t;
    for (int i = 0; i < 140; ++i) t.push_back((german ? "TEXT " : "TEXT ") + std::to_string(i));
    const char* const named[][2] = {
        {"HAUPTMENU", "MAIN MENU"}, {"SPIEL", "GAME"},       {"OPTIONEN", "OPTIONS"},   {"ENDE", "QUIT"},
        {"NEUES SPIEL", "NEW GAME"}, {"WEITER", "RESUME"},    {"STUFEN", "STAGES"},      {"HILFE", "HELP"},
        {"FORTSETZEN", "CONTINUE"}, {"TON", "SOUND"},         {"REKORDE", "RECORDS"},    {"ZURUCK", "BACK"},
    };
    for (size_t i = 0; i < sizeof named / sizeof named[0]; ++i) t[i] = named[i][german ? 0 : 1];
    return t;
}

DataNode demoSineNode() {
    std::vector<int64_t> v;
    for (int i = 0; i <= 512; ++i) v.push_back(std::lround(std::sin(i * M_PI / 1024.0) * 16384.0));
    return DataNode::ints(v, 2, true);
}

std::array<std::optional<LayerGrid>, 5> demoLevelLayers() {
    std::array<std::optional<LayerGrid>, 5> layers;
    auto grid = [](int w, int h, std::vector<uint16_t> tiles, int seed) {
        LayerGrid g;
        g.width = w;
        g.height = h;
        g.tiles = std::move(tiles);
        for (int i = 0; i < w * h; ++i) {
            g.cells.push_back(static_cast<uint8_t>((i * 7 + seed) % g.tiles.size()));
            g.flags.push_back(static_cast<uint8_t>(i % 11 == 0 ? 1 : (i % 13 == 0 ? 2 : 0)));
        }
        return g;
    };
    layers[0] = grid(30, 8, {0, 1, 2, 3}, 1);
    layers[1] = grid(40, 14, {0, 5, 6, 7, 8, 9}, 2);
    layers[4] = grid(40, 14, {0, 1, 17, 22, 4}, 3);
    return layers;
}

void addDemoDataPool(StringPool& pool) {
    for (const PoolText& t : kPoolTexts) {
        std::u16string want = utf8ToUtf16(t.text);
        if (t.index < pool.size() && !pool[t.index].empty() && pool[t.index] != want)
            throw KitError("string pool entry " + std::to_string(t.index) + " already holds another text");
        setPoolEntry(pool, t.index, t.text);
    }
}

void addDemoData(std::vector<DemoEntry>& out) {
    addPack(
        out, "pack0",
        [] {
            return std::vector<PackEntry>{
                {.payload = fontSprite()},
                {.payload = fontSprite(), .compress = true},
                {.payload = fontSprite()},
                {.payload = charMapNode()},
                {.payload = tilesSprite()},
                {.payload = screenPicture()},
                {.payload = buildTextPack(1, demoTexts(false)), .compress = true},
                {.payload = buildTextPack(1, demoTexts(true))},
            };
        },
        {0, 6});
    addPack(out, "pack1", [] {
        return std::vector<PackEntry>{{.payload = encodeNode(demoSineNode()), .compress = true},
                                      {.payload = encodeNode(DataNode::ints({0, 1, 2, 4, 8, 16}, 1))}};
    });
    addPack(out, "pack2", [] {
        return levelPackEntries(demoLevelLayers(), {Bytes{}, Bytes{0, 0}, Bytes{0}}, true);
    });
    addPack(out, "pack18", [] {
        std::vector<PackEntry> e;
        for (int i = 0; i < 13; ++i) e.push_back({.payload = heroSprite(), .compress = i % 2 == 1});
        // Entry 3 is the screens' backdrop (sprite 117), which covers the view;
        // entry 1 the heads-up display's pieces, entry 13 the corner buttons
        // (sprite 112).
        e[3].payload = encodeSprite(demoBackdropSprite());
        e[1].payload = encodeSprite(demoHudSprite());
        e.push_back({.payload = encodeSprite(demoButtonSprite())});
        return e;
    });
    addPack(out, "pack19", [] { return std::vector<PackEntry>{{.payload = heroSprite()}}; });
    out.push_back({"types.bin", [] { return buildContentTypes({"audio/midi", "audio/x-wav", "audio/ogg"}); }});
}

}  // namespace kit
