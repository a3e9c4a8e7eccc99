// Images by resource name: archive entries and ".bar" files decode into
// immutable images; a missing name or bytes that are not a PNG give null
// with a logged line.
#include "display/lcdui/lcdui.h"
#include "tests/display/png_writer.h"
#include "tests/io/io_fixture.h"

namespace {

using Image = javax_microedition_lcdui_Image;

class LcduiResource : public iotest::IoTest {
protected:
    void SetUp() override {
        IoTest::SetUp();
        // Again, with the lcdui static fields beside the io ones.
        Application::instance()->close();
        m_statics.push_back(lcdui::staticsContribution());
        Application::Config config;
        config.objectHeapSize = 2 << 20;
        config.dataHeapSize = 8 << 20;
        config.statics = &m_statics;
        Application::init(config);
    }
};

std::vector<uint8_t> smallPng(int red) {
    return display::test::writePng({3, 2, 2, 8, false, [red](int x, int y) {
                                        return std::vector<int>{red, x * 80, y * 80};
                                    }});
}

TEST_F(LcduiResource, NamedResourcesDecodeIntoImmutableImages) {
    kit::ArchiveWriter archive;
    archive.add("title.png", smallPng(200));
    archive.add("broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    writeArchive(archive);
    writeAppFile("extra.bar", smallPng(40));

    Image* title = Image::createImage(iotest::str("/title.png"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->getWidth(), 3);
    EXPECT_EQ(title->getHeight(), 2);
    EXPECT_FALSE(title->isMutable());
    EXPECT_EQ(title->surface().at16(2, 1), display::rgb565(200u << 16 | 160u << 8 | 80u));

    const std::string extraPath = std::string(platform::fs::kAppFolder) + "\\extra.bar";
    Image* extra = Image::createImage(iotest::str(extraPath.c_str()));
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->surface().at16(0, 0), display::rgb565(40u << 16));

    m_log.clear();
    EXPECT_EQ(Image::createImage(iotest::str("missing.png")), nullptr);
    EXPECT_TRUE(m_log.contains("Image::createImage: no resource missing.png"));
    m_log.clear();
    EXPECT_EQ(Image::createImage(iotest::str("broken.png")), nullptr);
    EXPECT_TRUE(m_log.contains("Image::createImage"));
    m_log.clear();
    EXPECT_EQ(Image::createImage(static_cast<String*>(nullptr)), nullptr);
    EXPECT_TRUE(m_log.contains("NullPointer"));
    EXPECT_EQ(Application::pendingException(), nullptr);
}

}  // namespace
