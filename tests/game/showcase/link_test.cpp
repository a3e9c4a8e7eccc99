// The general promotion link and the opening of links: the platform request
// gets exactly the link, the program is asked to end, failures keep the
// screen where it was.
#include "tests/game/showcase/support.h"

namespace showcasetest {
namespace {

using game::Showcase;
using game::showcaseStatics;

struct Recorder {
    std::vector<std::string> urls;
    int destroyed = 0;
};
Recorder g_rec;

void startWith(const kit::JadProperties& props) {
    World world;
    world.pack = kit::encodeShowcase(kit::demoShowcase());
    world.properties = props;
    start(world);
    setupScreen();
    g_rec = Recorder{};
    bramble::io::setPlatformRequestHandler([](const std::string& url) { g_rec.urls.push_back(url); });
    bramble::io::setNotifyDestroyedHandler([] { ++g_rec.destroyed; });
}

using LinkTest = ShowcaseTest;

TEST_F(LinkTest, BuildLinkTable) {
    struct Case {
        const char* name;
        kit::JadProperties props;
        bool insertLanguage;
        bool want;
        const char* link;
    };
    const char* tmpl = "http://promo.example.com/about";
    const Case cases[] = {
        {"marker pair", {{"Promo-Url", tmpl}, {"Promo-More", "a##x##b"}}, false, true, "http://promo.example.com/about"},
        {"marker pair with the language", {{"Promo-Url", tmpl}, {"Promo-More", "a##x##b"}}, true, true,
         "http://promo.example.com/about&p=##"},
        {"second marker ends at the last character", {{"Promo-Url", tmpl}, {"Promo-More", "a##x##"}}, false, false, nullptr},
        {"second marker missing", {{"Promo-Url", tmpl}, {"Promo-More", "a##xy##b"}}, false, false, nullptr},
        {"empty template", {{"Promo-More", "a##x##b"}}, false, false, nullptr},
        {"ready link without a marker", {{"Promo-More", "plain"}, {"Promo-Ready", "http://r/"}}, false, true, "http://r/"},
        {"no property at all", {}, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startWith(c.props);
        showcaseStatics()->insertLanguage = c.insertLanguage;
        EXPECT_EQ(Showcase::buildLink(), c.want);
        EXPECT_EQ(showcaseStatics()->linkReady, c.want);
        if (c.link) {
            EXPECT_EQ(utf8(showcaseStatics()->promoLink), c.link);
        }
        stop();
    }
    // Without the promoted language code there is never a link.
    startWith({{"Promo-Ready", "http://r/"}});
    ObjectArray* codes = newObjectArray(cid::String, 1);
    codes->data()[0] = String::fromUtf8("DE");
    showcaseStatics()->languageCodes = codes;
    EXPECT_FALSE(Showcase::buildLink());
}

TEST_F(LinkTest, EntryLinkOpensAtTheNextPaintAndEndsTheProgram) {
    startWith(demoProperties());
    enterAndLoad();
    Screen screen;
    game::ShowcaseStatics* s = showcaseStatics();
    EXPECT_FALSE(Showcase::doAction(game::kActNext));
    EXPECT_FALSE(Showcase::doAction(game::kActSelect));
    EXPECT_EQ(s->screenState, game::kShowEntryLink);
    EXPECT_FALSE(Showcase::doAction(0));
    EXPECT_TRUE(g_rec.urls.empty());
    Showcase::paint(screen.g);
    EXPECT_EQ(g_rec.urls, std::vector<std::string>{"http://promo.example.com/river"});
    EXPECT_EQ(g_rec.destroyed, 1);
    EXPECT_EQ(s->screenState, game::kShowPage);
    EXPECT_EQ(s->pendingUrl, nullptr);
}

TEST_F(LinkTest, PromotionLinkFromTheMenu) {
    startWith(demoProperties());
    Screen screen;
    game::ShowcaseStatics* s = showcaseStatics();
    Showcase::requestLink();
    EXPECT_EQ(s->screenState, game::kShowPromoLink);
    EXPECT_FALSE(Showcase::doAction(0));
    Showcase::paint(screen.g);
    EXPECT_EQ(g_rec.urls, std::vector<std::string>{"http://promo.example.com/"});
    EXPECT_EQ(g_rec.destroyed, 1);
    EXPECT_EQ(s->screenState, game::kShowLeave);
    EXPECT_TRUE(Showcase::doAction(0));
}

TEST_F(LinkTest, RequestWithoutALinkClosesAtOnce) {
    startWith({});
    Showcase::requestLink();
    EXPECT_TRUE(Showcase::doAction(0));
    Screen screen;
    Showcase::paint(screen.g);
    EXPECT_TRUE(g_rec.urls.empty());
    EXPECT_EQ(g_rec.destroyed, 0);
}

TEST_F(LinkTest, EmptyLinkIsKeptAndAFailedRequestLeavesTheState) {
    startWith(demoProperties());
    game::ShowcaseStatics* s = showcaseStatics();
    s->pendingUrl = String::fromUtf8("");
    Showcase::openLink();
    ASSERT_NE(s->pendingUrl, nullptr);
    EXPECT_EQ(s->pendingUrl->length(), 0);
    EXPECT_TRUE(g_rec.urls.empty());

    LogCapture log;
    s->pendingUrl = String::fromUtf8("http://x/");
    s->screenState = game::kShowEntryLink;
    s->midlet = nullptr;  // the request raises
    Showcase::openLink();
    EXPECT_EQ(s->pendingUrl, nullptr);
    EXPECT_EQ(s->screenState, game::kShowEntryLink);
    EXPECT_EQ(g_rec.destroyed, 0);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(log.contains("opening the link failed"));
}

}  // namespace
}  // namespace showcasetest

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "platform/process/process.h"

namespace showcasetest {
namespace {

// The browser command the platform starts gets exactly the entry's link.
TEST_F(LinkTest, BrowserCommandGetsTheLink) {
    startWith(demoProperties());
    const std::string record =
        (std::filesystem::temp_directory_path() / ("showcase-browser-" + std::to_string(getpid()) + ".txt")).string();
    std::filesystem::remove(record);
    setenv("BRAMBLE_BROWSER", ("/bin/sh -c 'printf \"%s\\n\" \"$0\" >> " + record + "'").c_str(), 1);
    bramble::io::setPlatformRequestHandler([](const std::string& url) { platform::openUrl(url); });
    enterAndLoad();
    Screen screen;
    game::ShowcaseStatics* s = showcaseStatics();
    s->currentEntry = 5;  // the second sub-list
    Showcase::resetPage();
    Showcase::doAction(game::kActRowDown);
    Showcase::doAction(game::kActSelect);
    Showcase::doAction(0);
    Showcase::paint(screen.g);
    EXPECT_EQ(g_rec.destroyed, 1);
    std::string seen;
    // The browser's line is there once it ends with its newline (the file
    // exists before it is written); hang guard: a minute.
    for (int i = 0; i < 600 && (seen.empty() || seen.back() != '\n'); ++i) {
        std::ifstream in(record);
        std::stringstream text;
        text << in.rdbuf();
        seen = text.str();
        if (seen.empty() || seen.back() != '\n') std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    unsetenv("BRAMBLE_BROWSER");
    std::filesystem::remove(record);
    EXPECT_EQ(seen, "http://promo.example.com/shop\n");
}

}  // namespace
}  // namespace showcasetest
