// Text messages through the Java objects: one send makes exactly one complete
// spool file; a null payload makes none; an unusable outbox or address shows
// its error box (headless: logged) and writes nothing; message fields
// survive collections.
#include "tests/net/java_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "net/message_connection.h"

namespace fs = std::filesystem;
using namespace bramble::test;

namespace {

const std::string kCannotOpen = "Sending SMS...|Cannot open SMS Service window";
const std::string kSendError = "Sending SMS...|Error sending SMS";

class MessageConnection : public JavaNetTest {
protected:
    void SetUp() override {
        JavaNetTest::SetUp();
        const char* root = std::getenv("BRAMBLE_DEVICE_ROOT");
        ASSERT_NE(root, nullptr);
        m_outbox = fs::path(root) / "sms-outbox";
        fs::create_directories(root);
        fs::remove_all(m_outbox);
    }
    void TearDown() override {
        fs::remove_all(m_outbox);
        JavaNetTest::TearDown();
    }

    // Every file of the outbox (hidden temporaries included), contents sorted.
    std::vector<std::string> outbox() const {
        std::vector<std::string> files;
        if (!fs::is_directory(m_outbox)) return files;
        for (const auto& entry : fs::directory_iterator(m_outbox)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream s;
            s << in.rdbuf();
            files.push_back(s.str());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    javax_wireless_messaging_MessageConnection* messages(Object* connection) {
        return view<javax_wireless_messaging_MessageConnection>(connection,
                                                               cid::javax_wireless_messaging_MessageConnection);
    }
    javax_wireless_messaging_TextMessage* textView(Object* message) {
        return view<javax_wireless_messaging_TextMessage>(message, cid::javax_wireless_messaging_TextMessage);
    }
    String* textType() { return StaticClass::getStringConstant(kTextTypeEntry); }

    fs::path m_outbox;
};

TEST_F(MessageConnection, OneSendMakesOneCompleteSpoolFile) {
    Object* connection = open("sms://+15550100:5000");
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->classId(), cid::javax_wireless_messaging_MessageConnectionImpl);
    javax_wireless_messaging_MessageConnection* c = messages(connection);
    ASSERT_NE(c, nullptr);

    Object* message = c->newMessage(jstr("text"));  // equal to pool entry 89, not the same String
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->classId(), cid::javax_wireless_messaging_TextMessageImpl);
    javax_wireless_messaging_TextMessage* t = textView(message);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(view<javax_wireless_messaging_Message>(message, cid::javax_wireless_messaging_Message),
              static_cast<javax_wireless_messaging_Message*>(t));
    EXPECT_EQ(text(t->getAddress()), "sms://+15550100:5000");
    EXPECT_EQ(t->getTimestamp(), nullptr);
    EXPECT_EQ(t->getPayloadText(), nullptr);
    t->setPayloadText(String::fromUtf8("Grüße 1/2"));

    c->send(message);
    EXPECT_EQ(takeException(), 0);
    const std::string body = "Grüße 1/2";
    EXPECT_EQ(outbox(), std::vector<std::string>{"address: +15550100\nclass: 1\nencoding: optimal\nlength: " +
                                                 std::to_string(body.size()) + "\n\n" + body});
    EXPECT_TRUE(PlatformLogCapture::boxes().empty());

