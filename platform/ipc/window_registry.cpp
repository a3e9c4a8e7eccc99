// The window registry over Unix-domain sockets. Each registered window is a
// listening socket in the registry folder named "<hash>-<pid>-<n>.sock", the
// hash taken over class and title; one connection carries one request and
// its answer. All socket I/O is non-blocking and waits in poll() against a
// deadline, so neither side can be held by a peer that stops answering.
#include "platform/ipc/window_registry.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::ipc {

namespace {

using Clock = std::chrono::steady_clock;

void logError(const std::string& text) {
    std::string line = "window registry: " + text + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

constexpr std::uint32_t kRequestMagic = 0x314D5742;  // "BWM1"
constexpr std::uint32_t kReplyMagic = 0x31525742;    // "BWR1"
constexpr std::size_t kRequestHeaderSize = 48;
constexpr std::size_t kReplySize = 16;
constexpr std::uint32_t kReplyOk = 0;
constexpr std::uint32_t kReplyRefused = 1;

template <typename T>
void put(std::uint8_t* p, T v) { std::memcpy(p, &v, sizeof v); }
template <typename T>
T get(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t windowHash(const std::string& windowClass, const std::string& title) {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a
    auto mix = [&h](unsigned char c) {
        h ^= c;
        h *= 0x100000001b3ull;
    };
    for (unsigned char c : windowClass) mix(c);
    mix(0);
    for (unsigned char c : title) mix(c);
    return h;
}

std::string hashPrefix(const std::string& windowClass, const std::string& title) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx-", static_cast<unsigned long long>(windowHash(windowClass, title)));
    return buf;
}

bool isSocketEntry(const char* name, const std::string& prefix) {
    std::size_t n = std::strlen(name);
    return n > prefix.size() + 5 && std::strncmp(name, prefix.c_str(), prefix.size()) == 0 &&
           std::strcmp(name + n - 5, ".sock") == 0;
}

// A socket address for a path that may be longer than sun_path holds: then
// the folder is opened and reached through /proc/self/fd.
class SocketAddress {
public:
    explicit SocketAddress(const std::string& path) {
        std::memset(&addr_, 0, sizeof addr_);
        addr_.sun_family = AF_UNIX;
        std::string use = path;
        if (path.size() >= sizeof addr_.sun_path) {
            std::size_t slash = path.rfind('/');
            std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
            dirfd_ = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (dirfd_ < 0) return;
            use = "/proc/self/fd/" + std::to_string(dirfd_) + "/" + path.substr(slash + 1);
            if (use.size() >= sizeof addr_.sun_path) return;
        }
        std::memcpy(addr_.sun_path, use.c_str(), use.size() + 1);
        ok_ = true;
    }
    ~SocketAddress() {
        if (dirfd_ >= 0) ::close(dirfd_);
    }
    bool ok() const { return ok_; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr_); }
    socklen_t size() const { return sizeof addr_; }

private:
    sockaddr_un addr_;
    int dirfd_ = -1;
    bool ok_ = false;
};

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o) {
            reset();
            fd_ = o.fd_;
            o.fd_ = -1;
        }
        return *this;
    }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

int remainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return left > 60000 ? 60000 : static_cast<int>(left);
}

enum class Io { Done, TimedOut, Closed, Error, Stopped };

// Waits until fd is ready for `events` or the deadline passes; a readable
// wake fd (>= 0) stops the wait.
Io waitFor(int fd, short events, Clock::time_point deadline, int wakeFd) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        int ms = remainingMs(deadline);
        if (ms == 0) return Io::TimedOut;
        int n = ::poll(fds, wakeFd >= 0 ? 2 : 1, ms);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Io::Error;
        }
        if (n == 0) continue;  // re-check the deadline
        if (wakeFd >= 0 && (fds[1].revents & POLLIN)) return Io::Stopped;
        if (fds[0].revents & (events | POLLHUP | POLLERR)) return Io::Done;
    }
}

Io readAll(int fd, std::uint8_t* p, std::size_t n, Clock::time_point deadline, int wakeFd = -1) {
    while (n > 0) {
        ssize_t r = ::recv(fd, p, n, 0);
        if (r > 0) {
            p += r;
            n -= static_cast<std::size_t>(r);
            continue;
        }
        if (r == 0) return Io::Closed;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return Io::Error;
        Io w = waitFor(fd, POLLIN, deadline, wakeFd);
        if (w != Io::Done) return w;
    }
    return Io::Done;
}

