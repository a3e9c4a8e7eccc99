// The text-message connection and the text message.
#include "net/message_connection.h"

#include <optional>
#include <string>

#include "net/text_message.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace {

constexpr jint kTextTypeEntry = 89;
constexpr jint kBinaryTypeEntry = 90;
constexpr jint kMultipartTypeEntry = 91;

}  // namespace

// --- text message -----------------------------------------------------------

javax_wireless_messaging_TextMessageImpl::javax_wireless_messaging_TextMessageImpl()
    : Object(cid::javax_wireless_messaging_TextMessageImpl) {
    StaticClass::setRefFieldOffsets(this, {&m_address, &m_payloadText, &m_timestamp});
}

void* javax_wireless_messaging_TextMessageImpl::getInterface(jint interfaceId) {
    if (interfaceId == cid::javax_wireless_messaging_TextMessage)
        return static_cast<javax_wireless_messaging_TextMessage*>(this);
    if (interfaceId == cid::javax_wireless_messaging_Message)
        return static_cast<javax_wireless_messaging_Message*>(this);
    return nullptr;
}

// --- message connection -----------------------------------------------------

javax_wireless_messaging_MessageConnectionImpl::javax_wireless_messaging_MessageConnectionImpl(String* url)
    : Object(cid::javax_wireless_messaging_MessageConnectionImpl) {
    StaticClass::setRefFieldOffsets(this, {&m_type, &m_address, &m_textType, &m_binaryType, &m_multipartType});
    m_textType = StaticClass::getStringConstant(kTextTypeEntry);
    m_binaryType = StaticClass::getStringConstant(kBinaryTypeEntry);
    m_multipartType = StaticClass::getStringConstant(kMultipartTypeEntry);
    m_address = url;
}

void* javax_wireless_messaging_MessageConnectionImpl::getInterface(jint interfaceId) {
    if (interfaceId == cid::javax_wireless_messaging_MessageConnection)
        return static_cast<javax_wireless_messaging_MessageConnection*>(this);
    if (interfaceId == cid::javax_microedition_io_Connection)
        return static_cast<javax_microedition_io_Connection*>(this);
    return nullptr;
}

Object* javax_wireless_messaging_MessageConnectionImpl::newMessage(String* type, String* address) {
    m_address = address;
    return newMessage(type);
}

Object* javax_wireless_messaging_MessageConnectionImpl::newMessage(String* type) {
    m_type = type;
    if (!m_textType || !m_textType->equals(type)) return nullptr;
    auto* message = newObject<javax_wireless_messaging_TextMessageImpl>();
    message->setAddress(m_address);
    return message;
}

void javax_wireless_messaging_MessageConnectionImpl::send(Object* message) {
    MethodScope method("javax_wireless_messaging_MessageConnectionImpl::send");
    if (!message) {
        rt::logNullPointer();
        return;
    }
    auto* text = interfaceOf<javax_wireless_messaging_TextMessage>(message, cid::javax_wireless_messaging_TextMessage);
    if (!text) {
        logPrintf("javax_wireless_messaging_MessageConnectionImpl::send: not a text message (class %d)",
                  message->classId());
        return;
    }
    String* payload = text->getPayloadText();
    if (!m_address || !payload) return;
    std::optional<std::u16string> address = m_address->toUtf16();
    std::optional<std::u16string> body = payload->toUtf16();
    BlockingRegion blocking;  // file I/O and, on failure, a message box
    bramble::net::sendTextMessage(address, body);
}
