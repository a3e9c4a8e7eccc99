// Demo data: the string pool, a few sprites, a font, the descriptor and a
// picture, packed into data.bar inside a device root.
#include "tools/kit/demo.h"
#include "tools/kit/demo_world.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/demo_platforms.h"
#include "tools/kit/demo_data.h"
#include "tools/kit/demo_screens.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/demo_game.h"

#include "tools/kit/demo_showcase.h"
#include "tools/kit/describe.h"
#include "tools/kit/font.h"
#include "tools/kit/jad.h"
#include "tools/kit/png.h"
#include "tools/kit/recordstore.h"
#include "tools/kit/sprite.h"

#include <filesystem>

namespace kit {

StringPool demoStringPool() {
    StringPool pool;
    struct Text { size_t index; const char* text; };
    static const Text kRuntimeTexts[] = {
        {1, ""},
        {14, "="},
        {73, "VolumeControl"},
        {87, kRemapMarker},
        {89, "text"}, {90, "binary"}, {91, "multipart"},
        {92, "Record store is full"},
        {93, kStoreFolderSeparator}, {94, kStorePrefix}, {95, kStoreSuffix},
        {96, "Cannot write the record store"},
        {97, kRecordSeparator},
        {111, ","},
        {140, "Illegal capacity: "},
        {141, "Illegal DST savings"},
        {142, "Illegal month "},
        {143, "GMT"}, {144, ":"},
        {145, "Illegal start month "}, {146, "Illegal start time "}, {147, "Illegal start day of week "},
        {148, "Illegal start day "}, {149, "Illegal start day of month "},
        {150, "Illegal end month "}, {151, "Illegal end time "}, {152, "Illegal end day of week "},
        {153, "Illegal end day "}, {154, "Illegal end day of month "},
        {155, "UTC"},
        {156, "Negative delay."},
        {158, "Illegal execution time."},
        {159, "Timer already cancelled."},
        {160, "Task already scheduled or cancelled"},
        {161, "n must be positive"},
        {162, "{"}, {163, ", "}, {164, "}"},
        {165, "Hashtable Enumerator"},
        {167, "Jan"}, {168, "Feb"}, {169, "Mar"}, {170, "Apr"}, {171, "May"}, {172, "Jun"},
        {173, "Jul"}, {174, "Aug"}, {175, "Sep"}, {176, "Oct"}, {177, "Nov"}, {178, "Dec"},
        {179, "Sun"}, {180, "Mon"}, {181, "Tue"}, {182, "Wed"}, {183, "Thu"}, {184, "Fri"}, {185, "Sat"},
        {187, "Array index out of range: "},
        {188, "Thread["}, {189, "]"},
        {190, "microedition.configuration"}, {191, "CLDC-1.1"},
        {192, "0.0"},
        {198, "true"}, {199, "false"},
        {200, "audio/x-wav"},
        {203, "Illegal audio clip type: "}, {204, "Illegal loop count: "}, {205, "Illegal volume: "},
    };
    for (const Text& t : kRuntimeTexts) setPoolEntry(pool, t.index, t.text);
    addDemoShowcasePool(pool);
    size_t next = pool.size();
    setPoolEntry(pool, next++, "Bramble Hollow Saga");
    setPoolEntry(pool, next++, "Demo data made by the content kit");
    setPoolEntry(pool, next++, "Gr\xC3\xBC\xC3\x9F" "e aus dem Dornenhain \xE2\x80\x94 \xE2\x9C\xBF");
    addDemoDataPool(pool);
    addDemoFlowPool(pool);
    addDemoScreensPool(pool);
    return pool;
}

// A small character: palettes in 0x4444, packed 4-bit pixels, two
// palettes, frames with hit rectangles, a nested frame, a two-frame walk
// cycle and a remap table that swaps the head.
const char* const kDemoHeroSprite = R"(sprite
palette-format 4444
pixel-format 1600
colors 6
palette 00000000 FF203040 FFE0B080 FF3070D0 FFF0F0F0 80000000
palette 00000000 FF402010 FFE0B080 FFD04030 FFF0F0F0 80000000

module image 6 5          # 0 head
.1111.
122221
124241
122221
.1221.
module image 6 5          # 1 head, eyes closed
.1111.
122221
122221
122221
.1221.
module image 8 7          # 2 body
..3333..
.333333.
33333333
23333332
.333333.
.33..33.
.11..11.
module image 8 7          # 3 body, mid stride
..3333..
.333333.
33333333
23333332
.333333.
..3333..
..1111..
module size 8 12          # 4 hit box size
module image 8 2          # 5 shadow
.555555.
55555555

frame                     # 0 standing
fm 5 -4 -1
fm 2 -4 -8
fm 0 -3 -13
rect -4 -13 8 13
frame                     # 1 stride
fm 5 -4 -1
fm 3 -4 -8
fm 0 -3 -13 flags=1
rect -4 -13 8 13
frame                     # 2 the standing frame mirrored, nested
nest 0 0 0 flags=1
rect -4 -13 8 13
frame                     # 3 second palette
fm 2 -4 -8 palette=1
fm 0 -3 -13 palette=1

anim                      # 0 walk
af 0 4
af 1 4 1 0
anim                      # 1 idle
af 0 20
af 2 3 0 -1 flags=2

remap                     # eyes closed
0 1
)";

