// Device paths map into the device root without regard to case and never
// leave it.
#include "soundpump/device_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using soundpump::deviceRoot;
using soundpump::mapDevicePath;

TEST(DevicePath, MapsWithoutRegardToCaseInsideTheRoot) {
    const std::string root = deviceRoot();
    ASSERT_EQ(root, std::getenv("BRAMBLE_DEVICE_ROOT"));
    fs::create_directories(root + "/Docs");
    std::ofstream(root + "/Docs/Sound1.MID") << "x";

    struct Case {
        const char* device;
        std::optional<std::string> host;
    };
    const Case cases[] = {
        {"\\docs\\sound1.mid", root + "/Docs/Sound1.MID"},
        {"/DOCS/SOUND1.mid", root + "/Docs/Sound1.MID"},
        {"\\docs\\\\sound1.mid", root + "/Docs/Sound1.MID"},
        {"\\docs\\sound2.mid", root + "/Docs/sound2.mid"},  // not there: kept as given
        {"\\new\\a.amr", root + "/new/a.amr"},
        {"\\docs\\..\\..\\etc\\passwd", std::nullopt},
        {"..", std::nullopt},
        {"\\docs\\.\\sound1.mid", std::nullopt},
        {"", std::nullopt},
        {"\\\\", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(mapDevicePath(c.device), c.host);
    }
}
