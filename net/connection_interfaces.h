// The connection interfaces of the connection framework as converted code
// reaches them: abstract classes whose virtuals are the interface slots in
// slot order. A connection object answers each interface id in getInterface
// with the matching view.
//
// Stream connections carry two interface records: the input record (close,
// openInputStream, openDataInputStream, then the connection's own
// operations) and the output record (close, openOutputStream,
// openDataOutputStream). StreamConnection inherits InputConnection first and
// OutputConnection second, which lays the two records out exactly so.
//
// The framework's base interfaces (Connection, InputConnection,
// OutputConnection) come with Connector from the io layer; the ones here are
// those of the connections this layer makes.
//
// Values of interface type (messages, connections) travel as Object* and are
// viewed through interfaceOf<I>(object, id) where they are used.
#pragma once

#include "io/connection.h"
#include "runtime/object.h"

// Interface 85: both records, nothing of its own (close overrides the slot 0
// of both, so it is one operation).
class javax_microedition_io_StreamConnection : public javax_microedition_io_InputConnection,
                                               public javax_microedition_io_OutputConnection {
public:
    void close() override = 0;

protected:
    ~javax_microedition_io_StreamConnection() = default;
};

// Interface 78.
class javax_microedition_io_ContentConnection : public javax_microedition_io_StreamConnection {
public:
    virtual String* getType() = 0;      // slot 3
    virtual String* getEncoding() = 0;  // slot 4
    virtual jlong getLength() = 0;      // slot 5

protected:
    ~javax_microedition_io_ContentConnection() = default;
};

// Interface 80.
class javax_microedition_io_HttpConnection : public javax_microedition_io_ContentConnection {
public:
    virtual String* getURL() = 0;                                      // slot 6
    virtual String* getProtocol() = 0;                                 // 7
    virtual String* getHost() = 0;                                     // 8
    virtual String* getFile() = 0;                                     // 9
    virtual String* getRef() = 0;                                      // 10
    virtual String* getQuery() = 0;                                    // 11
    virtual jint getPort() = 0;                                        // 12
    virtual String* getRequestMethod() = 0;                            // 13
    virtual void setRequestMethod(String* method) = 0;                 // 14
    virtual String* getRequestProperty(String* key) = 0;               // 15
    virtual void setRequestProperty(String* key, String* value) = 0;   // 16
    virtual jint getResponseCode() = 0;                                // 17
    virtual String* getResponseMessage() = 0;                          // 18
    virtual jlong getExpiration() = 0;                                 // 19
    virtual jlong getDate() = 0;                                       // 20
    virtual jlong getLastModified() = 0;                               // 21
    virtual String* getHeaderField(jint index) = 0;                    // 22
    virtual String* getHeaderField(String* name) = 0;                  // 23
    virtual jint getHeaderFieldInt(String* name, jint def) = 0;        // 24
    virtual jlong getHeaderFieldDate(String* name, jlong def) = 0;     // 25
    virtual String* getHeaderFieldKey(jint index) = 0;                 // 26

protected:
    ~javax_microedition_io_HttpConnection() = default;
};

// Interface 84.
class javax_microedition_io_SocketConnection : public javax_microedition_io_StreamConnection {
public:
    virtual void setSocketOption(jbyte option, jint value) = 0;  // slot 3
    virtual jint getSocketOption(jbyte option) = 0;              // 4
    virtual String* getLocalAddress() = 0;                       // 5
    virtual jint getLocalPort() = 0;                             // 6
    virtual String* getAddress() = 0;                            // 7
    virtual jint getPort() = 0;                                  // 8

protected:
    ~javax_microedition_io_SocketConnection() = default;
};

// Interface 120.
class javax_wireless_messaging_Message {
public:
    virtual String* getAddress() = 0;              // slot 0
    virtual void setAddress(String* address) = 0;  // 1
    virtual Object* getTimestamp() = 0;            // 2

protected:
    ~javax_wireless_messaging_Message() = default;
};

// Interface 123.
class javax_wireless_messaging_TextMessage : public javax_wireless_messaging_Message {
public:
    virtual String* getPayloadText() = 0;           // slot 3
    virtual void setPayloadText(String* text) = 0;  // 4

protected:
    ~javax_wireless_messaging_TextMessage() = default;
};

// Interface 121.
class javax_wireless_messaging_MessageConnection : public javax_microedition_io_Connection {
public:
    virtual Object* newMessage(String* type, String* address) = 0;  // slot 1
    virtual Object* newMessage(String* type) = 0;                   // 2
    virtual void send(Object* message) = 0;                         // 3
    virtual Object* receive() = 0;                                  // 4
    virtual jint numberOfSegments(Object* message) = 0;             // 5

protected:
    ~javax_wireless_messaging_MessageConnection() = default;
};
