// SocketConnectionImpl: the TCP connection that Connector opens for "socket"
// names, over a WinSocketClient, and its two streams.
//
// The connection is made during construction (a failure is shown only in the
// client's error box; the streams of such a connection then fail). The
// connection and every stream it hands out share one native channel: the
// client, one receive buffer (so bytes received for one input stream are
// never lost to another) and the count of calls in flight.
//
// Invariants:
//  - Every call that may block (connect, receive, send) runs in a blocking
//    region and touches only native memory; array contents are copied
//    outside it.
//  - The input streams receive only when every byte received before has
//    been read; a receive error raises java_io_IOException, the peer's end
//    answers -1.
//  - close() while a call is in flight shuts the socket down (waking a
//    blocked receive) and the descriptor is closed when the last call
//    returns, so no call ever reaches a descriptor that has been reused.
//  - The channel lives while the connection or any stream holds it; each
//    object drops its hold in finalize.
//
// Like the HTTP connection the object carries class id 0 and keeps its URL
// parts natively. The input stream is a java_io_ByteArrayInputStream
// (class 15) and the output stream a java_io_ByteArrayOutputStream (class 16)
// whose operations go to the socket.
#pragma once

#include "net/connection_interfaces.h"
#include "runtime/object.h"

namespace bramble::net {
struct SocketConnectionState;
}

class SocketConnectionImpl final : public Object, public javax_microedition_io_SocketConnection {
public:
    // Keeps the three, parses the URL (a bad port leaves NumberFormatException
    // pending and makes no socket), creates the socket and connects it to the
    // host (a name, else a dotted address) and port.
    SocketConnectionImpl(String* name, jint mode, jboolean timeouts);

    void finalize() override;
    // 75, 81, 84, 85: the input record; 82: the output record.
    void* getInterface(jint interfaceId) override;

    // --- input record -----------------------------------------------------------
    void close() override;
    java_io_InputStream* openInputStream() override;
    java_io_DataInputStream* openDataInputStream() override;
    void setSocketOption(jbyte, jint) override {}
    jint getSocketOption(jbyte) override { return 0; }
    String* getLocalAddress() override { return nullptr; }
    jint getLocalPort() override { return 0; }
    String* getAddress() override { return nullptr; }
    jint getPort() override;

    // --- output record ----------------------------------------------------------
    java_io_OutputStream* openOutputStream() override;
    java_io_DataOutputStream* openDataOutputStream() override;

    jint m_mode;
    jint m_timeouts;
    jint m_reserved[2];
    bramble::net::SocketConnectionState* m_state;
};
