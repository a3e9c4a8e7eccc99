// The pack header and entries, the entry list built from the descriptor's
// properties, the loading steps and the decoding of the texts.
#include "tests/game/showcase/support.h"

#include <map>

#include "tools/kit/demo_showcase.h"

namespace showcasetest {
namespace {

using game::Showcase;
using game::showcaseStatics;

kit::Bytes rawPack(const std::vector<int32_t>& offsets, const kit::Bytes& data, int count = -1) {
    kit::ByteWriter w;
    w.le16(static_cast<uint32_t>(count < 0 ? offsets.size() : static_cast<size_t>(count)));
    for (int32_t o : offsets) w.le32(static_cast<uint32_t>(o));
    w.raw(data);
    return w.take();
}

std::string entryText(jint i) {
    ByteArray* e = Showcase::readPackEntry(i);
    if (!e) return "<null>";
    return std::string(reinterpret_cast<const char*>(e->data()), static_cast<size_t>(e->length()));
}

using PackHeaderTest = ShowcaseTest;

TEST_F(PackHeaderTest, OffsetsCountFromTheTableEndAndBadEntriesAreNull) {
    struct Case {
        const char* name;
        kit::Bytes pack;
        bool opens;
        std::vector<std::string> entries;  // entries 0.. read back ("<null>" for none)
    };
    const kit::Bytes abc = {'a', 'b', 'c', 'd', 'e'};
    const Case cases[] = {
        {"count 0", rawPack({}, {}), true, {"<null>"}},
        {"count 1", rawPack({0}, abc), true, {"<null>"}},
        {"two entries from the table end", rawPack({0, 2, 5}, abc), true, {"ab", "cde", "<null>"}},
        {"equal offsets give an empty entry", rawPack({0, 0, 3}, abc), true, {"<null>", "abc"}},
        {"negative offset", rawPack({-4, 2}, abc), true, {"<null>"}},
        {"decreasing offsets", rawPack({3, 1, 5}, abc), true, {"<null>", "bcde"}},
        {"offset beyond the pack", rawPack({0, 2, 900}, abc), true, {"ab", "<null>"}},
        {"huge offset", rawPack({0, 0x7FFFFFF0}, abc), true, {"<null>"}},
        {"skip past the 32-bit range", rawPack({0x7FFFFFF0, 0x7FFFFFF4}, abc), true, {"<null>"}},
        {"stream ends inside the entry", rawPack({0, 9}, abc), true, {"<null>"}},
        {"table longer than the pack", rawPack({0, 2}, abc, 300), false, {"<null>"}},
        {"one byte only", kit::Bytes{7}, false, {"<null>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        world.pack = c.pack;
        start(world);
        LogCapture log;
        EXPECT_EQ(Showcase::openPack(), c.opens);
        if (!c.opens) {
            EXPECT_TRUE(log.contains("pack header"));
        }
        for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(entryText(static_cast<jint>(i)), c.entries[i]) << i;
        EXPECT_EQ(Showcase::readPackEntry(-1), nullptr);
        stop();
    }
}

TEST_F(PackHeaderTest, MissingPackOrDamagedCatalogueLeavesTheScreenUnusable) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        World world;
        std::vector<kit::Bytes> entries = kit::showcaseEntries(kit::demoShowcase());
        if (variant == 1) entries[0].resize(entries[0].size() - 1);
        if (variant == 2) entries[0].clear();
        if (variant > 0) world.pack = kit::packShowcase(entries);
        start(world);
        LogCapture log;
        setupScreen();
        EXPECT_FALSE(showcaseStatics()->usable);
        EXPECT_FALSE(Showcase::hasEntries());
        EXPECT_EQ(Showcase::firstEntryOrNone(), -1);
        EXPECT_FALSE(log.lines().empty());
        EXPECT_TRUE(Showcase::doAction(game::kActSelect));
        stop();
    }
}

// --- The entry list ------------------------------------------------------------

using EntryListTest = ShowcaseTest;

TEST_F(EntryListTest, ValuesAndLookups) {
    World world;
    world.pack = kit::encodeShowcase(kit::demoShowcase());
    start(world);
    struct Valid { const char* value; jint flags; bool ok; };
    const Valid valid[] = {
        {"http://a", 7, true}, {"   ", 7, false}, {"", 1, false}, {"", 6, true}, {" none ", 7, false},
        {"none", 5, true}, {"Off", 7, false}, {"0", 7, false}, {"0", 3, true}, {nullptr, 1, false}, {nullptr, 6, true},
    };
    for (const Valid& v : valid)
        EXPECT_EQ(Showcase::isValidValue(v.value ? String::fromUtf8(v.value) : nullptr, v.flags), v.ok)
            << (v.value ? v.value : "null") << " " << v.flags;

    struct Lookup { const char* text; const char* key; const char* base; const char* result; };
    const Lookup lookups[] = {
        {"A=x;B=y", "B", "http://h/[ID]/p", "http://h/y/p"},
        {"A=x;B=y", "A", "http://h/[ID]", "http://h/x"},
        {"A= x ;B=y", "A", "no marker", "no marker"},
        {"A=x", "C", "http://h/[ID]", ""},
        {"A=x", "A", "   ", ""},
        {"A=0;B=y", "A", "http://h/[ID]", ""},
        {"A=off", "A", "http://h/[ID]", ""},
        {"A=none", "A", "http://h/[ID]", "none"},
        {"A=", "A", "http://h/[ID]", ""},
        {"BASE=kept", "BASE", "http://h/[ID]", "kept"},
    };
    for (const Lookup& l : lookups)
        EXPECT_EQ(utf8(Showcase::lookupValue(String::fromUtf8(l.text), String::fromUtf8(l.key), String::fromUtf8(l.base))),
                  l.result)
            << l.text << " / " << l.key;
    EXPECT_EQ(utf8(Showcase::lookupValue(nullptr, String::fromUtf8("A"), String::fromUtf8("b"))), "");
}

struct ListCase {
    const char* name;
    kit::JadProperties properties;
    std::vector<int> enabled;           // enabled slots
    std::vector<std::pair<int, const char*>> links;
};

TEST_F(EntryListTest, SlotsFollowTheProperties) {
    // Demo: 3 catalogue entries; slots 3 more, 4 and 5 the sub-lists, 6 and 7 the last two.
    const ListCase cases[] = {
        {"separate properties", demoProperties(), {0, 1, 2, 3, 4, 5, 6},
         {{0, "http://promo.example.com/garden"}, {3, "http://promo.example.com/all"}, {6, "http://promo.example.com/about"}}},
        {"blank, none, off and zero values",
         {{"Promo-Game-GARDEN", ""}, {"Promo-Game-RIVER", "none"}, {"Promo-Game-SKY", "OFF"},
          {"Promo-More-Url", "0"}, {"Promo-Url", "http://t"}},
         {6}, {{6, "http://t"}}},
        {"missing keys", {{"Promo-Game-SKY", "http://s"}}, {2}, {{2, "http://s"}}},
        {"combined with language",
         {{"Promo-Links", "http://c/?g=[ID]&LANG"}, {"Promo-Games", "GARDEN=g1;SKY=s3;RIVER=none"},
          {"Promo-Url", "http://t/?x=1"}, {"Promo-More", "MORE=m;BASE=b"}},
         {0, 2, 3, 6},
         {{0, "http://c/?g=g1&LANG&n=01"}, {2, "http://c/?g=s3&LANG&n=02"}, {3, "http://t/?x=1&p=m"},
          {6, "http://t/?x=1&all=1"}}},
        {"combined without a base", {{"Promo-Links", ""}, {"Promo-Games", "GARDEN=g1"}}, {}, {}},
        {"combined, last slot needs the base key",
         {{"Promo-Links", "http://c/[ID]"}, {"Promo-Url", "http://t"}, {"Promo-More", "MORE=m"}}, {3}, {{3, "http://t"}}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        world.pack = kit::encodeShowcase(kit::demoShowcase());
        world.properties = c.properties;
        start(world);
        setupScreen();
        std::vector<int> enabled;
        for (jint i = 0; i < showcaseStatics()->slotCount; ++i)
            if (ByteArray::at(showcaseStatics()->entryEnabled, i)) enabled.push_back(i);
        EXPECT_EQ(enabled, c.enabled);
        EXPECT_EQ(showcaseStatics()->usable, !c.enabled.empty());
        EXPECT_EQ(Showcase::getFirstEntry(), c.enabled.empty() ? -1 : c.enabled[0]);
        for (const auto& [slot, link] : c.links)
            EXPECT_EQ(utf8(static_cast<String*>(ObjectArray::at(showcaseStatics()->entryLinks, slot))), link) << slot;
        stop();
    }
}

TEST_F(EntryListTest, CatalogueLinksAreNumberedWithTwoDigits) {
    kit::ShowcaseDescription d = kit::demoShowcase();
    d.catalogue.clear();
    kit::JadProperties props = {{"Promo-Links", "http://c/[ID]LANG"}};
    std::string games;
    for (int i = 0; i < 11; ++i) {
        d.catalogue.push_back("K" + std::to_string(i));
        d.images["page " + std::to_string(i)] = kit::showcaseBox(4, 4, 0xFF00FF00);
        games += "K" + std::to_string(i) + "=v" + std::to_string(i) + ";";
    }
    props.push_back({"Promo-Games", games});
    World world;
    world.pack = kit::encodeShowcase(d);
    world.properties = props;
    start(world);
    setupScreen();
    auto link = [](jint i) { return utf8(static_cast<String*>(ObjectArray::at(showcaseStatics()->entryLinks, i))); };
    EXPECT_EQ(link(0), "http://c/v0LANG&n=01");
    EXPECT_EQ(link(8), "http://c/v8LANG&n=09");
    EXPECT_EQ(link(9), "http://c/v9LANG&n=10");
    EXPECT_EQ(link(10), "http://c/v10LANG&n=11");
}

TEST_F(EntryListTest, OptionFlagMovesTheLastSlotAndTheReleaseStep) {
    for (bool option : {false, true}) {
        SCOPED_TRACE(option);
        kit::ShowcaseDescription d = kit::demoShowcase();
        d.option = option;
        d.images["slot4"] = kit::showcaseBox(10, 10, 0xFF0000FF);
        World world;
        world.pack = kit::encodeShowcase(d);
        start(world);
        setupScreen();
        game::ShowcaseStatics* s = showcaseStatics();
        EXPECT_EQ(s->releaseStep, option ? 10 : 9);
        EXPECT_EQ(s->optionStep, option ? 9 : -2);
        EXPECT_EQ(ByteArray::at(s->entryEnabled, 6), option ? 0 : 1);
        EXPECT_EQ(ByteArray::at(s->entryEnabled, 7), option ? 1 : 0);
        EXPECT_EQ(ByteArray::at(s->entryEnabled, 3), option ? 0 : 1);
        enterAndLoad();
        EXPECT_EQ(s->screenState, game::kShowPage);
        EXPECT_EQ(ObjectArray::at(s->pageImages, 7) != nullptr, option);
        EXPECT_EQ(s->packOffsets, nullptr);  // released
        stop();
    }
}

// --- Loading ----------------------------------------------------------------

using LoadingTest = ShowcaseTest;

TEST_F(LoadingTest, StepsFillImagesTextsAndFont) {
    World world;
    world.pack = kit::encodeShowcase(kit::demoShowcase());
    start(world);
    setupScreen();
    enterAndLoad(1);
    game::ShowcaseStatics* s = showcaseStatics();
    EXPECT_EQ(s->loadStepCount, s->slotCount + 4);
    for (jint i = 0; i < Showcase::kImageSlots; ++i) EXPECT_NE(ObjectArray::at(s->images, i), nullptr) << i;
    for (jint i = 0; i < 4; ++i) EXPECT_NE(ObjectArray::at(s->pageImages, i), nullptr) << i;
    EXPECT_NE(s->languageImage, nullptr);
    EXPECT_NE(s->extraImage, nullptr);  // "DE" is one of the two extra languages
    EXPECT_EQ(s->languageImage->getWidth(), 30);
    EXPECT_EQ(utf8(Showcase::readText(game::kTextBack)), "ZUR\xC3\x9C" "CK");
    EXPECT_EQ(utf8(Showcase::readText(999)), "null");
    EXPECT_EQ(utf8(Showcase::readText(-1)), "null");
    EXPECT_EQ(s->lineHeight, 13);
    EXPECT_EQ(s->letterSpacing, 0);
    for (jint i = 0; i < 3; ++i) EXPECT_NE(ObjectArray::at(s->fontImages, i), nullptr);
    ObjectArray* rows = static_cast<ObjectArray*>(ObjectArray::at(s->subImages, 1));
    EXPECT_EQ(ObjectArray::at(rows, 3), ObjectArray::at(s->images, 11));
}

kit::Bytes packWithTexts(const std::vector<std::string>& texts) {
    kit::ShowcaseDescription d = kit::demoShowcase();
    d.texts["EN"] = texts;
    return kit::encodeShowcase(d);
}

TEST_F(LoadingTest, TextDecoding) {
    struct Case {
        const char* name;
        std::vector<std::string> texts;
        std::vector<std::string> expected;  // "<null>" for a text left null
        bool logged;
    };
    const Case cases[] = {
        {"one-byte forms, upper case", {"ok", "abc xyz"}, {"OK", "ABC XYZ"}, false},
        {"two bytes", {"\xC3\xA4\xC3\xB6"}, {"\xC3\x84\xC3\x96"}, false},
        {"three bytes", {"\xE2\x82\xAC", "\xEF\xBC\x8C"}, {"\xE2\x82\xAC", "\xEF\xBC\x8C"}, false},
        {"empty text stays null", {"a", "", "b"}, {"A", "<null>", "B"}, false},
        {"bad lead ends decoding", {"a", "b\xFF" "c", "later"}, {"A", "B", "<null>"}, true},
        {"bad follow", {"a", "b\xC3" "c", "later"}, {"A", "B", "<null>"}, true},
        {"two-byte sequence cut at the text's end", {"ab\xC3", "later"}, {"AB", "<null>"}, true},
        {"three-byte sequence cut", {"x\xE2\x82", "later"}, {"X", "<null>"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        world.pack = packWithTexts(c.texts);
        start(world);
        setupScreen();
        LogCapture log;
        Showcase::open(nullptr, 0);
        Showcase::loadStep(-1);
        Showcase::loadStep(0);
        Showcase::loadStep(1);
        for (size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_EQ(utf8(static_cast<String*>(ObjectArray::at(showcaseStatics()->texts, static_cast<jint>(k)))),
                      c.expected[k])
                << k;
        EXPECT_EQ(log.contains("bad UTF-8"), c.logged);
        stop();
    }
}

TEST_F(LoadingTest, DamagedPacksFailOneStepWithALogLine) {
    const kit::ShowcaseDescription d = kit::demoShowcase();
    struct Case { const char* variant; const char* logged; };
    const Case cases[] = {
        {"fewer-language-blocks", "fewer language blocks"},
        {"text-start-beyond", "starts outside"},
        {"text-start-backwards", "starts outside"},
        {"glyph-codes-above-highest", "above"},
        {"glyph-table-cut", "glyph table runs past"},
        {"strip-without-plte", "no palette"},
        {"strip-plte-past-end", "runs past the bytes"},
        {"strip-short-plte", "beyond the palette"},
        {"images-3-cut", "runs past its pack entry"},
        {"table-longer-than-pack", "pack header"},
    };
    std::map<std::string, kit::Bytes> variants;
    for (const kit::DamagedFile& f : kit::damageShowcase(d)) variants[f.name] = f.bytes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variant);
        ASSERT_TRUE(variants.count(c.variant));
        World world;
        world.pack = variants[c.variant];
        start(world);
        LogCapture log;
        setupScreen();
        if (showcaseStatics()->usable) enterAndLoad();
        EXPECT_TRUE(log.contains(c.logged));
        size_t recolourLines = 0;
        for (const std::string& line : log.lines()) recolourLines += line.find("recolourPng") != std::string::npos;
        EXPECT_LE(recolourLines, 1u);  // one line for one damaged strip
        if (std::string(c.variant).rfind("text", 0) == 0 || std::string(c.variant) == "fewer-language-blocks") {
            EXPECT_EQ(showcaseStatics()->texts, nullptr);
        }
        if (std::string(c.variant) == "images-3-cut") {
            EXPECT_NE(ObjectArray::at(showcaseStatics()->images, 0), nullptr);  // read before the cut
            EXPECT_EQ(ObjectArray::at(showcaseStatics()->images, 13), nullptr);
        }
        stop();
    }
}

}  // namespace
}  // namespace showcasetest
