// HttpConnectionImpl: the HTTP connection that Connector opens for "http"
// (and "https") names, over a WinInetHttpClient it owns.
//
// The GET request is sent lazily, by the first response getter after
// construction or after a change of method or request property, and at most
// once per such change. While it runs, the requesting thread is inside a
// blocking region (a collection never waits for it) and the wait animation
// draws on the screen. Only GET is sent; any other method leaves the
// response empty (status -1). Nothing can be sent in a request body.
//
// The object carries class id 0 like every connection the opener makes. Its
// URL parts, method and client live in a native record owned by the object
// (freed by finalize), not in Java reference fields: objects of class id 0
// have no reference-field record of their own for the collector to follow.
// Getters answer new Strings of those texts.
//
// The client is used by one thread at a time: every operation that touches
// it holds the connection's lock (waiting for it is a blocking region).
#pragma once

#include "net/connection_interfaces.h"
#include "runtime/object.h"

namespace bramble::net {
struct HttpConnectionState;
}

class HttpConnectionImpl final : public Object, public javax_microedition_io_HttpConnection {
public:
    // Keeps the three, parses the URL (a bad port leaves NumberFormatException
    // pending), method "GET", makes the client and connects it.
    HttpConnectionImpl(String* name, jint mode, jboolean timeouts);

    // Slot 0: close, then frees the client and the native record.
    void finalize() override;
    // 75, 78, 80, 81: the input record; 82: the output record.
    void* getInterface(jint interfaceId) override;
    // Slot 6: sends the request when one is pending and the method is GET.
    virtual void run();

    // --- input record -----------------------------------------------------------
    void close() override;
    // Status 200: a stream over a copy of the body; other status: IOException.
    java_io_InputStream* openInputStream() override;
    java_io_DataInputStream* openDataInputStream() override;
    String* getType() override;  // getHeaderField("content-type")
    String* getEncoding() override { return nullptr; }
    jlong getLength() override;
    String* getURL() override;
    String* getProtocol() override;
    String* getHost() override;
    String* getFile() override;
    String* getRef() override { return nullptr; }
    String* getQuery() override;
    jint getPort() override;
    String* getRequestMethod() override;
    void setRequestMethod(String* method) override;
    String* getRequestProperty(String*) override { return nullptr; }
    void setRequestProperty(String* key, String* value) override;
    jint getResponseCode() override;
    // The reason phrase; IOException when there is no response or it does
    // not fit 1,024 characters with its terminator.
    String* getResponseMessage() override;
    jlong getExpiration() override { return 0; }
    jlong getDate() override { return 0; }
    jlong getLastModified() override { return 0; }
    String* getHeaderField(jint) override { return nullptr; }
    // The named (case-sensitive) response header's value; IOException when
    // it is absent or does not fit 8,192 characters with its terminator.
    String* getHeaderField(String* name) override;
    jint getHeaderFieldInt(String*, jint) override { return 0; }
    jlong getHeaderFieldDate(String*, jlong) override { return 0; }
    String* getHeaderFieldKey(jint) override { return nullptr; }

    // --- output record ----------------------------------------------------------
    java_io_OutputStream* openOutputStream() override { return nullptr; }
    java_io_DataOutputStream* openDataOutputStream() override;

    jint m_mode;
    jint m_timeouts;
    jint m_reserved[2];
    jint m_requestDone;
    bramble::net::HttpConnectionState* m_state;
};
