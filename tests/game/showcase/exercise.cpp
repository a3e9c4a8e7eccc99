// One pack through the whole screen (see exercise.h).
#include "tests/game/showcase/exercise.h"

#include "platform/fs/fs.h"
#include "tests/game/showcase/support.h"
#include "tools/kit/demo.h"
#include "tools/kit/describe.h"

namespace showcasetest {

void startFuzzWorld() {
    World world;
    world.pool = kit::demoStringPool();
    kit::setPoolEntry(world.pool, 0, kFuzzPackPath);
    start(world);
    setupScreen();
}

bool exercisePack(const uint8_t* data, size_t size) {
    const std::optional<std::string> host = platform::fs::hostPath(kFuzzPackPath);
    if (!host) return false;
    kit::writeFile(*host, kit::ByteSpan(data, size));
    game::ShowcaseStatics* s = game::showcaseStatics();
    // What one input leaves behind is not seen by the next.
    s->texts = nullptr;
    s->glyphData = nullptr;
    s->glyphHighest = 0;
    s->fontImages = nullptr;
    s->languageImage = s->extraImage = nullptr;
    s->catalogueKeys = s->subKeys = s->subLinks = s->subImages = nullptr;
    s->languageCodes = newObjectArray(cid::String, 0);
    s->pendingUrl = nullptr;
    s->linkRequested = 0;
    game::Showcase::init();
    if (!game::Showcase::hasEntries()) return false;
    game::Showcase::enter(String::fromUtf8("fuzz"), 0);
    Screen screen;
    for (int i = 0; i < 80 && s->screenState == game::kShowLoading; ++i) {
        game::Showcase::doAction(0);
        if (i == 3) game::Showcase::paint(screen.g);
    }
    game::Showcase::paint(screen.g);
    // Every slot's page once, lists included.
    for (jint n = 0; n < s->slotCount && n < 16; ++n) {
        game::Showcase::doAction(game::kActNext);
        game::Showcase::doAction(game::kActRowDown);
        game::Showcase::paint(screen.g);
        game::Showcase::hitTest(400, 240);
    }
    return true;
}

std::vector<kit::DamagedFile> packSeeds() {
    std::vector<kit::DamagedFile> seeds;
    kit::ShowcaseDescription plain = kit::demoShowcase();
    kit::ShowcaseDescription option = plain;
    option.option = true;
    option.images["slot4"] = kit::showcaseBox(20, 20, 0xFF112233);
    kit::ShowcaseDescription wide = plain;
    wide.layoutId = "WIDE";
    wide.font = kit::showcaseFontFrom(kit::parseFontDescription(kit::kDemoFont), 0, 0xFF000000u, true);
    const std::pair<const char*, const kit::ShowcaseDescription*> valid[] = {
        {"plain", &plain}, {"option", &option}, {"wide", &wide}};
    for (const auto& [name, d] : valid) {
        seeds.push_back({std::string("valid-") + name, kit::encodeShowcase(*d)});
        for (kit::DamagedFile& f : kit::damageShowcase(*d)) {
            f.name = std::string(name) + "-" + f.name;
            seeds.push_back(std::move(f));
        }
    }
    return seeds;
}

}  // namespace showcasetest
