// The phone's text-message service: messages handed to it are written to an
// outbox spool folder under the device root, one file per message, each
// written in full under a temporary name and then renamed into place, so a
// reader of the folder sees only complete messages. Opening the service fails
// when the folder cannot be written.
//
// Spool file "<outbox>/sms-<time ns>-<pid>-<seq>.txt", UTF-8:
//   address: <destination address>
//   class: <message class>
//   encoding: optimal
//   length: <byte count of the text>
//   <empty line>
//   <text, exactly length bytes>
// Temporary files start with '.' and end in ".tmp".
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace bramble::platform::net {

enum class SmsDataEncoding { Optimal };

struct SmsMessage {
    std::u16string address;  // without line breaks
    std::u16string text;
    int messageClass = 1;
    SmsDataEncoding encoding = SmsDataEncoding::Optimal;
};

class SmsService {
public:
    // Opens the service for sending; null (and `error` set) when the outbox
    // cannot be created or written.
    static std::unique_ptr<SmsService> open(std::error_code& error);
    ~SmsService();
    SmsService(const SmsService&) = delete;
    SmsService& operator=(const SmsService&) = delete;

    // Writes one spool file; false (and `error` set) when the message cannot
    // be stored, leaving no file behind.
    bool send(const SmsMessage& message, std::error_code& error);

    // The outbox folder ("sms-outbox" under the device root).
    static std::filesystem::path outboxFolder();

private:
    explicit SmsService(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    std::filesystem::path m_folder;
};

}  // namespace bramble::platform::net
