// The game flow's demo content (demo_flow.h).
#include "tools/kit/demo_flow.h"

#include "tools/kit/gamedata.h"
#include "tools/kit/sound.h"
#include "tools/kit/stringpool.h"

namespace kit {

namespace {

constexpr int kGroupLogo = 0;  // load request kind 2
constexpr int kGroupMenu = 1;  // load request kind 4
constexpr int kGroupAny = 2;   // either of them

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
Bytes effectSound() { return buildWave(8000, 440, 120); }

std::vector<PackEntry> soundPack() {
    // Entry types index the content-type table: 0 MIDI, 1 WAVE.
    return {{.payload = titleMusic(), .type = 0}, {.payload = effectSound(), .type = 1}};
}

}  // namespace

LoadTable demoLoadingTable() {
    LoadTable t;
    // Logo data: the character map and the font.
    t[10] = rec(16, 0, kGroupLogo, 0, 0, 3);
    t[11] = rec(2, 0, kGroupLogo, 0, 0, 0);
    // Menu data: buffers and actor pool, character map, font, texts, math
    // tables, the title music (id 0) and an effect (id 10), the loading
    // indicator sprite.
    t[20] = rec(0, 0, kGroupMenu, 0, 255, 0);
    t[21] = rec(16, 0, kGroupMenu, 0, 0, 3);
    t[22] = rec(2, 0, kGroupMenu, 0, 0, 0);
    t[23] = rec(4, 0, kGroupAny, 0, 0, 6);
    t[24] = rec(5, 0, kGroupMenu, 0, 1, 0);
    t[25] = rec(19, 0, kGroupMenu, 0x3, 3, 0);
    t[26] = rec(19, 10, kGroupMenu, 0x10000, 3, 1);
    t[27] = rec(1, 107, kGroupMenu, 0, 18, 0);
    // Start-up steps run directly by the first states.
    t[413] = rec(21, 0, 35, 0, 255, 0);
    t[414] = rec(22, 0, 35, 0, 255, 0);
    return t;
}

std::vector<Bytes> demoConditionPrograms() {
    std::vector<Bytes> p(kLoadGroups, assembleCondition("push 0"));
    p[kGroupLogo] = assembleCondition("req 0; push 2; eq");
    p[kGroupMenu] = assembleCondition("req 0; push 4; eq");
    p[kGroupAny] = assembleCondition("group 0; group 1; or");
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
