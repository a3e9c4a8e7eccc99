// The kit's loading table and condition file writers, the assembler and
// the WAVE and MIDI writers.
#include <gtest/gtest.h>

#include "tools/kit/damage.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/loading.h"
#include "tools/kit/sound.h"

namespace {

using namespace kit;

TEST(KitLoading, TableRoundTripsAndUnusedRecordsAreNoOps) {
    LoadTable t;
    t[5] = {19, 10, 3, -2, 7, 300};
    const Bytes b = encodeLoadingTable(t);
    ASSERT_EQ(b.size(), 4200u);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[7], 255);
    const Bytes rec(b.begin() + 50, b.begin() + 60);
    EXPECT_EQ(rec, (Bytes{19, 10, 3, 0xFF, 0xFF, 0xFF, 0xFE, 7, 0x01, 0x2C}));
    const LoadTable back = parseLoadingTable(b);
    EXPECT_EQ(back[5].param, -2);
    EXPECT_EQ(back[5].resource, 300);
    EXPECT_THROW(parseLoadingTable(ByteSpan(b.data(), b.size() - 1)), KitError);
    const LoadTable text = parseLoadingTableText("# comment\n5 19 10 3 -2 7 300\n 6 1 0x6b 0 0 18 0  # sprite\n");
    EXPECT_EQ(encodeLoadingTable(text)[50], 19);
    EXPECT_EQ(text[6].slot, 107);
    EXPECT_THROW(parseLoadingTableText("420 3 0 0 0 255 0"), KitError);
    EXPECT_THROW(parseLoadingTableText("1 3 0 0"), KitError);
    EXPECT_THROW(parseLoadingTableText("1 1 300 0 0 0 0"), KitError);
}

TEST(KitLoading, AssemblerAndConditionFile) {
    const Bytes p = assembleCondition("req 0; push 4; eq; group 2; or; op 25");
    EXPECT_EQ(p, (Bytes{4, 0, 0, 0, 0, 2, 0, 0, 0, 4, 14, 6, 0, 0, 0, 2, 9, 25}));
    EXPECT_EQ(disassembleCondition(p), "req 0 push 4 eq group 2 or op 25");
    EXPECT_THROW(assembleCondition("push"), KitError);
    EXPECT_THROW(assembleCondition("frobnicate"), KitError);
    std::vector<Bytes> programs(36, assembleCondition("push 1"));
    const Bytes file = encodeConditionFile(programs, 77);
    EXPECT_EQ(file.size(), 4u + 36 * (4 + 5));
    EXPECT_EQ(parseConditionFile(file), programs);
    EXPECT_THROW(parseConditionFile(ByteSpan(file.data(), file.size() - 1)), KitError);
    EXPECT_THROW(encodeConditionFile(std::vector<Bytes>(35)), KitError);
}

TEST(KitLoading, DamagedVariantsAreReadableAsDifferentFiles) {
    const Bytes table = encodeLoadingTable(demoLoadingTable());
    const Bytes conditions = encodeConditionFile(demoConditionPrograms());
    const auto t = damageFile(FileKind::LoadingTable, table);
    const auto c = damageFile(FileKind::Conditions, conditions);
    EXPECT_GT(t.size(), 5u);
    EXPECT_GT(c.size(), 5u);
    for (const DamagedFile& d : t) EXPECT_NE(d.bytes, table) << d.name;
    for (const DamagedFile& d : c) EXPECT_NE(d.bytes, conditions) << d.name;
    EXPECT_EQ(damageFile(FileKind::Conditions, conditions).size(), c.size());  // deterministic
}

TEST(KitSound, WaveAndMidiHeaders) {
    const Bytes w = buildWave(8000, 440, 100);
    ASSERT_EQ(w.size(), 44u + 800u);
    EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
    const Bytes m = buildMidi({{60, 100, 200}});
    EXPECT_EQ(std::string(m.begin(), m.begin() + 4), "MThd");
    EXPECT_EQ(std::string(m.begin() + 14, m.begin() + 18), "MTrk");
    // Delta 200 is two bytes of variable length: 0x81 0x48.
    const Bytes track(m.begin() + 22, m.end());
    EXPECT_EQ(track, (Bytes{0, 0x90, 60, 100, 0x81, 0x48, 0x80, 60, 0, 0, 0xFF, 0x2F, 0}));
    EXPECT_THROW(buildMidi({{128, 1, 1}}), KitError);
}

}  // namespace
