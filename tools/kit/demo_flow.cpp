// The game flow's demo content (demo_flow.h).
#include "tools/kit/demo_flow.h"

#include "tools/kit/demo_screens.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/sound.h"
#include "tools/kit/stringpool.h"

namespace kit {

namespace {

constexpr int kGroupLogo = 0;  // load request kind 2
constexpr int kGroupMenu = 1;  // load request kind 4
constexpr int kGroupAny = 2;   // either of them
constexpr int kGroupLevel = 4; // load request kind 5, any stage (3 is the world stage's)

struct PoolText {
    size_t index;
    const char* text;
};
constexpr PoolText kPoolTexts[] = {
    {88, "MIDlet-Version"}, {109, "sound channel "}, {110, " "},           {112, "loading.bin"},
    {113, "groups.bin"},    {114, " (level data)"},  {115, "Loading step "}, {116, " failed"},
    {117, "types.bin"},
};

LoadRecord rec(int opcode, int slot, int group, int32_t param, int pack, int resource) {
    return LoadRecord{opcode, slot, group, param, pack, resource};
}

Bytes titleMusic() { return buildMidi({{60, 90, 48}, {64, 90, 48}, {67, 90, 96}, {72, 80, 192}}); }

// Short phrases for the jingles and the stages' music (ids 1-9), each its
// own key, rhythm and shape, so no two sound alike.
Bytes phrase(int id) {
    static const int kRoots[] = {0, 72, 48, 67, 57, 62, 55, 64, 50, 59};
    static const int kSteps[][8] = {
        {0, 0, 0, 0, 0, 0, 0, 0},     {0, 4, 7, 12, 7, 12, 16, 24},  {0, -1, -3, -5, -6, -8, -10, -12},
        {0, 7, 4, 12, 0, 7, 4, 12},   {0, 3, 7, 10, 7, 3, 0, -5},    {0, 4, 7, 12, 11, 7, 4, 2},
        {0, 2, 3, 5, 7, 5, 3, 2},     {0, 7, 5, 4, 2, 4, 5, 7},      {0, -2, -4, -5, -7, -5, -2, 0},
        {0, 5, 9, 12, 9, 5, 2, 0},
    };
    std::vector<MidiNote> notes;
    for (int k = 0; k < 8; ++k) {
        const int ticks = id <= kDemoLastJingle ? 24 : id % 3 == 0 ? (k % 2 ? 24 : 72) : id % 3 == 1 ? 48 : (k == 7 ? 144 : 36);
        notes.push_back({kRoots[id] + kSteps[id][k], 70 + 5 * (k % 4), ticks});
    }
    return buildMidi(notes, 96);
}

// An effect: its own pitch and length.
Bytes effectSound(int id) { return buildWave(8000, 220 + 40 * (id - kDemoFirstEffect), 60 + 10 * (id % 5)); }

std::vector<PackEntry> soundPack() {
    // Entry k is sound id k; entry types index the content-type table: 0
    // MIDI, 1 WAVE.
    std::vector<PackEntry> pack;
    pack.push_back({.payload = titleMusic(), .type = 0});
    for (int id = 1; id < kDemoFirstEffect; ++id) pack.push_back({.payload = phrase(id), .type = 0});
    for (int id = kDemoFirstEffect; id < kDemoSoundIds; ++id) pack.push_back({.payload = effectSound(id), .type = 1});
    return pack;
}

}  // namespace

LoadTable demoLoadingTable() {
    LoadTable t;
    // Logo data: the character map and the font.
    t[10] = rec(16, 0, kGroupLogo, 0, 0, 3);
    // Sprite parameter 1: module images built for every palette (mode 1).
    t[11] = rec(2, 0, kGroupLogo, 1, 0, 0);
    // The logos (sprites 113 and 114) drawn by the first screens.
    t[12] = rec(1, 113, kGroupLogo, 1, 18, 1);
    t[13] = rec(1, 114, kGroupLogo, 1, 18, 2);
    // Menu data: buffers and actor pool, character map, font, texts, math
    // tables, the title music (id 0) and an effect (id 10), the loading
    // indicator sprite.
    t[20] = rec(0, 0, kGroupMenu, 0, 255, 0);
    t[21] = rec(16, 0, kGroupMenu, 0, 0, 3);
    t[22] = rec(2, 0, kGroupMenu, 1, 0, 0);
    // Fonts 1 and 2 (menu labels, captions).
    t[35] = rec(2, 1, kGroupMenu, 1, 0, 1);
    t[36] = rec(2, 2, kGroupMenu, 1, 0, 2);
    // The screens' texts: slot 0 and slot 1, English.
    t[23] = rec(4, 0, kGroupAny, 0, kScreenTextPackNumber, 1);
    t[28] = rec(4, 0, kGroupAny, 0, kScreenTextPackNumber, 0);
    t[24] = rec(5, 0, kGroupMenu, 0, 1, 0);
    t[25] = rec(19, 0, kGroupMenu, 0x3, 3, 0);
    // The jingles and the effects (sound id = pack entry), made when first
    // played.
    for (int id = kDemoFirstJingle, i = kDemoSoundFirstRecord; id < kDemoSoundIds; ++id) {
        if (id >= kDemoFirstMusic && id <= kDemoLastMusic) continue;
        t[size_t(i++)] = rec(19, id, kGroupMenu, 0x10000, 3, id);
    }
    t[27] = rec(1, 107, kGroupMenu, 1, 18, 0);
    // The screens' other sprites: title and backgrounds (117), corner
    // buttons (112), dialog panels (105, 106), effects (111).
    t[29] = rec(1, 117, kGroupMenu, 1, 18, 3);
    // The progress record, read (or made) once with the menu data.
    t[34] = rec(20, 0, kGroupMenu, 0, 255, 0);
    t[30] = rec(1, 112, kGroupMenu, 1, 18, 13);
    t[31] = rec(1, 105, kGroupMenu, 1, 18, 5);
    t[32] = rec(1, 106, kGroupMenu, 1, 18, 6);
    t[33] = rec(1, 111, kGroupMenu, 1, 18, 7);
    // A level load keeps what play and the level-end screens draw: fonts,
    // the screens' texts and sprites (steps find them present and do nothing).
    t[39] = rec(16, 0, kGroupLevel, 0, 0, 3);
    t[40] = rec(2, 0, kGroupLevel, 1, 0, 0);
    t[41] = rec(2, 1, kGroupLevel, 1, 0, 1);
    t[42] = rec(2, 2, kGroupLevel, 1, 0, 2);
    t[43] = rec(4, 0, kGroupLevel, 0, kScreenTextPackNumber, 0);
    t[44] = rec(4, 0, kGroupLevel, 0, kScreenTextPackNumber, 1);
    t[45] = rec(1, 107, kGroupLevel, 1, 18, 0);
    t[46] = rec(1, 112, kGroupLevel, 1, 18, 13);
    t[47] = rec(1, 105, kGroupLevel, 1, 18, 5);
    t[48] = rec(1, 106, kGroupLevel, 1, 18, 6);
    // The collect counter's icon: the heads-up sprite again, in slot 0 (the
    // levels name no item of their own).
    t[59] = rec(1, 0, kGroupLevel, 1, 18, 1);
    // Start-up steps run directly by the first states; the loading picture's
    // step is also needed by a level load (the intro and the results draw
    // the picture; a step a load does not need is undone, the picture
    // dropped).
    t[413] = rec(21, 0, 35, 0, 255, 0);
    t[414] = rec(22, 0, kGroupLevel, 0, 255, 0);
    return t;
}

std::vector<Bytes> demoConditionPrograms() {
    std::vector<Bytes> p(kLoadGroups, assembleCondition("push 0"));
    p[kGroupLogo] = assembleCondition("req 0; push 2; eq");
    p[kGroupMenu] = assembleCondition("req 0; push 4; eq");
    p[kGroupAny] = assembleCondition("group 0; group 1; or");
    p[kGroupLevel] = assembleCondition("req 0; push 5; eq");
    return p;
}

void addDemoFlow(std::vector<DemoEntry>& out) {
    out.push_back({"loading.bin", [] { return encodeLoadingTable(demoLoadingTable()); }});
    out.push_back({"groups.bin", [] { return encodeConditionFile(demoConditionPrograms()); }});
    out.push_back({"pack3", [] { return buildPack(soundPack()).header; }});
}

void addDemoFlowPool(StringPool& pool) {
    for (const PoolText& t : kPoolTexts) {
        const std::u16string want = utf8ToUtf16(t.text);
        if (t.index < pool.size() && !pool[t.index].empty() && pool[t.index] != want)
            throw KitError("string pool entry " + std::to_string(t.index) + " already holds another text");
        setPoolEntry(pool, t.index, t.text);
    }
}

}  // namespace kit
