// Sending one text message the way a message connection does: the address is
// turned into the destination (at most kMaxAddressLength characters, with
// room for its terminator in the service's record), the phone's text-message
// service is opened, the message handed over, and the service closed again
// whether the send worked or not. Failures are shown to the user in error
// boxes captioned "Sending SMS..."; the caller learns the outcome only from
// the answer.
//
// sendTextMessage is the one blocking call; it touches only its arguments.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bramble::net {

inline constexpr size_t kMaxAddressLength = 256;

enum class TextMessageOutcome {
    NothingToSend,       // no address or no text: nothing happens, nothing is shown
    Sent,
    ServiceUnavailable,  // "Cannot open SMS Service window"
    SendFailed,          // "Error sending SMS"
};

// The destination of an address: without an "sms://" prefix (in any case) and without a
// ":port" suffix.
std::u16string smsDestinationAddress(std::u16string_view address);

TextMessageOutcome sendTextMessage(const std::optional<std::u16string>& address,
                                   const std::optional<std::u16string>& text);

}  // namespace bramble::net
