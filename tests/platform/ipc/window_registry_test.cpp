// The cross-process window registry: finding, sending every message kind,
// the answer 0 for no window, bounded sends against peers that hang or never
// accept, stale entries, unique registration, marshalling onto an owner's
// thread and malformed requests.
#include "platform/ipc/parent_watch.h"
#include "platform/ipc/window_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::ipc;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A socket address for `path`, reached through an open folder descriptor
// when the path is longer than a socket address holds (as the registry does).
struct Address {
    explicit Address(const std::string& path) {
        a.sun_family = AF_UNIX;
        std::string use = path;
        if (path.size() >= sizeof a.sun_path) {
            std::size_t slash = path.rfind('/');
            dirFd = ::open(path.substr(0, slash).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            use = "/proc/self/fd/" + std::to_string(dirFd) + path.substr(slash);
        }
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", use.c_str());
    }
    ~Address() {
        if (dirFd >= 0) ::close(dirFd);
    }
    sockaddr* get() { return reinterpret_cast<sockaddr*>(&a); }
    sockaddr_un a{};
    int dirFd = -1;
};

// Binds a plain socket at `path`; listening or not. Returns the fd.
int bindAt(const std::string& path, bool listening) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    Address a(path);
    EXPECT_EQ(::bind(fd, a.get(), sizeof a.a), 0) << path;
    if (listening) {
        EXPECT_EQ(::listen(fd, 4), 0);
    }
    return fd;
}

// Registers a window, returns its socket path and unregisters it, so that the
// path can be re-created by hand as a dead or unresponsive owner.
std::string pathOfWindow(const std::string& cls, const std::string& title) {
    auto w = RegisteredWindow::create(cls, title, [](const Message&) { return 0; });
    EXPECT_TRUE(w);
    return w ? w->window().socketPath : std::string();
}

class Registry : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("BRAMBLE_WINDOW_DIR"), nullptr);
        folder_ = registryFolder();
    }
    std::string folder_;
};

}  // namespace

TEST_F(Registry, FolderComesFromTheEnvironment) {
    EXPECT_EQ(folder_, std::getenv("BRAMBLE_WINDOW_DIR"));
}

TEST_F(Registry, FindsAndDeliversEveryMessageKind) {
    std::vector<Message> seen;
    auto w = RegisteredWindow::create("EchoClass", "Echo title", [&](const Message& m) -> std::int64_t {
        seen.push_back(m);
        switch (m.kind) {
        case MessageKind::CopyData: return static_cast<std::int64_t>(m.data.size()) + static_cast<std::int64_t>(m.dwData);
        case MessageKind::User: return m.lParam * 10 + static_cast<std::int64_t>(m.wParam);
        case MessageKind::Close: return 16;
        case MessageKind::BringToFront: return 1;
        }
        return -5;
    });
    ASSERT_TRUE(w);

    Window found = findWindow("EchoClass", "Echo title");
    ASSERT_TRUE(found);
    EXPECT_EQ(found.socketPath, w->window().socketPath);
    EXPECT_FALSE(findWindow("EchoClass", "Echo titl"));
    EXPECT_FALSE(findWindow("EchoClas", "Echo title"));

    std::vector<std::uint8_t> bytes(208);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    SendResult r = sendMessage(found, Message::copyData(34, 100000, bytes));
    EXPECT_EQ(r.status, SendStatus::Delivered);
    EXPECT_EQ(r.result, 208 + 100000);

    r = sendMessage(found, Message::user(7, -3, 5));
    EXPECT_TRUE(r.delivered());
    EXPECT_EQ(r.result, -23);  // negative answers travel unchanged

    EXPECT_EQ(sendMessage("EchoClass", "Echo title", Message::close()).result, 16);
    EXPECT_TRUE(bringToFront(found));

    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].kind, MessageKind::CopyData);
    EXPECT_EQ(seen[0].wParam, 34u);
    EXPECT_EQ(seen[0].dwData, 100000u);
    EXPECT_EQ(seen[0].data, bytes);
    EXPECT_EQ(seen[1].userCode, 5u);
    EXPECT_EQ(seen[1].wParam, 7u);
    EXPECT_EQ(seen[2].kind, MessageKind::Close);
    EXPECT_EQ(seen[3].kind, MessageKind::BringToFront);
}

