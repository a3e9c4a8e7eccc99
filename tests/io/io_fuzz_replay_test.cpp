// The fuzz targets over the content kit's damaged variants of valid files
// and over seeded random bytes: every reader keeps its promises (this runs
// in every build; the libFuzzer programs explore further under clang).
#include <gtest/gtest.h>

#include <random>

#include "tests/io/fuzz/fuzz_targets.h"
#include "tools/kit/archive.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo.h"
#include "tools/kit/jad.h"
#include "tools/kit/recordstore.h"

namespace {

using Target = bool (*)(const uint8_t*, size_t);

void replay(Target target, kit::FileKind kind, const kit::Bytes& valid) {
    EXPECT_TRUE(target(valid.data(), valid.size())) << "the valid file";
    kit::DamageOptions options;
    options.randomFlips = 64;
    for (const kit::DamagedFile& d : kit::damageFile(kind, valid, options)) {
        EXPECT_TRUE(target(d.bytes.data(), d.bytes.size())) << d.name;
    }
    std::mt19937 rng(77);
    for (int i = 0; i < 500; ++i) {
        kit::Bytes bytes(rng() % 96);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng() % 4 == 0 ? rng() : rng() % 8);
        EXPECT_TRUE(target(bytes.data(), bytes.size())) << "random input " << i;
    }
}

class FuzzReplay : public testing::Test {
protected:
    void SetUp() override { iofuzz::quietLog(); }
};

}  // namespace

TEST_F(FuzzReplay, ArchiveIndex) {
    kit::ArchiveWriter archive;
    for (int i = 0; i < 8; ++i) archive.add("e" + std::to_string(i), std::vector<uint8_t>(static_cast<size_t>(i * 9), 1));
    archive.addUnchecked(u"E3", {2});
    archive.addUnchecked(u"/lead", {3});  // a stored name may itself begin with '/'
    replay(&iofuzz::archiveIndex, kit::FileKind::Archive, archive.build());
    replay(&iofuzz::archiveIndex, kit::FileKind::Archive, kit::buildDemoArchive());
}

TEST_F(FuzzReplay, RecordIndex) {
    replay(&iofuzz::recordIndex, kit::FileKind::RecordIndex, kit::encodeRecordIndex({12, {1, 5, 7, 12}}));
    replay(&iofuzz::recordIndex, kit::FileKind::RecordIndex, kit::encodeRecordIndex({0, {}}));
}

TEST_F(FuzzReplay, Descriptor) {
    replay(&iofuzz::descriptor, kit::FileKind::Jad,
           kit::encodeJad({{"MIDlet-Name", "Bramble"}, {"Url", "a:b"}, {"K", ""}}, "\r\n"));
    const std::string odd = " a : b \n\n:\nno colon\r\nk:v\r\rx";
    EXPECT_TRUE(iofuzz::descriptor(reinterpret_cast<const uint8_t*>(odd.data()), odd.size()));
}
