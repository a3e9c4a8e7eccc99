// The screens' demo pool entries and text lists (demo_screens.h).
#include "tools/kit/demo_screens.h"

#include "tools/kit/describe.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/bytes.h"

namespace kit {

namespace {

const std::string kTerm = "\x03";

struct PoolText {
    size_t index;
    const char* text;
};
// Formats take text parameters (\d); 38 is a time against a time, h:mm:ss.
// The cross-promotion screen reads its own names elsewhere, so 34, 35, 37
// and 38 are the game's. 47 (the line-break marker) is the cross-promotion
// screen's "\N", which the question menu also replaces; 52 ("Camp", the
// data's store name) doubles as the checkpoint caption.
constexpr PoolText kPoolTexts[] = {
    {34, "\\d"},  {35, "\\d / \\d"}, {37, "\\d"},  {38, "\\d:\\d\\d:\\d\\d / \\d:\\d\\d:\\d\\d"},
    {54, "CHECKPOINT"}, {98, "%VER%"}, {100, "Skip acknowledged"},
    {101, "Tap again to skip"},       {118, "~"},
};

}  // namespace

void addDemoScreensPool(StringPool& pool) {
    for (const PoolText& t : kPoolTexts) {
        const std::string text = std::string(t.text) + kTerm;
        if (t.index < pool.size() && !pool[t.index].empty() && pool[t.index] != utf8ToUtf16(text))
            throw KitError("string pool entry " + std::to_string(t.index) + " already holds another text");
        setPoolEntry(pool, t.index, text);
    }
}

namespace {

struct Named {
    int index;
    const char* english;
    const char* german;
};

// Slot 0: prompts, question texts, labels and the level-end texts.
constexpr Named kSlot0[] = {
    {0, "TAP TO CONTINUE", "TIPPEN ZUM WEITERMACHEN"},
    {1, "TAP THE SCREEN", "BILDSCHIRM TIPPEN"},
    {2, "RESUME", "WEITER"},
    {3, "RESTART", "NEUSTART"},
    {4, "Quit the game?", "Spiel beenden?"},
    {5, "Play with sound?", "Mit Ton spielen?"},
    {6, "Leave to the main menu?", "Zum Hauptmen\u00fc?"},
    {7, "Start over? Saved progress is lost.", "Neu beginnen? Der Spielstand geht verloren."},
    {9, "SOUND", "TON"},
    {11, "ON", "AN"},
    {12, "OFF", "AUS"},
    {13, "YES", "JA"},
    {16, "NO", "NEIN"},
    {17, "OK", "OK"},
    {18, "BACK", "ZUR\u00dcCK"},
    {21, "Try again?", "Noch einmal?"},
    {23, "Erase all progress?", "Spielstand l\u00f6schen?"},
    {24, "\\d", "\\d"},
    {39, "Lives lost \\d x \\d", "Verlorene Leben \\d x \\d"},
    {40, "PENALTY", "ABZUG"},
    {41, "-\\d", "-\\d"},
    {42, "TOTAL", "SUMME"},
    {43, "BEST", "BESTWERT"},
    {44, "STAGE CLEAR", "STUFE GESCHAFFT"},
    {45, "WELL DONE", "GUT GEMACHT"},
    {46, "The brambles part.\nThe hollow is quiet again.\n\nTHE END",
     "Die Dornen weichen.\nDie Senke ist wieder still.\n\nENDE"},
    {47, "NEW DIFFICULTY", "NEUE SCHWIERIGKEIT"},
    {48, "The hard road is open.", "Der schwere Weg ist offen."},
    {49, "Choose it from the game menu.", "W\u00e4hle ihn im Spielmen\u00fc."},
    {56, "More games wait in the shop.", "Weitere Spiele warten im Laden."},
};

// Slot 1: menu rows, screens, stage names and goals.
constexpr Named kSlot1[] = {
    {0, "QUIT TO MENU", "ZUM MEN\u00dc"},
    {1, "START", "START"},
    {2, "OPTIONS", "OPTIONEN"},
    {3, "EXIT", "ENDE"},
    {4, "QUICK PLAY", "SCHNELLSTART"},
    {5, "CONTINUE", "FORTSETZEN"},
    {6, "NEW GAME", "NEUES SPIEL"},
    {7, "CHOOSE STAGE", "STUFE W\u00c4HLEN"},
    {8, "PLAY", "SPIELEN"},
    {9, "RECORDS", "REKORDE"},
    {10, "HELP", "HILFE"},
    {11, "CREDITS", "MITWIRKENDE"},
    {14, "MORE GAMES", "MEHR SPIELE"},
    {15, "FEATURED", "EMPFOHLEN"},
    {17, "Loading...", "Laden..."},
    {20, "EASY", "LEICHT"},
    {21, "NORMAL", "NORMAL"},
    {22, "HARD", "SCHWER"},
    {82, "BRAMBLE HOLLOW\n\nVersion %VER%\n\nMade with care.",
     "BRAMBLE HOLLOW\n\nVersion %VER%\n\nMit Sorgfalt gemacht."},
    // The loading screen's hints (83-89 one line each, 90-92 one picture).
    {83, "Jump on an enemy to stomp it.", "Spring auf einen Gegner, um ihn zu zertreten."},
    {84, "Checkpoints keep your place.", "Kontrollpunkte merken sich deinen Weg."},
    {85, "Collect every special item.", "Sammle jedes Sonderteil."},
    {86, "Conveyors carry you along.", "F\u00f6rderb\u00e4nder tragen dich mit."},
    {87, "Ledges hold you from above only.", "Simse tragen dich nur von oben."},
    {88, "Bosses show where they are weak.", "Bosse zeigen ihre Schwachstelle."},
    {89, "Mind the thorns!", "Vorsicht vor den Dornen!"},
    {90, "HOW TO PLAY", "SO WIRD GESPIELT"},
    {91, "Tap left or right to run.", "Tippe links oder rechts zum Laufen."},
    {92, "Tap the jump button to jump.", "Tippe die Sprungtaste zum Springen."},
    {94, "Tap the screen to start.", "Tippe zum Starten."},
    {96, "GAME OVER", "SPIEL VORBEI"},
    {98, "ERASE PROGRESS", "SPIELSTAND L\u00d6SCHEN"},
    {100, "A demo notice.", "Ein Demo-Hinweis."},
    {102, "STAGE", "STUFE"},
    {127, "GOAL", "ZIEL"},
    {128, "SPECIAL ITEMS", "SONDERTEILE"},
    {129, "Collect them all.", "Sammle sie alle."},
    {131, "Bonus found!", "Bonus gefunden!"},
    {132, "BONUS", "BONUS"},
    {133, "VIBRATION", "VIBRATION"},
    {134, "TAP TO START", "TIPPEN ZUM STARTEN"},
    {135, "Progress erased.", "Spielstand gel\u00f6scht."},
    {136, "Tap to go on", "Tippen zum Weitermachen"},
};

// Turns the \uXXXX escapes of the tables into UTF-8 (the tables stay ASCII).
std::string unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'u' && p[2] && p[3] && p[4] && p[5]) {
            out += utf16ToUtf8(std::u16string(1, static_cast<char16_t>(std::stoi(std::string(p + 2, 4), nullptr, 16))));
            p += 5;
        } else {
            out += *p;
        }
    }
    return out;
}

