// Windows of other processes: a per-user registry of named windows over
// Unix-domain sockets. A process registers a window by class and title with a
// handler; any process of the same user finds it by class and title and sends
// it messages (a copy-data record, a user message, close, bring-to-front).
// Invariants: every send is synchronous and bounded by a timeout, so a hung
// peer never freezes the caller; a send to no window answers 0; entries whose
// owner has died are ignored (and removed) by the next find; a registration
// delivers its messages one at a time, never two at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::ipc {

// The message kinds a window can receive from another process.
enum class MessageKind : std::uint32_t {
    CopyData = 1,      // dwData + bytes (the bytes are copied to the receiver)
    User = 2,          // user message number userCode (0 is the first one)
    Close = 3,         // the peer asks the window to close
    BringToFront = 4,  // the peer asks the window's owner to raise it
};

struct Message {
    MessageKind kind = MessageKind::User;
    std::uint32_t userCode = 0;  // User: which user message (offset from the first)
    std::uint64_t wParam = 0;    // User and CopyData
    std::int64_t lParam = 0;     // User
    std::uint64_t dwData = 0;    // CopyData
    std::vector<std::uint8_t> data;  // CopyData

    static Message copyData(std::uint64_t wParam, std::uint64_t dwData, std::vector<std::uint8_t> bytes);
    static Message user(std::uint64_t wParam, std::int64_t lParam, std::uint32_t userCode = 0);
    static Message close();
    static Message bringToFront();
};

// Largest copy-data payload a window accepts; larger sends fail.
inline constexpr std::size_t kMaxCopyDataBytes = 1 << 20;

// The default bound of one send: connecting, writing, the receiver's handler
// and the answer together.
inline constexpr std::chrono::milliseconds kDefaultSendTimeout{5000};

// A window found in the registry. Empty (false) when none was found. It names
// the window's socket; the window may still go away before a send, which then
// reports NoWindow.
struct Window {
    std::string socketPath;
    explicit operator bool() const { return !socketPath.empty(); }
};

enum class SendStatus {
    Delivered,  // the handler ran; result holds its answer
    NoWindow,   // no such window (empty Window, or its owner is gone)
    TimedOut,   // the peer did not answer in time
    Failed,     // the connection broke or the message was refused
};

struct SendResult {
    SendStatus status = SendStatus::NoWindow;
    std::int64_t result = 0;  // the handler's answer when Delivered, else 0
    bool delivered() const { return status == SendStatus::Delivered; }
};

// The folder of the registry: BRAMBLE_WINDOW_DIR, else
// $XDG_RUNTIME_DIR/bramble-windows, else /tmp/bramble-windows-<uid>.
std::string registryFolder();

// Finds a live window with exactly this class and title. Stale entries (their
// owner died without unregistering) are skipped and removed. Never blocks on
// a hung owner.
Window findWindow(const std::string& windowClass, const std::string& title);

// Finds the window, looking again every few milliseconds until it appears
// or `timeout` has passed (a program waiting for a helper it has just started).
Window waitForWindow(const std::string& windowClass, const std::string& title, std::chrono::milliseconds timeout);

// Sends a message and waits for the answer at most `timeout`. An empty window
// answers {NoWindow, 0}. Every failure answers a result of 0.
SendResult sendMessage(const Window& window, const Message& message,
                       std::chrono::milliseconds timeout = kDefaultSendTimeout);

// Finds the window and sends to it: the form the game uses before every message.
SendResult sendMessage(const std::string& windowClass, const std::string& title, const Message& message,
                       std::chrono::milliseconds timeout = kDefaultSendTimeout);

// Asks the window's owner to bring it to the front (a BringToFront message).
// True when the owner received the request.
bool bringToFront(const Window& window, std::chrono::milliseconds timeout = kDefaultSendTimeout);

// Receiving side -----------------------------------------------------------

// Answers one message; its result travels back to the sender.
using Handler = std::function<std::int64_t(const Message&)>;

// Runs `call` (which invokes the handler) where the owner wants it and
// returns its result. The default runs it at once on the registration's
// service thread.
//
// A GUI owner whose window state belongs to one thread passes a marshaller
// that posts `call` to that thread's message queue, waits until the window
// thread has run it and returns its result. Rules for such a marshaller:
//  - it is called on the service thread, one message at a time;
//  - when it runs on the window thread itself it must call `call` directly
//    (a window thread that waits for itself would only end by the sender's
//    timeout);
//  - when the owner is shutting down it may return without running `call`
//    (answer 0); it must not wait for ever on a window thread that has
//    stopped taking messages, or the registration's destructor cannot finish.
using Marshaller = std::function<std::int64_t(const std::function<std::int64_t()>& call)>;

struct RegisterOptions {
    Marshaller marshal;  // empty: run the handler on the service thread
    bool unique = false; // refuse (AlreadyExists) when a live window with this
                         // class and title exists; checked and registered atomically
    std::chrono::milliseconds readTimeout{2000};  // bound for a sender to deliver its request
};

enum class RegisterStatus { Registered, AlreadyExists, Failed };

// One registered window. Destroying it removes the window from the registry
// and stops its service thread (a handler running at that moment is waited
// for; never destroy it from inside its own handler).
class RegisteredWindow {
public:
    static std::unique_ptr<RegisteredWindow> create(const std::string& windowClass, const std::string& title,
                                                    Handler handler, RegisterOptions options = {},
                                                    RegisterStatus* status = nullptr);
    ~RegisteredWindow();
    RegisteredWindow(const RegisteredWindow&) = delete;
    RegisteredWindow& operator=(const RegisteredWindow&) = delete;

    const std::string& windowClass() const;
    const std::string& title() const;
    // The Window value other processes find for this registration.
    Window window() const;

    struct Impl;

private:
    explicit RegisteredWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::ipc
