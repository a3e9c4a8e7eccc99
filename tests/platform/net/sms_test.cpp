// The text-message outbox: one complete spool file per message, nothing
// half-written, and no service when the outbox cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/net/sms.h"

namespace fs = std::filesystem;
namespace pnet = bramble::platform::net;

namespace {

class Outbox : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_root = fs::current_path() / "sms-device" / name;
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        m_savedRoot = std::getenv("BRAMBLE_DEVICE_ROOT") ? std::getenv("BRAMBLE_DEVICE_ROOT") : "";
        ::setenv("BRAMBLE_DEVICE_ROOT", m_root.c_str(), 1);
    }
    void TearDown() override {
        ::setenv("BRAMBLE_DEVICE_ROOT", m_savedRoot.c_str(), 1);
        fs::permissions(m_root, fs::perms::owner_all, fs::perm_options::add);
        if (fs::exists(m_root / "sms-outbox"))
            fs::permissions(m_root / "sms-outbox", fs::perms::owner_all, fs::perm_options::add);
    }

    std::vector<fs::path> files() const {
        std::vector<fs::path> out;
        if (fs::is_directory(m_root / "sms-outbox"))
            for (const auto& entry : fs::directory_iterator(m_root / "sms-outbox")) out.push_back(entry.path());
        std::sort(out.begin(), out.end());
        return out;
    }

    static std::string contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path m_root;
    std::string m_savedRoot;
};

}  // namespace

TEST_F(Outbox, EachMessageIsOneCompleteFile) {
    std::error_code error;
    auto service = pnet::SmsService::open(error);
    ASSERT_NE(service, nullptr) << error.message();
    EXPECT_EQ(pnet::SmsService::outboxFolder(), m_root / "sms-outbox");
    EXPECT_TRUE(files().empty());  // opening leaves nothing behind

    pnet::SmsMessage first{u"+15550100", u"Hello,\nw\u00f6rld \U0001F600", 1, pnet::SmsDataEncoding::Optimal};
    pnet::SmsMessage second{u"+15550101", u"", 1, pnet::SmsDataEncoding::Optimal};
    ASSERT_TRUE(service->send(first, error)) << error.message();
    ASSERT_TRUE(service->send(second, error)) << error.message();

    auto spooled = files();
    ASSERT_EQ(spooled.size(), 2u);
    for (const fs::path& file : spooled) {
        EXPECT_EQ(file.filename().string().substr(0, 4), "sms-");
        EXPECT_EQ(file.extension(), ".txt");
    }
    EXPECT_EQ(contents(spooled[0]),
              "address: +15550100\nclass: 1\nencoding: optimal\nlength: 18\n\nHello,\nw\xC3\xB6rld \xF0\x9F\x98\x80");
    EXPECT_EQ(contents(spooled[1]), "address: +15550101\nclass: 1\nencoding: optimal\nlength: 0\n\n");
}

TEST_F(Outbox, AnAddressWithALineBreakIsRefusedAndLeavesNothing) {
    std::error_code error;
    auto service = pnet::SmsService::open(error);
    ASSERT_NE(service, nullptr);
    EXPECT_FALSE(service->send({u"+1555\naddress: +1666", u"x", 1, pnet::SmsDataEncoding::Optimal}, error));
    EXPECT_EQ(error, std::errc::invalid_argument);
    EXPECT_TRUE(files().empty());
}

TEST_F(Outbox, OpeningFailsWhenTheOutboxCannotBeWritten) {
    std::error_code error;
    // The outbox's name is taken by a file.
    std::ofstream(m_root / "sms-outbox") << "in the way";
    EXPECT_EQ(pnet::SmsService::open(error), nullptr);
    EXPECT_TRUE(error);

    // The device root itself is a file.
    fs::path fileRoot = m_root / "plain-file";
    std::ofstream(fileRoot) << "x";
    ::setenv("BRAMBLE_DEVICE_ROOT", fileRoot.c_str(), 1);
    EXPECT_EQ(pnet::SmsService::open(error), nullptr);
    EXPECT_TRUE(error);
}

TEST_F(Outbox, OpeningFailsOnAReadOnlyOutbox) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::create_directories(m_root / "sms-outbox");
    fs::permissions(m_root / "sms-outbox", fs::perms::owner_read | fs::perms::owner_exec);
    std::error_code error;
    EXPECT_EQ(pnet::SmsService::open(error), nullptr);
    EXPECT_EQ(error, std::errc::permission_denied);
}

TEST_F(Outbox, WithoutADeviceRootTheUserDataFolderIsUsed) {
    const char* savedData = std::getenv("XDG_DATA_HOME");
    std::string saved = savedData ? savedData : "";
    ::unsetenv("BRAMBLE_DEVICE_ROOT");
    ::setenv("XDG_DATA_HOME", m_root.c_str(), 1);
    EXPECT_EQ(pnet::SmsService::outboxFolder(), m_root / "bramble-hollow" / "device" / "sms-outbox");
    if (savedData)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
