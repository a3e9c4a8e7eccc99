// Text messages: the message connection that Connector opens for "sms"
// names (class 122) and the text message it creates (class 124). The
// connection only sends; each send hands the message to the phone's
// text-message service in a blocking region, and failures are shown to the
// user in error boxes, never reported to the caller.
//
// Both classes keep their reference fields registered with the collector:
// the connection its message type, address and the three message-type names
// of the string pool (entries 89-91; 89 is the text type); the message its
// address, payload text and timestamp.
#pragma once

#include "net/connection_interfaces.h"
#include "runtime/object.h"

class javax_wireless_messaging_TextMessageImpl final : public Object, public javax_wireless_messaging_TextMessage {
public:
    javax_wireless_messaging_TextMessageImpl();

    // Answers 123 (and 120, the message interface it extends).
    void* getInterface(jint interfaceId) override;

    String* getAddress() override { return m_address; }
    void setAddress(String* address) override { m_address = address; }
    Object* getTimestamp() override { return m_timestamp; }
    String* getPayloadText() override { return m_payloadText; }
    void setPayloadText(String* text) override { m_payloadText = text; }

    String* m_address;
    String* m_payloadText;
    Object* m_timestamp;
};

class javax_wireless_messaging_MessageConnectionImpl final : public Object,
                                                            public javax_wireless_messaging_MessageConnection {
public:
    // The converted constructor, then address := url.
    explicit javax_wireless_messaging_MessageConnectionImpl(String* url);

    // Answers 121 (and 75, the connection interface it extends).
    void* getInterface(jint interfaceId) override;

    void close() override {}
    // type := type, address := address; a text message addressed to the
    // connection's address when type equals the text type, else null.
    Object* newMessage(String* type, String* address) override;
    Object* newMessage(String* type) override;
    // Sends a text message's payload to the connection's address; nothing
    // when either is null or the message is not a text message.
    void send(Object* message) override;
    Object* receive() override { return nullptr; }
    jint numberOfSegments(Object*) override { return -1; }

    String* m_type;
    String* m_address;
    String* m_textType;       // pool entry 89
    String* m_binaryType;     // pool entry 90
    String* m_multipartType;  // pool entry 91
};
