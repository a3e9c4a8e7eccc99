// Connector.open's dispatch by scheme prefix and URL splitting over Java
// Strings: the parts the connections keep, odd URLs that must never crash,
// and bad ports.
#include "tests/net/java_fixture.h"

#include "net/message_connection.h"

using namespace bramble::test;

namespace {

class Connector : public JavaNetTest {};

struct UrlCase {
    const char* url;
    bool ok;
    const char* scheme;
    const char* host;
    jint port;
    const char* path;
    const char* query;  // null: no query
};

const UrlCase kUrlCases[] = {
    {"http://h:8080/a/b?x=1", true, "http", "h", 8080, "/a/b", "?x=1"},
    {"http://example.com", true, "http", "example.com", 0, "", nullptr},
    {"socket://10.0.0.1:5000", true, "socket", "10.0.0.1", 5000, "", nullptr},
    {"http://h/p?a=1?b=2#frag", true, "http", "h", 0, "/p", "?a=1?b=2#frag"},
    {"http://h/p#frag", true, "http", "h", 0, "/p#frag", nullptr},
    {"http://h?q", true, "http", "h", 0, "", "?q"},
    {"http://h:81?q", true, "http", "h", 81, "", "?q"},
    {"http://h:-5/", true, "http", "h", -5, "/", nullptr},
    // A ':' after the first '/' does not separate a port.
    {"http://h/a:b/c", true, "http", "h", 0, "/a:b/c", nullptr},
    {"http://h/a?b:c", true, "http", "h", 0, "/a", "?b:c"},
    {"http://", true, "http", "", 0, "", nullptr},
    {"://x", true, "", "x", 0, "", nullptr},
    // No "://": logged, every part empty.
    {"http:/h/p", false, "", "", 0, "", nullptr},
    {"sms:+15550100", false, "", "", 0, "", nullptr},
    {"", false, "", "", 0, "", nullptr},
};

TEST_F(Connector, ParseConnectionUrlTable) {
    for (const UrlCase& c : kUrlCases) {
        SCOPED_TRACE(c.url);
        m_log.clear();
        String *scheme = nullptr, *host = nullptr, *path = nullptr, *query = nullptr, *reference = jstr("x");
        jint port = -1;
        EXPECT_EQ(ParseConnectionURL(jstr(c.url), &scheme, &host, &port, &path, &query, &reference), c.ok);
        EXPECT_EQ(takeException(), 0);
        EXPECT_EQ(text(scheme), c.scheme);
        EXPECT_EQ(text(host), c.host);
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(text(path), c.path);
        EXPECT_EQ(text(query), c.query ? c.query : "<null>");
        EXPECT_EQ(reference, nullptr);
        EXPECT_EQ(m_log.contains("ParseConnectionURL"), !c.ok);
        if (!c.ok) {
            EXPECT_TRUE(m_log.contains("stacktrace:"));
        }
    }
}

TEST_F(Connector, BadPortsRaiseNumberFormatException) {
    for (const char* url : {"http://h:80x/", "http://h:/", "http://h:99999999999/", "socket://127.0.0.1:x"}) {
        SCOPED_TRACE(url);
        String *scheme = nullptr, *host = nullptr, *path = nullptr, *query = nullptr, *reference = nullptr;
        jint port = -1;
        EXPECT_FALSE(ParseConnectionURL(jstr(url), &scheme, &host, &port, &path, &query, &reference));
        EXPECT_EQ(takeException(), cid::java_lang_NumberFormatException);
        EXPECT_EQ(port, 0);
        // The connection is not made: open answers null with the exception pending.
        EXPECT_EQ(open(url), nullptr);
        EXPECT_EQ(takeException(), cid::java_lang_NumberFormatException);
    }
    EXPECT_TRUE(PlatformLogCapture::boxes().empty());  // no socket was tried
}

TEST_F(Connector, NullUrlIsLoggedNotCrashed) {
    String *scheme = nullptr, *host = nullptr, *path = nullptr, *query = nullptr, *reference = nullptr;
    jint port = -1;
    EXPECT_FALSE(ParseConnectionURL(nullptr, &scheme, &host, &port, &path, &query, &reference));
    EXPECT_TRUE(m_log.contains("ParseConnectionURL"));
    EXPECT_EQ(text(host), "");
    EXPECT_EQ(port, 0);
    m_log.clear();
    EXPECT_EQ(bramble::net::openConnection(nullptr, 3, 0), nullptr);
    EXPECT_TRUE(m_log.contains("NullPointer"));
}

TEST_F(Connector, DispatchesByCaseSensitivePrefix) {
    struct Case {
        const char* name;
        jint viewId;  // 0: open answers null
    } cases[] = {
        {"http://example.test/", cid::javax_microedition_io_HttpConnection},
        {"https://example.test/", cid::javax_microedition_io_HttpConnection},
        {"httpfoo", cid::javax_microedition_io_HttpConnection},  // prefix only; no "://" is logged
        {"sms://+15550100", cid::javax_wireless_messaging_MessageConnection},
        {"ftp://example.test/", 0},
        {"HTTP://example.test/", 0},
        {"Socket://127.0.0.1:1", 0},
        {"", 0},
        {"file:///a.txt", cid::javax_microedition_io_file_FileConnection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Object* connection = open(c.name);
        EXPECT_EQ(takeException(), 0);
        if (!c.viewId) {
            EXPECT_EQ(connection, nullptr);
            continue;
        }
        ASSERT_NE(connection, nullptr);
        EXPECT_NE(connection->getInterface(c.viewId), nullptr);
        EXPECT_NE(connection->getInterface(cid::javax_microedition_io_Connection), nullptr);
    }
}

TEST_F(Connector, ConvertedConnectorGoesThroughTheOpener) {
    // Connector.open(name) is READ_WRITE, through the installed opener.
    Object* file = javax_microedition_io_Connector::open(jstr("file:///notes.txt"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->classId(), cid::javax_microedition_io_file_FileConnectionImpl);
    EXPECT_EQ(static_cast<javax_microedition_io_file_FileConnectionImpl*>(file)->m_mode, 3);
    Object* sms = javax_microedition_io_Connector::open(jstr("sms://+15550100"), javax_microedition_io_Connector::WRITE);
    EXPECT_EQ(sms->classId(), cid::javax_wireless_messaging_MessageConnectionImpl);
    EXPECT_EQ(javax_microedition_io_Connector::open(jstr("ftp://x/")), nullptr);
    EXPECT_EQ(takeException(), 0);

    // Its stream shortcuts view the connection as input or output connection:
    // an HTTP connection has no output stream to wrap.
    java_io_DataOutputStream* out = javax_microedition_io_Connector::openDataOutputStream(jstr("http://example.test/"));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->m_out, nullptr);
    // A bad port's exception passes through unchanged.
    EXPECT_EQ(javax_microedition_io_Connector::openDataInputStream(jstr("http://example.test:x/")), nullptr);
    EXPECT_EQ(takeException(), cid::java_lang_NumberFormatException);
}

TEST_F(Connector, HttpConnectionKeepsTheParsedParts) {
    Object* connection = open("http://h.test:8080/a/b?x=1");
    ASSERT_NE(connection, nullptr);
    javax_microedition_io_HttpConnection* c = http(connection);
    EXPECT_EQ(text(c->getURL()), "http://h.test:8080/a/b?x=1");
    EXPECT_EQ(text(c->getProtocol()), "http");
    EXPECT_EQ(text(c->getHost()), "h.test");
    EXPECT_EQ(c->getPort(), 8080);
    EXPECT_EQ(text(c->getFile()), "/a/b");
    EXPECT_EQ(text(c->getQuery()), "?x=1");
    EXPECT_EQ(c->getRef(), nullptr);
    EXPECT_EQ(text(c->getRequestMethod()), "GET");
    EXPECT_EQ(c->getEncoding(), nullptr);
    EXPECT_EQ(c->getRequestProperty(jstr("X")), nullptr);
    EXPECT_EQ(c->getHeaderField(0), nullptr);
    EXPECT_EQ(c->getHeaderFieldKey(0), nullptr);
    EXPECT_EQ(c->getExpiration(), 0);
    EXPECT_EQ(c->getDate(), 0);
    EXPECT_EQ(c->getLastModified(), 0);
    EXPECT_EQ(c->getHeaderFieldInt(jstr("X"), 5), 0);
    EXPECT_EQ(c->getHeaderFieldDate(jstr("X"), 5), 0);

    // The parts live in native memory: a collection while only the stack
    // holds the connection changes nothing.
    collect();
    EXPECT_EQ(text(c->getHost()), "h.test");
    EXPECT_EQ(text(c->getQuery()), "?x=1");

    // Both interface records answer close; the output record has no stream.
    javax_microedition_io_OutputConnection* out = output(connection);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->openOutputStream(), nullptr);
    java_io_DataOutputStream* data = out->openDataOutputStream();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->m_out, nullptr);
    out->close();
    c->close();
}

void openMany(void*) {
    for (int i = 0; i < 20; ++i) {
        bramble::net::openConnection(jstr("http://example.test/"), 3, 0);
        bramble::net::openConnection(jstr("sms://+15550100"), 3, 0);
    }
}

TEST_F(Connector, UnreachableConnectionsAreFinalized) {
    collect();
    size_t before = Application::instance()->objects().objectCount();
    runOnJavaThread(&openMany);  // a finished thread's stack keeps nothing
    collect();
    // Forty connections and their Strings are gone; the ended Thread, its
    // Task and a stray object or two may stay alive through stale copies on
    // this stack (the scan is conservative).
    EXPECT_LE(Application::instance()->objects().objectCount(), before + 5);
}

}  // namespace