    c->send(message);
    EXPECT_EQ(outbox().size(), 2u);
    c->close();
}

TEST_F(MessageConnection, MessageTypesAndAddresses) {
    javax_wireless_messaging_MessageConnection* c = messages(open("sms://+15550100"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->newMessage(jstr("binary")), nullptr);
    EXPECT_EQ(c->newMessage(jstr("multipart")), nullptr);
    EXPECT_EQ(c->newMessage(nullptr), nullptr);
    EXPECT_EQ(c->receive(), nullptr);
    EXPECT_EQ(c->numberOfSegments(nullptr), -1);

    // newMessage(type, address) makes the address the connection's own.
    Object* first = c->newMessage(textType(), jstr("sms://+15550111"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(text(textView(first)->getAddress()), "sms://+15550111");
    EXPECT_EQ(c->numberOfSegments(first), -1);
    Object* second = c->newMessage(textType());
    EXPECT_EQ(text(textView(second)->getAddress()), "sms://+15550111");
    // A binary request with an address still changes the address.
    EXPECT_EQ(c->newMessage(jstr("binary"), jstr("+15550122")), nullptr);
    Object* third = c->newMessage(textType());
    EXPECT_EQ(text(textView(third)->getAddress()), "+15550122");

    // The message's own address is not what a send uses: the connection's is.
    textView(third)->setAddress(jstr("+19999999"));
    textView(third)->setPayloadText(jstr("x"));
    c->send(third);
    ASSERT_EQ(outbox().size(), 1u);
    EXPECT_EQ(outbox()[0].rfind("address: +15550122\n", 0), 0u);
}

TEST_F(MessageConnection, NothingToSendMakesNothing) {
    javax_wireless_messaging_MessageConnection* c = messages(open("sms://+15550100"));
    Object* message = c->newMessage(textType());
    c->send(message);  // null payload
    c->send(nullptr);
    EXPECT_TRUE(m_log.contains("NullPointer"));
    c->send(newObject<Object>(cid::Object));  // not a text message
    EXPECT_EQ(takeException(), 0);
    EXPECT_FALSE(fs::exists(m_outbox));
    EXPECT_TRUE(PlatformLogCapture::boxes().empty());
}

TEST_F(MessageConnection, UnwritableOutboxShowsCannotOpen) {
    std::ofstream(m_outbox) << "a file where the folder should be";
    javax_wireless_messaging_MessageConnection* c = messages(open("sms://+15550100"));
    Object* message = c->newMessage(textType());
    textView(message)->setPayloadText(jstr("hello"));
    c->send(message);
    EXPECT_EQ(takeException(), 0);  // the caller is told nothing
    EXPECT_EQ(PlatformLogCapture::boxes(), std::vector<std::string>{kCannotOpen});
    EXPECT_TRUE(fs::is_regular_file(m_outbox));
    fs::remove(m_outbox);
}

TEST_F(MessageConnection, UnusableAddressesShowSendErrorAndWriteNothing) {
    const std::string tooLong = "sms://" + std::string(257, '7');
    const std::string longest = "sms://" + std::string(256, '7');
    for (const std::string& address : {tooLong, std::string("sms://"), std::string("sms://+1555\n0100")}) {
        javax_wireless_messaging_MessageConnection* c = messages(open(address.c_str()));
        Object* message = c->newMessage(textType());
        textView(message)->setPayloadText(jstr("hi"));
        c->send(message);
    }
    EXPECT_EQ(PlatformLogCapture::boxes(), std::vector<std::string>(3, kSendError));
    EXPECT_TRUE(outbox().empty());

    // The longest address that fits goes out whole, and the service works on.
    PlatformLogCapture::clear();
    javax_wireless_messaging_MessageConnection* c = messages(open(longest.c_str()));
    Object* message = c->newMessage(textType());
    textView(message)->setPayloadText(jstr("hi"));
    c->send(message);
    ASSERT_EQ(outbox().size(), 1u);
    EXPECT_EQ(outbox()[0].rfind("address: " + std::string(256, '7') + "\n", 0), 0u);
    EXPECT_TRUE(PlatformLogCapture::boxes().empty());
}

// Builds a connection and a message whose Strings are reachable only through
// the objects' fields, then drops every other reference.
void buildOnly(void* out) {
    auto* objects = static_cast<Object**>(out);
    Object* connection = bramble::net::openConnection(String::fromUtf8("sms://+15550100"), 3, 0);
    auto* c = interfaceOf<javax_wireless_messaging_MessageConnection>(connection,
                                                                     cid::javax_wireless_messaging_MessageConnection);
    Object* message = c->newMessage(StaticClass::getStringConstant(89));
    interfaceOf<javax_wireless_messaging_TextMessage>(message, cid::javax_wireless_messaging_TextMessage)
        ->setPayloadText(String::fromUtf8("kept by the field"));
    objects[0] = connection;
    objects[1] = message;
}

TEST_F(MessageConnection, FieldsKeepTheirObjectsAcrossCollections) {
    rt::GlobalRef connection, message;
    Object* built[2] = {};
    runOnJavaThread(&buildOnly, built);
    connection.set(built[0]);
    message.set(built[1]);
    built[0] = built[1] = nullptr;
    // Churn so that freed blocks would be reused and overwritten.
    for (int round = 0; round < 3; ++round) {
        collect();
        for (int i = 0; i < 200; ++i) String::fromUtf8("garbage garbage garbage garbage");
    }
    collect();
    auto* t = textView(message.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(text(t->getPayloadText()), "kept by the field");
    EXPECT_EQ(text(t->getAddress()), "sms://+15550100");
    messages(connection.get())->send(message.get());
    ASSERT_EQ(outbox().size(), 1u);
    EXPECT_NE(outbox()[0].find("kept by the field"), std::string::npos);
}

}  // namespace
