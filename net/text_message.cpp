// Text-message sending over the platform's outbox service.
#include "net/text_message.h"

#include <algorithm>
#include <array>

#include "net/hooks.h"
#include "platform/net/sms.h"

namespace bramble::net {

namespace {

constexpr char16_t kCaption[] = u"Sending SMS...";

// The service's destination record: the address and its terminator.
struct SmsAddress {
    std::array<char16_t, kMaxAddressLength + 1> address{};
};

}  // namespace

std::u16string smsDestinationAddress(std::u16string_view address) {
    static constexpr std::u16string_view kPrefix = u"sms://";
    if (address.size() >= kPrefix.size() &&
        std::equal(kPrefix.begin(), kPrefix.end(), address.begin(),
                   [](char16_t p, char16_t c) { return p == (c >= u'A' && c <= u'Z' ? c + 32 : c); }))
        address.remove_prefix(kPrefix.size());
    return std::u16string(address.substr(0, address.find(u':')));
}

TextMessageOutcome sendTextMessage(const std::optional<std::u16string>& address,
                                   const std::optional<std::u16string>& text) {
    if (!address || !text) return TextMessageOutcome::NothingToSend;

    std::u16string destination = smsDestinationAddress(*address);
    SmsAddress record;
    if (destination.empty() || destination.size() > kMaxAddressLength) {
        logf("javax_wireless_messaging_MessageConnectionImpl::send: unusable address \"%s\"",
             toUtf8(std::u16string_view(*address).substr(0, 300)).c_str());
        showErrorBox(u"Error sending SMS", kCaption);
        return TextMessageOutcome::SendFailed;
    }
    std::copy(destination.begin(), destination.end(), record.address.begin());

    std::error_code error;
    std::unique_ptr<platform::net::SmsService> service = platform::net::SmsService::open(error);
    if (!service) {
        logf("javax_wireless_messaging_MessageConnectionImpl::send: SmsOpen failed: %s", error.message().c_str());
        showErrorBox(u"Cannot open SMS Service window", kCaption);
        return TextMessageOutcome::ServiceUnavailable;
    }
    platform::net::SmsMessage message;
    message.address = record.address.data();
    message.text = *text;
    message.messageClass = 1;
    bool sent = service->send(message, error);
    service.reset();  // closed after a failed send as well
    if (!sent) {
        logf("javax_wireless_messaging_MessageConnectionImpl::send: SmsSendMessage failed: %s",
             error.message().c_str());
        showErrorBox(u"Error sending SMS", kCaption);
        return TextMessageOutcome::SendFailed;
    }
    return TextMessageOutcome::Sent;
}

}  // namespace bramble::net