Io writeAll(int fd, const std::uint8_t* p, std::size_t n, Clock::time_point deadline, int wakeFd = -1) {
    while (n > 0) {
        ssize_t r = ::send(fd, p, n, MSG_NOSIGNAL);
        if (r > 0) {
            p += r;
            n -= static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return errno == EPIPE ? Io::Closed : Io::Error;
        Io w = waitFor(fd, POLLOUT, deadline, wakeFd);
        if (w != Io::Done) return w;
    }
    return Io::Done;
}

enum class Probe { Alive, Stale, Gone };

// Connects to a window's socket without waiting. A full backlog still means
// a live (if busy) owner; a refused connection means the owner is gone.
Probe connectTo(const std::string& path, Fd* out) {
    SocketAddress addr(path);
    if (!addr.ok()) return Probe::Gone;
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return Probe::Gone;
    int r;
    do {
        r = ::connect(fd.get(), addr.get(), addr.size());
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
        if (out) *out = std::move(fd);
        return Probe::Alive;
    }
    if (errno == EAGAIN || errno == EINPROGRESS) return Probe::Alive;
    if (errno == ECONNREFUSED) return Probe::Stale;
    return Probe::Gone;
}

// Checks that the folder is ours and private; creates it when asked.
bool usableFolder(const std::string& dir, bool create) {
    struct stat st;
    if (::lstat(dir.c_str(), &st) != 0) {
        if (!create || errno != ENOENT) return false;
        // Create the missing components; only the last one is made private.
        for (std::size_t i = 1; i < dir.size(); ++i) {
            if (dir[i] == '/') {
                std::string part = dir.substr(0, i);
                if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) break;
            }
        }
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
            logError("cannot create folder " + dir + ": " + std::strerror(errno));
            return false;
        }
        if (::lstat(dir.c_str(), &st) != 0) return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 022) != 0) {
        // Said once per folder: finds run before every message.
        static std::mutex m;
        static std::string reported;
        std::lock_guard<std::mutex> lock(m);
        if (reported != dir) {
            reported = dir;
            logError("folder " + dir + " is not a private folder of this user; not used");
        }
        return false;
    }
    return true;
}

