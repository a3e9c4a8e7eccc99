// The screens' demo pool entries and text lists (demo_screens.h).
#include "tools/kit/demo_screens.h"

#include "tools/kit/describe.h"
#include "tools/kit/gamedata.h"

namespace kit {

namespace {

const std::string kTerm = "\x03";

struct PoolText {
    size_t index;
    const char* text;
};
// Formats take text parameters (\d); 38 is a time against a time, h:mm:ss.
constexpr PoolText kPoolTexts[] = {
    {34, "\\d"},  {35, "\\d / \\d"}, {37, "\\d"},  {38, "\\d:\\d\\d:\\d\\d / \\d:\\d\\d:\\d\\d"},
    {47, "#"},    {54, "CHECKPOINT"}, {98, "%VER%"}, {100, "Skip acknowledged"},
    {101, "Tap again to skip"},       {118, "~"},
};

}  // namespace

void addDemoScreensPool(StringPool& pool) {
    for (const PoolText& t : kPoolTexts) {
        const std::string text = std::string(t.text) + kTerm;
        // Entries 34-38 are also the cross-promotion screen's property
        // names; where the pool already holds a text, that text stays.
        if (t.index < pool.size() && !pool[t.index].empty() && pool[t.index] != utf8ToUtf16(text)) continue;
        setPoolEntry(pool, t.index, text);
    }
}

std::vector<std::string> screenTexts(int slot) {
    std::vector<std::string> t;
    for (int i = 0; i < 140; ++i) t.push_back("TEXT " + std::to_string(i));
    auto set = [&](int i, const std::string& s) { t[static_cast<size_t>(i)] = s; };
    if (slot == 0) {
        set(0, "TAP TO CONTINUE");
        set(2, "RESUME");
        set(3, "RESTART");
        set(4, "Quit the game?");
        set(5, "Play with sound?");
        set(6, "Leave to the main menu?");
        set(7, "Start over? Saved progress is lost.");
        set(9, "SOUND");
        set(11, "ON");
        set(12, "OFF");
        set(13, "YES");
        set(16, "NO");
        set(17, "OK");
        set(18, "BACK");
        set(21, "Try again?");
        set(23, "Erase all progress?");
        set(24, "\\d");
        set(39, "Lives lost \\d x \\d");
        set(40, "PENALTY");
        set(41, "-\\d");
        set(42, "TOTAL");
        set(43, "BEST");
        set(44, "STAGE CLEAR");
        set(45, "WELL DONE");
        set(46, "The brambles part.\nThe hollow is quiet again.\n\nTHE END");
        set(47, "NEW DIFFICULTY");
        set(48, "The hard road is open.");
        set(49, "Choose it from the game menu.");
        set(56, "More games wait in the shop.");
        return t;
    }
    const char* const rows[][2] = {
        {"0", "QUIT TO MENU"}, {"1", "START"}, {"2", "OPTIONS"}, {"3", "EXIT"}, {"4", "QUICK PLAY"},
        {"5", "CONTINUE"}, {"6", "NEW GAME"}, {"7", "CHOOSE STAGE"}, {"8", "PLAY"}, {"9", "RECORDS"},
        {"10", "HELP"}, {"11", "CREDITS"}, {"14", "MORE GAMES"}, {"15", "FEATURED"}, {"17", "Loading..."},
        {"20", "EASY"}, {"21", "NORMAL"}, {"22", "HARD"}, {"82", "BRAMBLE HOLLOW\n\nVersion %VER%\n\nMade with care."},
        {"94", "Tap the screen to start."}, {"96", "GAME OVER"}, {"98", "ERASE PROGRESS"},
        {"100", "A demo notice."}, {"102", "STAGE"}, {"127", "GOAL"}, {"128", "SPECIAL ITEMS"},
        {"129", "Collect them all."}, {"131", "Bonus found!"}, {"132", "BONUS"}, {"133", "VIBRATION"},
        {"134", "TAP TO START"}, {"135", "Progress erased."}, {"136", "Tap to go on"},
    };
    for (const auto& r : rows) set(std::stoi(r[0]), r[1]);
    for (int s = 0; s < 11; ++s) {
        set(0x17 + s, "STAGE " + std::to_string(s + 1));         // record rows
        set(0x22 + s, "Stage " + std::to_string(s + 1));         // stage rows and intro lines
        set(0x67 + s, "Hollow " + std::to_string(s + 1));        // stage names
        set(0x73 + s, "Reach the far side.");                    // stage goals
    }
    return t;
}

}  // namespace kit