// Tiles of the 36-pixel grid in 0x6505 colours with run-length pixels,
// and one module of every primitive kind.
const char* const kDemoTilesSprite = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FF305020 FF508030 FF806040 FF604020 FFA0C0E0

module image 12 12        # 0 grass tile quarter
222222222222
212221222122
111111111111
333333333333
343334333433
333333333333
334333433343
333333333333
343334333433
333333333333
334333433343
444444444444
module image 12 12        # 1 dirt
333333333333
343334333433
333333333333
334333433343
333333333333
343334333433
333333333333
334333433343
333333333333
343334333433
333333333333
444444444444
module rect FFFFFFFF 36 36
module fill 80000000 36 36
module size 36 36
module arc FFFFFF00 20 20 0 270
module fill-arc FFFF8000 20 20 45 90
module triangle FF00FF00 10 0 5 10
module fill-triangle FF0000FF 10 0 5 10
module line FFFF0000 12 6
module gradient FF102040 FF80A0FF 0 36 36

frame                     # 0 grass, 36 x 36 from nine quarters
fm 0 0 0
fm 0 12 0
fm 0 24 0
fm 1 0 12
fm 1 12 12
fm 1 24 12
fm 1 0 24
fm 1 12 24
fm 1 24 24
frame                     # 1 sky block with every primitive
fm 10 0 0
fm 2 0 0
fm 5 8 8
fm 6 8 8
fm 7 4 24
fm 8 20 24
fm 9 0 30 flags=3
fm 3 0 0
fm 4 0 0
)";

// A 3 x 5 pixel font: digits, capitals and a little punctuation, in two
// palettes (white and yellow), one bit a pixel.
const char* const kDemoFont = R"(font
ascent 5
descent 1
line-spacing 2
space 3
pixel-format 0200
palette 00000000 FFFFFFFF
palette 00000000 FFFFE040
palette 00000000 FF80FF80
palette 00000000 FFFFFFFF
palette 00000000 FFFF8040
palette 00000000 FF40C0FF
palette 00000000 FFFFFFFF
palette 00000000 FFFFD070
palette 00000000 FFFFFFFF
palette 00000000 FFA0E0FF
missing 4 3 5
###
#.#
#.#
#.#
###
glyph 0 4 3 5
###
#.#
#.#
#.#
###
glyph 1 4 3 5
.#.
##.
.#.
.#.
###
glyph 2 4 3 5
##.
..#
.#.
#..
###
glyph 3 4 3 5
##.
..#
.#.
..#
##.
glyph 4 4 3 5
#.#
#.#
###
..#
..#
glyph 5 4 3 5
###
#..
##.
..#
##.
glyph 6 4 3 5
.##
#..
###
#.#
###
glyph 7 4 3 5
###
..#
.#.
.#.
.#.
glyph 8 4 3 5
###
#.#
###
#.#
###
glyph 9 4 3 5
###
#.#
###
..#
##.
glyph A 4 3 5
.#.
#.#
###
#.#
#.#
glyph B 4 3 5
##.
#.#
##.
#.#
##.
glyph C 4 3 5
.##
#..
#..
#..
.##
glyph D 4 3 5
##.
#.#
#.#
#.#
##.
glyph E 4 3 5
###
#..
##.
#..
###
glyph F 4 3 5
###
#..
##.
#..
#..
glyph G 4 3 5
.##
#..
#.#
#.#
.##
glyph H 4 3 5
#.#
#.#
###
#.#
#.#
glyph I 4 3 5
###
.#.
.#.
.#.
###
glyph J 4 3 5
..#
..#
..#
#.#
.#.
glyph K 4 3 5
#.#
#.#
##.
#.#
#.#
glyph L 4 3 5
#..
#..
#..
#..
###
glyph M 4 3 5
#.#
###
###
#.#
#.#
glyph N 4 3 5
##.
#.#
#.#
#.#
#.#
glyph O 4 3 5
.#.
#.#
#.#
#.#
.#.
glyph P 4 3 5
##.
#.#
##.
#..
#..
glyph Q 4 3 5
.#.
#.#
#.#
##.
.##
glyph R 4 3 5
##.
#.#
##.
#.#
#.#
glyph S 4 3 5
.##
#..
.#.
..#
##.
glyph T 4 3 5
###
.#.
.#.
.#.
.#.
glyph U 4 3 5
#.#
#.#
#.#
#.#
###
glyph V 4 3 5
#.#
#.#
#.#
#.#
.#.
glyph W 4 3 5
#.#
#.#
###
###
#.#
glyph X 4 3 5
#.#
#.#
.#.
#.#
#.#
glyph Y 4 3 5
#.#
#.#
.#.
.#.
.#.
glyph Z 4 3 5
###
..#
.#.
#..
###
glyph . 2 1 1 y=4
#
glyph , 2 1 2 y=4
#
#
glyph ! 2 1 5
#
#
#
.
#
glyph ? 4 3 5
##.
..#
.#.
...
.#.
glyph : 2 1 3 y=1
#
.
#
glyph - 4 3 1 y=2
###
glyph ' 2 1 2
#
#
glyph _ 4 3 1 y=5
###
)";

