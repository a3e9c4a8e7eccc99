// Sending text messages: one send, one complete spool file; nothing for a
// missing payload; the user's error boxes when the outbox is unusable or a
// message cannot be stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "net/hooks.h"
#include "net/text_message.h"

namespace fs = std::filesystem;
using namespace bramble::net;

namespace {

using Box = std::pair<std::u16string, std::u16string>;  // text, caption

class TextMessages : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_root = fs::current_path() / "sms-device" / name;
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        const char* saved = std::getenv("BRAMBLE_DEVICE_ROOT");
        m_savedRoot = saved ? saved : "";
        ::setenv("BRAMBLE_DEVICE_ROOT", m_root.c_str(), 1);
        setErrorBoxHook([this](std::u16string_view text, std::u16string_view caption) {
            std::lock_guard lock(m_mutex);
            m_boxes.emplace_back(text, caption);
        });
        setLogHook([](std::string_view) {});
    }
    void TearDown() override {
        setErrorBoxHook(nullptr);
        setLogHook(nullptr);
        ::setenv("BRAMBLE_DEVICE_ROOT", m_savedRoot.c_str(), 1);
    }

    std::vector<std::string> spoolFiles() const {
        std::vector<std::string> out;
        if (fs::is_directory(m_root / "sms-outbox"))
            for (const auto& entry : fs::directory_iterator(m_root / "sms-outbox")) {
                std::ifstream in(entry.path(), std::ios::binary);
                std::stringstream s;
                s << in.rdbuf();
                out.push_back(s.str());
            }
        std::sort(out.begin(), out.end());
        return out;
    }

    std::vector<Box> boxes() {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

    fs::path m_root;
    std::string m_savedRoot;
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
};

const Box kCannotOpen{u"Cannot open SMS Service window", u"Sending SMS..."};
const Box kSendError{u"Error sending SMS", u"Sending SMS..."};

}  // namespace

TEST_F(TextMessages, OneSendMakesExactlyOneCompleteSpoolFile) {
    EXPECT_EQ(sendTextMessage(u"sms://+15550100:5000", u"See you at 8"), TextMessageOutcome::Sent);
    EXPECT_EQ(spoolFiles(), std::vector<std::string>{
                                "address: +15550100\nclass: 1\nencoding: optimal\nlength: 12\n\nSee you at 8"});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(TextMessages, AMissingPayloadOrAddressSendsNothing) {
    EXPECT_EQ(sendTextMessage(u"sms://+15550100", std::nullopt), TextMessageOutcome::NothingToSend);
    EXPECT_EQ(sendTextMessage(std::nullopt, u"text"), TextMessageOutcome::NothingToSend);
    EXPECT_FALSE(fs::exists(m_root / "sms-outbox"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(TextMessages, AnUnwritableOutboxShowsCannotOpen) {
    std::ofstream(m_root / "sms-outbox") << "a file where the folder should be";
    EXPECT_EQ(sendTextMessage(u"sms://+15550100", u"hi"), TextMessageOutcome::ServiceUnavailable);
    EXPECT_EQ(boxes(), std::vector<Box>{kCannotOpen});
}

TEST_F(TextMessages, UnstorableMessagesShowSendErrorAndTheServiceRecovers) {
    // A line break cannot be part of a destination.
    EXPECT_EQ(sendTextMessage(u"sms://+1555\n0100", u"hi"), TextMessageOutcome::SendFailed);
    // The destination record holds at most 256 characters.
    EXPECT_EQ(sendTextMessage(u"sms://" + std::u16string(257, u'7'), u"hi"), TextMessageOutcome::SendFailed);
    EXPECT_EQ(sendTextMessage(u"sms://", u"hi"), TextMessageOutcome::SendFailed);
    EXPECT_EQ(boxes(), std::vector<Box>(3, kSendError));
    EXPECT_TRUE(spoolFiles().empty());

    std::u16string longest(256, u'7');
    EXPECT_EQ(sendTextMessage(u"sms://" + longest, u"ok"), TextMessageOutcome::Sent);
    ASSERT_EQ(spoolFiles().size(), 1u);
    EXPECT_NE(spoolFiles()[0].find("address: " + std::string(256, '7') + "\n"), std::string::npos);
}

TEST(TextMessageAddress, DestinationOfAnAddress) {
    const std::pair<std::u16string, std::u16string> table[] = {
        {u"sms://+15550100", u"+15550100"}, {u"sms://+15550100:5000", u"+15550100"},
        {u"+15550100", u"+15550100"},       {u"SMS://5550100", u"5550100"},
        {u"sms://", u""},                   {u"", u""},
    };
    for (const auto& [address, destination] : table)
        EXPECT_EQ(smsDestinationAddress(address), destination) << toUtf8(address);
}
