// The MIDlet's descriptor and natives, the connection framework's converted
// parts with the file connection, and the audio clip over the media hooks.
#include <filesystem>

#include "io/audioclip.h"
#include "io/connection.h"
#include "io/file.h"
#include "io/midlet.h"
#include "javalib/hashtable.h"
#include "tools/kit/jad.h"
#include "tests/io/io_fixture.h"

using namespace iotest;

namespace {


std::u16string u16(const char* s) {
    std::u16string out;
    for (; *s; ++s) out.push_back(static_cast<unsigned char>(*s));
    return out;
}

}  // namespace

class MidletTest : public IoTest {
protected:
    void putJad(const std::string& text) {
        kit::ArchiveWriter archive;
        archive.add("app.jad", Bytes(text.begin(), text.end()));
        writeArchive(archive);
    }
    std::string property(javax_microedition_midlet_MIDlet* m, const char* key) {
        String* v = m->getAppProperty(str(key));
        return v ? toUtf8(v) : "<null>";
    }
    void TearDown() override {
        bramble::io::setPlatformRequestHandler(nullptr);
        bramble::io::setNotifyDestroyedHandler(nullptr);
        bramble::io::setConnectionOpener(nullptr);
        bramble::io::setAudioClipPlayerHooks({});
        IoTest::TearDown();
    }
};

TEST_F(MidletTest, DescriptorLinesBecomeProperties) {
    putJad("Name: Game\r\n\r\nnot a property\n  Url :  a:b  \nVersion: 1.0\nName: Again\n:empty key\nTail: last");
    auto* m = newObject<javax_microedition_midlet_MIDlet>();
    EXPECT_EQ(property(m, "Name"), "Again") << "a repeated key replaces the value";
    EXPECT_EQ(property(m, "Url"), "a:b") << "everything after the first ':'";
    EXPECT_EQ(property(m, "Version"), "1.0");
    EXPECT_EQ(property(m, "Tail"), "last");
    EXPECT_EQ(property(m, ""), "empty key");
    EXPECT_EQ(property(m, "not a property"), "<null>") << "a line without ':' is skipped";
    EXPECT_EQ(property(m, "\nnot a property\n  Url"), "<null>") << "never paired with a later colon";
    EXPECT_EQ(m->m_properties->size(), 5);
    EXPECT_EQ(takeException(), 0);
}

// A damaged descriptor of very many lines keeps a bounded number of
// properties and the program goes on.
TEST_F(MidletTest, DescriptorOfVeryManyLinesIsBounded) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "k" + std::to_string(i) + ": v\n";
    text += "k0: last\n";
    putJad(text);
    auto* m = newObject<javax_microedition_midlet_MIDlet>();
    EXPECT_EQ(m->m_properties->size(), static_cast<jint>(bramble::io::kMaxJadProperties));
    EXPECT_EQ(property(m, "k0"), "last") << "a kept key still takes a later value";
    EXPECT_EQ(property(m, "k99999"), "<null>");
    EXPECT_TRUE(m_log.contains("more than 1024 properties; 98976 line(s) dropped"));
    EXPECT_EQ(takeException(), 0);
}

TEST_F(MidletTest, ParserAgreesWithTheKit) {
    const std::vector<std::string> texts = {
        "Name: Game\r\nVersion: 1.0", "\n\n\nA:1\n\nB:2\n", "no colon at all", "x:\ny: \r\n:\n", "K: v1\nK: v2\nL:w",
        "MIDlet-1: Bramble, /icon.png, RavitBHSG\r\nMIDlet-Vendor: Tindrell\r\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const auto ours = bramble::io::parseJad(u16(text.c_str()));
        const auto theirs = kit::parseJad(kit::Bytes(text.begin(), text.end()));
        ASSERT_EQ(ours.size(), theirs.size());
        for (size_t i = 0; i < ours.size(); ++i) {
            EXPECT_EQ(ours[i].first, u16(theirs[i].first.c_str()));
            EXPECT_EQ(ours[i].second, u16(theirs[i].second.c_str()));
        }
    }
}