// The demo font has capitals, digits and a little punctuation only: texts
// are shown in capitals, German letters spelt out (AE, OE, UE, SS). The
// parameter marker "\\d" keeps its small letter.
std::string forDemoFont(const std::string& text) {
    static const std::pair<const char*, const char*> kSpelt[] = {
        {"\xC3\xA4", "AE"}, {"\xC3\xB6", "OE"}, {"\xC3\xBC", "UE"}, {"\xC3\x84", "AE"},
        {"\xC3\x96", "OE"}, {"\xC3\x9C", "UE"}, {"\xC3\x9F", "SS"},
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool spelt = false;
        for (const auto& [from, to] : kSpelt)
            if (text.compare(i, 2, from) == 0) {
                out += to;
                ++i;
                spelt = true;
                break;
            }
        if (spelt) continue;
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            out += c;
            out += text[++i];
        } else {
            out += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> screenTexts(int slot, bool german) {
    // Entries no screen shows stay empty (the terminator alone), so a stray
    // id draws nothing rather than a stand-in.
    std::vector<std::string> t(140);
    auto set = [&](int i, const std::string& s) { t[static_cast<size_t>(i)] = s; };
    if (slot == 0) {
        for (const Named& n : kSlot0) set(n.index, unescape(german ? n.german : n.english));
    } else {
        for (const Named& n : kSlot1) set(n.index, unescape(german ? n.german : n.english));
        for (int s = 0; s < 11; ++s) {
            const std::string k = std::to_string(s + 1);
            set(0x17 + s, (german ? "STUFE " : "STAGE ") + k);                       // record rows
            set(0x22 + s, (german ? "Stufe " : "Stage ") + k);                       // stage rows, intro lines
            set(0x67 + s, (german ? "Senke " : "Hollow ") + k);                      // stage names
            set(0x73 + s, german ? "Erreiche die andere Seite." : "Reach the far side.");  // goals
        }
        set(0x66, german ? "STUFE" : "STAGE");
        set(0x7F, german ? "ZIEL" : "GOAL");
        set(0x80, german ? "SONDERTEILE" : "SPECIAL ITEMS");
        set(0x81, german ? "Sammle alle f\xC3\xBCnf." : "Collect all five.");
        set(0x83, german ? "Ein verborgener Bonus!" : "A hidden bonus!");
        set(0x84, german ? "BONUS" : "BONUS");
        set(0x86, german ? "Demo-Version" : "Demo version");
    }
    // Every game text ends in the terminator, which is never shown.
    for (std::string& s : t) s = forDemoFont(s) + kTerm;
    return t;
}

std::vector<PackEntry> screenTextPackEntries() {
    return {
        {.payload = buildTextPack(0, screenTexts(0, false))},
        {.payload = buildTextPack(1, screenTexts(1, false)), .compress = true},
        {.payload = buildTextPack(0, screenTexts(0, true))},
        {.payload = buildTextPack(1, screenTexts(1, true)), .compress = true},
    };
}

std::vector<PackEntry> localizedScreenTextPackEntries() {
    std::vector<PackEntry> e = screenTextPackEntries();
    std::swap(e[0], e[2]);
    std::swap(e[1], e[3]);
    return e;
}

void addDemoScreens(std::vector<DemoEntry>& entries) {
    entries.push_back({kScreenTextPack, [] { return buildPack(screenTextPackEntries()).header; }});
    entries.push_back({kScreenTextPackGerman, [] { return buildPack(localizedScreenTextPackEntries()).header; }});
}

}  // namespace kit