TEST_F(Registry, NoWindowAnswersZero) {
    EXPECT_FALSE(findWindow("Nobody", "Nobody"));
    SendResult r = sendMessage(Window{}, Message::user(1, 2));
    EXPECT_EQ(r.status, SendStatus::NoWindow);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(sendMessage("Nobody", "Nobody", Message::close()).result, 0);
    EXPECT_FALSE(bringToFront(Window{}));

    // A window that went away after it was found.
    Window gone;
    {
        auto w = RegisteredWindow::create("Brief", "Brief", [](const Message&) { return 9; });
        gone = findWindow("Brief", "Brief");
        ASSERT_TRUE(gone);
    }
    r = sendMessage(gone, Message::user(0, 0));
    EXPECT_EQ(r.status, SendStatus::NoWindow);
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(findWindow("Brief", "Brief"));
}

TEST_F(Registry, WaitingForAWindowEndsWhenItAppearsOrInTime) {
    auto t0 = Clock::now();
    EXPECT_FALSE(waitForWindow("Late", "Late", 50ms));
    EXPECT_GE(Clock::now() - t0, 50ms);

    std::unique_ptr<RegisteredWindow> late;
    std::thread starter([&] {
        std::this_thread::sleep_for(30ms);
        late = RegisteredWindow::create("Late", "Late", [](const Message&) { return 5; });
    });
    Window w = waitForWindow("Late", "Late", 60s);  // the hang guard
    starter.join();
    ASSERT_TRUE(w);
    EXPECT_EQ(sendMessage(w, Message::user(0, 0)).result, 5);
}

TEST_F(Registry, StaleEntriesAreIgnoredAndRemoved) {
    const std::string path = pathOfWindow("StaleClass", "Stale");
    ASSERT_FALSE(path.empty());
    ASSERT_FALSE(fs::exists(path));
    // An owner that died without unregistering leaves a socket nobody listens on.
    ::close(bindAt(path, false));
    ASSERT_TRUE(fs::exists(path));

    EXPECT_FALSE(findWindow("StaleClass", "Stale"));
    EXPECT_FALSE(fs::exists(path));

    // With a live window beside a stale one, the live one is found.
    ::close(bindAt(path, false));
    auto live = RegisteredWindow::create("StaleClass", "Stale", [](const Message&) { return 42; });
    ASSERT_TRUE(live);
    EXPECT_EQ(sendMessage("StaleClass", "Stale", Message::user(0, 0)).result, 42);
}

TEST_F(Registry, AWindowBeingRegisteredIsNeverTakenForAStaleOne) {
    // A finder polling while a window registers must neither miss the new
    // window for good nor remove its entry.
    std::atomic<bool> stop{false};
    std::thread finder([&] {
        while (!stop) findWindow("Racing", "Racing");
    });
    int lost = 0;
    for (int i = 0; i < 300; ++i) {
        auto w = RegisteredWindow::create("Racing", "Racing", [](const Message&) { return 1; });
        ASSERT_TRUE(w);
        if (!fs::exists(w->window().socketPath)) ++lost;
    }
    stop = true;
    finder.join();
    EXPECT_EQ(lost, 0);
}

// The hang guard of a bounded send: far longer than its own timeout, so that
// a busy machine never trips it, yet a send that waited for its peer would.
constexpr auto kSendGuard = 30s;

TEST_F(Registry, SendsAreBoundedAgainstHungPeers) {
    // A handler that does not return until released (only after the sends).
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    auto hung = RegisteredWindow::create("HungClass", "Hung", [&](const Message&) -> std::int64_t {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return release; });
        return 1;
    });
    ASSERT_TRUE(hung);
    auto t0 = Clock::now();
    SendResult r = sendMessage(findWindow("HungClass", "Hung"), Message::user(1, 2), 150ms);
    EXPECT_EQ(r.status, SendStatus::TimedOut);
    EXPECT_EQ(r.result, 0);
    EXPECT_LT(Clock::now() - t0, kSendGuard);
    {
        std::lock_guard<std::mutex> lock(m);
        release = true;
    }
    cv.notify_all();

    // An owner that listens but never accepts.
    const std::string path = pathOfWindow("DeafClass", "Deaf");
    int fd = bindAt(path, true);
    Window deaf = findWindow("DeafClass", "Deaf");
    ASSERT_TRUE(deaf);  // alive, only not answering
    t0 = Clock::now();
    r = sendMessage(deaf, Message::copyData(0, 1, std::vector<std::uint8_t>(208)), 150ms);
    EXPECT_EQ(r.status, SendStatus::TimedOut);
    EXPECT_LT(Clock::now() - t0, kSendGuard);
    ::close(fd);
    ::unlink(path.c_str());
}