TEST_F(MidletTest, PlatformPropertyAndMissingDescriptor) {
    putJad("microedition.platform: other\n");
    auto* m = newObject<javax_microedition_midlet_MIDlet>();
    EXPECT_EQ(property(m, "microedition.platform"), "windows mobile");
    restartApp();
    writeArchive(kit::ArchiveWriter());
    auto* empty = newObject<javax_microedition_midlet_MIDlet>();
    EXPECT_EQ(empty->m_properties->size(), 0);
    EXPECT_EQ(property(empty, "Name"), "<null>");
    // A descriptor file beside the archive is not read.
    writeAppFile("app.jad", {'N', ':', '1'});
    EXPECT_EQ(property(newObject<javax_microedition_midlet_MIDlet>(), "N"), "<null>");
    javax_microedition_midlet_MIDlet::setRunning(m);
    EXPECT_EQ(javax_microedition_midlet_MIDlet::getRunning(), m);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(MidletTest, PlatformRequestAndNotifyDestroyedGoToTheShell) {
    putJad("");
    auto* m = newObject<javax_microedition_midlet_MIDlet>();
    EXPECT_EQ(m->platformRequest(str("http://example.com/")), 0);
    EXPECT_TRUE(m_log.contains("no browser hand-off"));
    std::string seen;
    bramble::io::setPlatformRequestHandler([&](const std::string& url) { seen = url; });
    EXPECT_EQ(m->platformRequest(String::fromUtf8("http://x/" + std::string(400, 'a'))), 0);
    EXPECT_EQ(seen.size(), 255u) << "at most 255 characters";
    int destroyed = 0;
    bramble::io::setNotifyDestroyedHandler([&] { ++destroyed; });
    javax_microedition_midlet_MIDlet::notifyDestroyed();
    EXPECT_EQ(destroyed, 1);
}

// --- connections --------------------------------------------------------------

TEST_F(MidletTest, FileConnectionMapsUrlsIntoTheAppFolder) {
    auto* c = javax_microedition_io_file_FileConnectionImpl::open(str("file:///Saves/slot1/a.dat"), 3, 0);
    EXPECT_EQ(toUtf8(c->m_fullPath), std::string(platform::fs::kAppFolder) + "\\\\Saves\\slot1\\a.dat");
    EXPECT_TRUE(std::filesystem::is_directory(appFolder() + "/Saves/slot1")) << "folders on the way are created";
    EXPECT_NE(c->getInterface(cid::javax_microedition_io_file_FileConnection), nullptr);
    EXPECT_NE(c->getInterface(cid::javax_microedition_io_Connection), nullptr);
    EXPECT_EQ(c->getInterface(cid::javax_microedition_io_InputConnection), nullptr);

    EXPECT_EQ(c->exists(), 0);
    EXPECT_EQ(c->fileSize(), -1);
    c->openInputStream();
    EXPECT_EQ(takeException(), cid::java_io_IOException) << "no file, no stream";
    c->create();
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(c->exists(), 1);
    auto* out = c->openDataOutputStream();
    ASSERT_NE(out, nullptr);
    out->writeInt(0x01020304);
    out->writeUTF(str("hi"));
    out->close();
    EXPECT_EQ(c->fileSize(), 8);
    auto* in = c->openDataInputStream();
    EXPECT_EQ(in->readInt(), 0x01020304);
    EXPECT_EQ(toUtf8(in->readUTF()), "hi");
    in->close();
    EXPECT_EQ(takeException(), 0);

    c->truncate(2);
    EXPECT_EQ(c->fileSize(), 2);
    c->truncate(-1);
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    c->rename(str("b.dat"));
    EXPECT_EQ(takeException(), 0);
    EXPECT_TRUE(std::filesystem::exists(appFolder() + "/Saves/slot1/b.dat"));
    c->rename(str("x/y"));
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    c->fileDelete();
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(c->exists(), 0);

    // Operations that cannot do their work say so.
    c->fileDelete();
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    c->rename(str("c.dat"));
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    c->truncate(0);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    c->openOutputStream();
    EXPECT_EQ(takeException(), cid::java_io_IOException);

    // The fixed answers.
    EXPECT_EQ(c->totalSize(), 0);
    EXPECT_EQ(c->canRead(), 0);
    EXPECT_EQ(c->isDirectory(), 0);
    EXPECT_EQ(c->getName(), nullptr);
    EXPECT_NE(c->list(), nullptr);
    c->close();
    EXPECT_EQ(c->m_fullPath, nullptr);
}

TEST_F(MidletTest, ConnectorGoesThroughTheRegisteredOpener) {
    EXPECT_EQ(javax_microedition_io_Connector::open(str("file:///x")), nullptr);
    EXPECT_TRUE(m_log.contains("no connections available"));
    jint lastMode = -1;
    bramble::io::setConnectionOpener([&](String* name, jint mode, jboolean) -> Object* {
        lastMode = mode;
        return javax_microedition_io_file_FileConnectionImpl::open(name, mode, 0);
    });
    Object* c = javax_microedition_io_Connector::open(str("file:///y.dat"));
    EXPECT_EQ(lastMode, 3);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->classId(), cid::javax_microedition_io_file_FileConnectionImpl);
    // A file connection is no input connection: logged, no stream.
    EXPECT_EQ(javax_microedition_io_Connector::openDataInputStream(str("file:///y.dat")), nullptr);
    EXPECT_EQ(lastMode, 1);
    EXPECT_EQ(javax_microedition_io_Connector::openOutputStream(str("file:///y.dat")), nullptr);
    EXPECT_EQ(lastMode, 2);
    EXPECT_EQ(takeException(), 0);
}