namespace {

Bytes demoPicture() {
    const int w = 48, h = 32;
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            uint32_t r = static_cast<uint32_t>(x * 255 / (w - 1)), g = static_cast<uint32_t>(y * 255 / (h - 1));
            uint32_t a = border ? 0x80u : 0xFFu;
            px.push_back(a << 24 | r << 16 | g << 8 | 0x60);
        }
    return encodePngRgba(w, h, px);
}

Bytes demoJad() {
    JadProperties props = {
        {"MIDlet-Name", "Bramble Hollow Saga"},
        {"MIDlet-Vendor", "Tindrell"},
        {"MIDlet-Version", "1.0.0"},
        {"MIDlet-1", "Bramble Hollow Saga, /icon.png, RavitBHSG"},
        {"MicroEdition-Profile", "MIDP-2.0"},
        {"MicroEdition-Configuration", "CLDC-1.1"},
    };
    addDemoShowcaseJad(props);
    return encodeJad(props);
}

}  // namespace

std::vector<DemoEntry> demoEntries() {
    std::vector<DemoEntry> entries = {
        {"constants.bin", [] { return encodeStringPool(demoStringPool()); }},
        {"app.jad", demoJad},
        {"title.png", demoPicture},
        {"hero.spr", [] { return encodeSprite(parseSpriteDescription(kDemoHeroSprite)); }},
        {"tiles.spr", [] { return encodeSprite(parseSpriteDescription(kDemoTilesSprite)); }},
        {"font0.spr", [] { return encodeSprite(buildFont(parseFontDescription(kDemoFont)).sprite); }},
        {"font0.map", [] { return encodeShortNode(buildFont(parseFontDescription(kDemoFont)).charMap); }},
    };
    addDemoActor(entries);
    addDemoShowcase(entries);
    addDemoData(entries);
    addDemoWorld(entries);
    addDemoMovers(entries);
    addDemoBlocks(entries);
    addDemoHazards(entries);
    addDemoPlatforms(entries);
    addDemoFlow(entries);
    addDemoScreens(entries);
    addDemoBosses(entries);
    amendDemoForWorld(entries);
    addDemoGame(entries);
    return entries;
}

Bytes buildDemoArchive() {
    ArchiveWriter w;
    for (const DemoEntry& e : demoEntries()) {
        try {
            w.add(e.name, e.make());
        } catch (const KitError& err) {
            throw KitError("demo entry " + e.name + ": " + err.what());
        }
    }
    return w.build();
}

std::string buildDemoRoot(const std::string& dir) {
    namespace fs = std::filesystem;
    fs::path device = fs::path(dir) / "device";
    fs::path app = device / kAppFolder;
    std::error_code ec;
    fs::create_directories(app, ec);
    if (ec) throw KitError("cannot create " + app.string() + ": " + ec.message());
    fs::create_directories(device / kTempFolder, ec);
    if (ec) throw KitError("cannot create " + (device / kTempFolder).string() + ": " + ec.message());
    std::string bar = (app / "data.bar").string();
    writeFile(bar, buildDemoArchive());
    return bar;
}

}  // namespace kit