TEST_F(Registry, UniqueRegistrationRefusesASecondWindow) {
    RegisterOptions unique;
    unique.unique = true;
    RegisterStatus status{};
    auto first = RegisteredWindow::create("OnlyOne", "OnlyOne", [](const Message&) { return 1; }, unique, &status);
    ASSERT_TRUE(first);
    EXPECT_EQ(status, RegisterStatus::Registered);
    auto second = RegisteredWindow::create("OnlyOne", "OnlyOne", [](const Message&) { return 2; }, unique, &status);
    EXPECT_FALSE(second);
    EXPECT_EQ(status, RegisterStatus::AlreadyExists);
    // Other names are not affected, and the name is free again once the first goes.
    EXPECT_TRUE(RegisteredWindow::create("OnlyOne", "Other", [](const Message&) { return 3; }, unique));
    first.reset();
    EXPECT_TRUE(RegisteredWindow::create("OnlyOne", "OnlyOne", [](const Message&) { return 4; }, unique, &status));
}

TEST_F(Registry, MarshallerRunsHandlersOnTheOwnersThread) {
    // A stand-in window thread with a queue of calls.
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::function<void()>> queue;
    bool quit = false;
    std::thread windowThread([&] {
        std::unique_lock<std::mutex> lock(m);
        while (!quit) {
            cv.wait(lock, [&] { return quit || !queue.empty(); });
            while (!queue.empty()) {
                auto job = std::move(queue.front());
                queue.pop_front();
                lock.unlock();
                job();
                lock.lock();
            }
        }
    });

    std::thread::id handledOn;
    RegisterOptions opts;
    opts.marshal = [&](const std::function<std::int64_t()>& call) -> std::int64_t {
        std::promise<std::int64_t> done;
        auto answer = done.get_future();
        {
            std::lock_guard<std::mutex> lock(m);
            queue.push_back([&] { done.set_value(call()); });
        }
        cv.notify_all();
        return answer.get();
    };
    auto w = RegisteredWindow::create("GuiClass", "Gui", [&](const Message& msg) -> std::int64_t {
        handledOn = std::this_thread::get_id();
        return static_cast<std::int64_t>(msg.wParam) + 1;
    }, opts);
    ASSERT_TRUE(w);
    EXPECT_EQ(sendMessage("GuiClass", "Gui", Message::user(41, 0)).result, 42);
    EXPECT_EQ(handledOn, windowThread.get_id());

    w.reset();
    {
        std::lock_guard<std::mutex> lock(m);
        quit = true;
    }
    cv.notify_all();
    windowThread.join();
}

TEST_F(Registry, MalformedAndSilentSendersDoNotBlockOthers) {
    RegisterOptions opts;
    opts.readTimeout = 100ms;
    std::atomic<int> calls{0};
    auto w = RegisteredWindow::create("Robust", "Robust", [&](const Message&) -> std::int64_t { return ++calls; }, opts);
    ASSERT_TRUE(w);
    const std::string path = w->window().socketPath;

    auto rawConnect = [&] {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        Address a(path);
        EXPECT_EQ(::connect(fd, a.get(), sizeof a.a), 0);
        return fd;
    };
    // Garbage: refused, the handler is not called.
    int bad = rawConnect();
    std::uint8_t junk[48] = {1, 2, 3};
    ASSERT_EQ(::send(bad, junk, sizeof junk, MSG_NOSIGNAL), 48);
    std::uint8_t reply[16];
    EXPECT_EQ(::recv(bad, reply, sizeof reply, MSG_WAITALL), 16);
    ::close(bad);
    // A sender that connects and never writes holds the window only until its read timeout.
    int silent = rawConnect();
    EXPECT_EQ(sendMessage(w->window(), Message::user(0, 0), 60s).result, 1);
    ::close(silent);
    // A copy-data record larger than the limit is refused at the sender.
    EXPECT_EQ(sendMessage(w->window(), Message::copyData(0, 0, std::vector<std::uint8_t>(kMaxCopyDataBytes + 1))).status,
              SendStatus::Failed);
    EXPECT_EQ(calls.load(), 1);
}

