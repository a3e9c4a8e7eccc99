// Demo content of the cross-promotion screen (see demo_showcase.h).
#include "tools/kit/demo_showcase.h"

#include "tools/kit/showcase.h"

namespace kit {

void addDemoShowcase(std::vector<DemoEntry>& entries) {
    entries.push_back({kDemoShowcasePack, [] { return encodeShowcase(demoShowcase()); }});
}

// Property names, markers and separators of the screen by pool index. 1
// (the empty text) and 14 ("=") are shared with the runtime's texts; 13 is
// "0" for every user. 34, 35, 37 and 38 are the game's heads-up formats:
// the screen's four names that the game would share sit at 206-209.
void addDemoShowcasePool(StringPool& pool) {
    struct Text { size_t index; const char* text; };
    static const Text kTexts[] = {
        {0, kDemoShowcasePack},
        {1, ""},
        {11, "NONE"}, {12, "OFF"}, {13, "0"}, {14, "="}, {15, ";"}, {16, "BASE"}, {17, "[ID]"},
        {18, "Promo-Game-"}, {19, "&n="}, {20, "&p=[ID]"}, {21, "Promo-More"},
        {24, "-"}, {26, "WIDE"},
        {29, "Promo-Links"}, {30, "LANG"}, {31, "Promo-Games"}, {32, "Promo-Url"},
        {36, "Promo-List-A"},
        {206, "MORE"}, {207, "Promo-More-Url"}, {208, "Promo-List-B"}, {209, "&all=1"},
        {44, "EN"}, {45, "##"}, {46, "Promo-Ready"}, {47, "\\N"},
        {49, "FR"}, {50, "DE"}, {51, "lang="},
        {66, "JA"}, {67, "|"},
        {70, "Promo-ListA"}, {71, "Promo-ListB"}, {72, "Promo-ListC"},
    };
    for (const Text& t : kTexts) setPoolEntry(pool, t.index, t.text);
}

void addDemoShowcaseJad(JadProperties& props) {
    const JadProperties links = {
        {"Promo-Game-GARDEN", "http://promo.example.com/garden"},
        {"Promo-Game-RIVER", "http://promo.example.com/river"},
        {"Promo-Game-SKY", "http://promo.example.com/sky"},
        {"Promo-Url", "http://promo.example.com/about"},
        {"Promo-More-Url", "http://promo.example.com/all"},
        {"Promo-ListA-NEWS", "http://promo.example.com/news"},
        {"Promo-ListA-TIPS", "http://promo.example.com/tips"},
        {"Promo-ListB-CLUB", "http://promo.example.com/club"},
        {"Promo-ListB-SHOP", "http://promo.example.com/shop"},
        {"Promo-ListB-HELP", "http://promo.example.com/help"},
        {"Promo-Ready", "http://promo.example.com/"},
    };
    props.insert(props.end(), links.begin(), links.end());
}

}  // namespace kit