// The registry's lock, held while a unique window is checked and bound.
class RegistryLock {
public:
    explicit RegistryLock(const std::string& dir)
        : fd_(::open((dir + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_) {
            while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~RegistryLock() {
        if (fd_) ::flock(fd_.get(), LOCK_UN);
    }

private:
    Fd fd_;
};

Window findIn(const std::string& dir, const std::string& windowClass, const std::string& title) {
    const std::string prefix = hashPrefix(windowClass, title);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return {};
    std::vector<std::string> candidates;
    while (dirent* e = ::readdir(d)) {
        if (isSocketEntry(e->d_name, prefix)) candidates.push_back(dir + "/" + e->d_name);
    }
    ::closedir(d);
    for (const std::string& path : candidates) {
        switch (connectTo(path, nullptr)) {
        case Probe::Alive:
            return Window{path};
        case Probe::Stale:
            ::unlink(path.c_str());
            break;
        case Probe::Gone:
            break;
        }
    }
    return {};
}

std::atomic<unsigned> g_sequence{0};

}  // namespace

// --- Message --------------------------------------------------------------

Message Message::copyData(std::uint64_t wParam, std::uint64_t dwData, std::vector<std::uint8_t> bytes) {
    Message m;
    m.kind = MessageKind::CopyData;
    m.wParam = wParam;
    m.dwData = dwData;
    m.data = std::move(bytes);
    return m;
}

Message Message::user(std::uint64_t wParam, std::int64_t lParam, std::uint32_t userCode) {
    Message m;
    m.kind = MessageKind::User;
    m.userCode = userCode;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

Message Message::close() {
    Message m;
    m.kind = MessageKind::Close;
    return m;
}

Message Message::bringToFront() {
    Message m;
    m.kind = MessageKind::BringToFront;
    return m;
}

// --- Sending --------------------------------------------------------------

std::string registryFolder() {
    if (const char* dir = std::getenv("BRAMBLE_WINDOW_DIR"); dir && *dir) return dir;
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) return std::string(run) + "/bramble-windows";
    return "/tmp/bramble-windows-" + std::to_string(::getuid());
}

Window findWindow(const std::string& windowClass, const std::string& title) {
    const std::string dir = registryFolder();
    if (!usableFolder(dir, false)) return {};
    return findIn(dir, windowClass, title);
}

Window waitForWindow(const std::string& windowClass, const std::string& title, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (Window w = findWindow(windowClass, title)) return w;
        if (Clock::now() >= deadline) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

SendResult sendMessage(const Window& window, const Message& message, std::chrono::milliseconds timeout) {
    if (!window) return {SendStatus::NoWindow, 0};
    if (message.data.size() > kMaxCopyDataBytes) return {SendStatus::Failed, 0};
    const Clock::time_point deadline = Clock::now() + timeout;

    Fd fd;
    for (;;) {
        Probe p = connectTo(window.socketPath, &fd);
        if (p != Probe::Alive) return {SendStatus::NoWindow, 0};
        if (fd) break;
        // The owner's backlog is full: it is alive but not taking connections.
        if (Clock::now() >= deadline) return {SendStatus::TimedOut, 0};
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    const bool hasData = message.kind == MessageKind::CopyData;
    std::vector<std::uint8_t> req(kRequestHeaderSize + (hasData ? message.data.size() : 0));
    put<std::uint32_t>(&req[0], kRequestMagic);
    put<std::uint32_t>(&req[4], static_cast<std::uint32_t>(message.kind));
    put<std::uint32_t>(&req[8], message.userCode);
    put<std::uint32_t>(&req[12], hasData ? static_cast<std::uint32_t>(message.data.size()) : 0u);
    put<std::uint64_t>(&req[16], message.wParam);
    put<std::int64_t>(&req[24], message.lParam);
    put<std::uint64_t>(&req[32], message.dwData);
    put<std::uint64_t>(&req[40], 0);
    if (hasData && !message.data.empty()) std::memcpy(&req[kRequestHeaderSize], message.data.data(), message.data.size());

    Io w = writeAll(fd.get(), req.data(), req.size(), deadline);
    if (w == Io::TimedOut) return {SendStatus::TimedOut, 0};
    if (w != Io::Done) return {SendStatus::Failed, 0};

    std::uint8_t reply[kReplySize];
    Io r = readAll(fd.get(), reply, sizeof reply, deadline);
    if (r == Io::TimedOut) return {SendStatus::TimedOut, 0};
    if (r != Io::Done) return {SendStatus::Failed, 0};
    if (get<std::uint32_t>(reply) != kReplyMagic || get<std::uint32_t>(reply + 4) != kReplyOk)
        return {SendStatus::Failed, 0};
    return {SendStatus::Delivered, get<std::int64_t>(reply + 8)};
}

SendResult sendMessage(const std::string& windowClass, const std::string& title, const Message& message,
                       std::chrono::milliseconds timeout) {
    return sendMessage(findWindow(windowClass, title), message, timeout);
}

bool bringToFront(const Window& window, std::chrono::milliseconds timeout) {
    return sendMessage(window, Message::bringToFront(), timeout).delivered();
}

// --- Receiving ------------------------------------------------------------

struct RegisteredWindow::Impl {
    std::string windowClass;
    std::string title;
    std::string path;
    Handler handler;
    RegisterOptions options;
    Fd listenFd;
    Fd wakeRead;
    Fd wakeWrite;
    std::thread thread;
    std::atomic<bool> stopping{false};
    dev_t dev = 0;
    ino_t ino = 0;

    void serve();
    void serveOne(int fd);
};

void RegisteredWindow::Impl::serve() {
    for (;;) {
        pollfd fds[2] = {{listenFd.get(), POLLIN, 0}, {wakeRead.get(), POLLIN, 0}};
        int n = ::poll(fds, 2, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            logError("poll failed for window \"" + title + "\": " + std::strerror(errno));
            return;
        }
        if (stopping.load() || (fds[1].revents & POLLIN)) return;
        if (!(fds[0].revents & POLLIN)) continue;
        Fd conn(::accept4(listenFd.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!conn) continue;
        serveOne(conn.get());
    }
}

void RegisteredWindow::Impl::serveOne(int fd) {
    const Clock::time_point deadline = Clock::now() + options.readTimeout;
    std::uint8_t head[kRequestHeaderSize];
    Io r = readAll(fd, head, sizeof head, deadline, wakeRead.get());
    if (r == Io::Closed) return;  // a finder's probe, or a sender that gave up
    if (r != Io::Done) return;

    auto refuse = [&] {
        std::uint8_t reply[kReplySize];
        put<std::uint32_t>(reply, kReplyMagic);
        put<std::uint32_t>(reply + 4, kReplyRefused);
        put<std::int64_t>(reply + 8, 0);
        writeAll(fd, reply, sizeof reply, deadline, wakeRead.get());
    };

    Message m;
    const std::uint32_t kind = get<std::uint32_t>(head + 4);
    const std::uint32_t length = get<std::uint32_t>(head + 12);
    if (get<std::uint32_t>(head) != kRequestMagic || kind < 1 || kind > 4 ||
        length > kMaxCopyDataBytes || (kind != static_cast<std::uint32_t>(MessageKind::CopyData) && length != 0)) {
        logError("refused a malformed message for window \"" + title + "\"");
        refuse();
        return;
    }
    m.kind = static_cast<MessageKind>(kind);
    m.userCode = get<std::uint32_t>(head + 8);
    m.wParam = get<std::uint64_t>(head + 16);
    m.lParam = get<std::int64_t>(head + 24);
    m.dwData = get<std::uint64_t>(head + 32);
    if (length > 0) {
        m.data.resize(length);
        if (readAll(fd, m.data.data(), length, deadline, wakeRead.get()) != Io::Done) return;
    }

    std::int64_t result = 0;
    auto call = [&]() -> std::int64_t { return handler ? handler(m) : 0; };
    try {
        result = options.marshal ? options.marshal(call) : call();
    } catch (...) {
        logError("the handler of window \"" + title + "\" failed");
        result = 0;
    }

    std::uint8_t reply[kReplySize];
    put<std::uint32_t>(reply, kReplyMagic);
    put<std::uint32_t>(reply + 4, kReplyOk);
    put<std::int64_t>(reply + 8, result);
    // The sender may have timed out meanwhile; a broken pipe is no error here.
    // A stop request does not cut the answer short: it is already owed.
    writeAll(fd, reply, sizeof reply, Clock::now() + options.readTimeout);
}

std::unique_ptr<RegisteredWindow> RegisteredWindow::create(const std::string& windowClass, const std::string& title,
                                                           Handler handler, RegisterOptions options,
                                                           RegisterStatus* status) {
    auto fail = [status](RegisterStatus s) -> std::unique_ptr<RegisteredWindow> {
        if (status) *status = s;
        return nullptr;
    };
    const std::string dir = registryFolder();
    if (!usableFolder(dir, true)) return fail(RegisterStatus::Failed);

    auto impl = std::make_unique<Impl>();
    impl->windowClass = windowClass;
    impl->title = title;
    impl->handler = std::move(handler);
    impl->options = std::move(options);

    char name[64];
    std::snprintf(name, sizeof name, "%s%d-%u.sock", hashPrefix(windowClass, title).c_str(),
                  static_cast<int>(::getpid()), g_sequence.fetch_add(1));
    impl->path = dir + "/" + name;

    {
        RegistryLock lock(dir);
        if (impl->options.unique && findIn(dir, windowClass, title)) return fail(RegisterStatus::AlreadyExists);

        // The socket is bound under a temporary name and renamed into place
        // once it listens: a finder never meets the entry before it answers
        // (it would take it for a dead owner's and remove it).
        const std::string temporary = impl->path + ".new";
        impl->listenFd = Fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        SocketAddress addr(temporary);
        if (!impl->listenFd || !addr.ok()) {
            logError("cannot make a socket for window \"" + title + "\"");
            return fail(RegisterStatus::Failed);
        }
        ::unlink(temporary.c_str());
        if (::bind(impl->listenFd.get(), addr.get(), addr.size()) != 0 || ::listen(impl->listenFd.get(), 16) != 0 ||
            ::rename(temporary.c_str(), impl->path.c_str()) != 0) {
            logError("cannot register window \"" + title + "\": " + std::strerror(errno));
            ::unlink(temporary.c_str());
            return fail(RegisterStatus::Failed);
        }
        struct stat st;
        if (::stat(impl->path.c_str(), &st) == 0) {
            impl->dev = st.st_dev;
            impl->ino = st.st_ino;
        }
    }

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::unlink(impl->path.c_str());
        return fail(RegisterStatus::Failed);
    }
    impl->wakeRead = Fd(pipeFds[0]);
    impl->wakeWrite = Fd(pipeFds[1]);

    Impl* raw = impl.get();
    impl->thread = std::thread([raw] { raw->serve(); });
    if (status) *status = RegisterStatus::Registered;
    return std::unique_ptr<RegisteredWindow>(new RegisteredWindow(std::move(impl)));
}

RegisteredWindow::RegisteredWindow(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

RegisteredWindow::~RegisteredWindow() {
    // Leave the registry first so that no finder sees a window that is going.
    struct stat st;
    if (::stat(impl_->path.c_str(), &st) == 0 && st.st_dev == impl_->dev && st.st_ino == impl_->ino)
        ::unlink(impl_->path.c_str());
    impl_->stopping.store(true);
    const char one = 1;
    [[maybe_unused]] ssize_t w = ::write(impl_->wakeWrite.get(), &one, 1);
    if (impl_->thread.get_id() == std::this_thread::get_id()) {
        // Destroyed from inside its own handler: the service thread ends by
        // itself after this message and owns what it still uses.
        impl_->thread.detach();
        (void)impl_.release();
        return;
    }
    impl_->thread.join();
}

const std::string& RegisteredWindow::windowClass() const { return impl_->windowClass; }
const std::string& RegisteredWindow::title() const { return impl_->title; }
Window RegisteredWindow::window() const { return Window{impl_->path}; }

}  // namespace platform::ipc