TEST_F(Registry, LongFolderPathsStillWork) {
    std::string longDir = folder_ + "/" + std::string(60, 'a') + "/" + std::string(60, 'b');
    ASSERT_GT(longDir.size(), 108u);
    std::string saved = folder_;
    ::setenv("BRAMBLE_WINDOW_DIR", longDir.c_str(), 1);
    {
        auto w = RegisteredWindow::create("LongClass", "Long", [](const Message&) { return 77; });
        ASSERT_TRUE(w);
        EXPECT_EQ(sendMessage("LongClass", "Long", Message::user(0, 0)).result, 77);
    }
    EXPECT_FALSE(findWindow("LongClass", "Long"));
    ::setenv("BRAMBLE_WINDOW_DIR", saved.c_str(), 1);
}

TEST_F(Registry, AFolderOfOthersIsRefused) {
    std::string open = folder_ + "/world-writable";
    fs::create_directories(open);
    fs::permissions(open, fs::perms::all);
    std::string saved = folder_;
    ::setenv("BRAMBLE_WINDOW_DIR", open.c_str(), 1);
    RegisterStatus status{};
    EXPECT_FALSE(RegisteredWindow::create("X", "X", [](const Message&) { return 0; }, {}, &status));
    EXPECT_EQ(status, RegisterStatus::Failed);
    EXPECT_FALSE(findWindow("X", "X"));
    ::setenv("BRAMBLE_WINDOW_DIR", saved.c_str(), 1);
}

TEST_F(Registry, WorksBetweenProcessesAndNoticesAParentsEnd) {
    // A child registers a window and answers from its own process; the
    // parent's close message ends it.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::atomic<bool> closed{false};
        auto w = RegisteredWindow::create("ChildClass", "Child", [&](const Message& m) -> std::int64_t {
            if (m.kind == MessageKind::Close) closed = true;
            return ::getpid();
        });
        char c = w ? 1 : 0;
        [[maybe_unused]] ssize_t n = ::write(ready[1], &c, 1);
        for (int i = 0; i < 6000 && !closed; ++i) std::this_thread::sleep_for(10ms);  // 60 s hang guard
        w.reset();
        ::_exit(closed ? 0 : 3);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 1);
    EXPECT_EQ(sendMessage("ChildClass", "Child", Message::user(0, 0)).result, child);
    EXPECT_TRUE(sendMessage("ChildClass", "Child", Message::close()).delivered());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(ready[0]);
    ::close(ready[1]);

    // A grandchild watches its parent, which ends first: once the watch has
    // begun (the grandchild says so), never after a guess of time.
    int report[2], watching[2];
    ASSERT_EQ(::pipe(report), 0);
    ASSERT_EQ(::pipe(watching), 0);
    pid_t mid = ::fork();
    ASSERT_GE(mid, 0);
    if (mid == 0) {
        if (::fork() == 0) {
            ParentWatch watch;
            char before = watch.parentGone() ? 1 : 0;
            [[maybe_unused]] ssize_t w = ::write(watching[1], &before, 1);
            for (int i = 0; i < 6000 && !watch.parentGone(); ++i) std::this_thread::sleep_for(10ms);  // 60 s guard
            char after = watch.parentGone() ? 1 : 0;
            char out[2] = {before, after};
            [[maybe_unused]] ssize_t n = ::write(report[1], out, 2);
            ::_exit(0);
        }
        char begun = 0;
        [[maybe_unused]] ssize_t r = ::read(watching[0], &begun, 1);
        ::_exit(0);
    }
    ::close(report[1]);
    ::close(watching[0]);
    ::close(watching[1]);
    ASSERT_EQ(::waitpid(mid, &status, 0), mid);
    char out[2] = {9, 9};
    ASSERT_EQ(::read(report[0], out, 2), 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 1);
    ::close(report[0]);
}