// --- audio clip ------------------------------------------------------------------

namespace {
struct ClipCalls {
    int created = 0;
    jint loop = -1;
    int started = 0;
    Bytes bytes;
    std::string type;
    Object* player = nullptr;
};
ClipCalls* g_clipCalls = nullptr;
void clipStart(Object* p) { g_clipCalls->started += p == g_clipCalls->player; }
void clipStop(Object*) {}
const com_samsung_util_AudioClip::PlayerCalls kClipCalls = {&clipStart, &clipStop};
}  // namespace

TEST_F(MidletTest, AudioClipChecksItsArgumentsAndDrivesThePlayer) {
    ClipCalls calls;
    g_clipCalls = &calls;
    calls.player = newObject<Object>(cid::Object);
    bramble::io::AudioClipPlayerHooks hooks;
    hooks.createPlayer = [&](java_io_InputStream* in, String* type) -> Object* {
        ++calls.created;
        calls.type = toUtf8(type);
        for (jint c = in->read(); c >= 0; c = in->read()) calls.bytes.push_back(static_cast<uint8_t>(c));
        return calls.player;
    };
    hooks.setLoopCount = [&](Object* p, jint n) { calls.loop = p == calls.player ? n : -2; };
    bramble::io::setAudioClipPlayerHooks(hooks);
    com_samsung_util_AudioClip::setPlayerCalls(&kClipCalls);

    bramble::io::newAudioClip(4, byteArrayOf({1}), 0, 1);
    EXPECT_EQ(pendingMessage(), "Illegal audio clip type: 4");
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    bramble::io::newAudioClip(1, byteArrayOf({1, 2}), 1, 5);
    EXPECT_EQ(takeException(), cid::java_lang_ArrayIndexOutOfBoundsException);
    EXPECT_EQ(calls.created, 0);

    ByteArray* source = byteArrayOf({9, 8, 7, 6, 5});
    com_samsung_util_AudioClip* clip = bramble::io::newAudioClip(2, source, 1, 3);
    source->data()[2] = 0;  // the clip holds its own copy
    EXPECT_EQ(calls.bytes, (Bytes{8, 7, 6}));
    EXPECT_EQ(calls.type, "audio/x-wav");
    bramble::io::playAudioClip(clip, 1, 3);
    EXPECT_EQ(calls.loop, -1) << "no loop count for 1";
    EXPECT_EQ(calls.started, 1);
    bramble::io::playAudioClip(clip, 2, 3);
    EXPECT_EQ(calls.loop, 2);
    EXPECT_EQ(calls.started, 2);
    bramble::io::playAudioClip(clip, 256, 3);
    EXPECT_EQ(pendingMessage(), "Illegal loop count: 256");
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    bramble::io::playAudioClip(clip, 1, 6);
    EXPECT_EQ(pendingMessage(), "Illegal volume: 6");
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    EXPECT_EQ(calls.started, 2);
    com_samsung_util_AudioClip::setPlayerCalls(nullptr);
}
