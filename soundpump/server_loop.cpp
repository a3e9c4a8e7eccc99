// The sound server's one thread: messages from the window registry's service
// thread are handed over to it and answered from it; graph events wake it;
// every quarter second it looks for the end of the process that started it
// and of the game's window.
#include "platform/audio/media_graph.h"
#include "platform/ipc/parent_watch.h"
#include "platform/ipc/window_registry.h"
#include "soundpump/sound_server.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstdio>
#include <deque>
#include <future>
#include <mutex>
#include <string>

namespace soundpump {

namespace {

using namespace std::chrono_literals;
using platform::ipc::Message;

void logLine(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Calls handed to the server's thread, and wake-ups for graph events.
class ServerLoop {
public:
    // On the registry's service thread: runs `call` on the server's thread
    // and answers its result, or 0 once the loop has closed.
    std::int64_t runOnLoop(const std::function<std::int64_t()>& call) {
        auto job = std::make_shared<Job>();
        job->call = &call;
        std::future<std::int64_t> answer = job->result.get_future();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (closed_) return 0;
            jobs_.push_back(job);
        }
        cv_.notify_all();
        return answer.get();
    }

    void wake() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            woken_ = true;
        }
        cv_.notify_all();
    }

    // On the server's thread: waits for work (at most `timeout`) and runs
    // the calls that arrived. True when something woke it.
    bool runPending(std::chrono::milliseconds timeout, const std::function<bool()>& stop) {
        std::deque<std::shared_ptr<Job>> jobs;
        bool woken;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            cv_.wait_for(lock, timeout, [this] { return woken_ || !jobs_.empty(); });
            jobs.swap(jobs_);
            woken = woken_;
            woken_ = false;
        }
        for (auto& job : jobs) {
            // After an end request the remaining calls answer 0 unrun.
            job->result.set_value(stop() ? 0 : (*job->call)());
        }
        return woken || !jobs.empty();
    }

    // Refuses further calls and answers the waiting ones with 0.
    void close() {
        std::deque<std::shared_ptr<Job>> jobs;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
            jobs.swap(jobs_);
        }
        for (auto& job : jobs) job->result.set_value(0);
    }

private:
    struct Job {
        const std::function<std::int64_t()>* call = nullptr;
        std::promise<std::int64_t> result;
    };
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::shared_ptr<Job>> jobs_;
    bool woken_ = false;
    bool closed_ = false;
};

}  // namespace

RunOptions runOptionsFrom(int argc, const char* const* argv) {
    RunOptions run;
    std::string ignored;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--game-pid" && i + 1 < argc) {
            char* end = nullptr;
            const long id = std::strtol(argv[++i], &end, 10);
            if (end && *end == '\0' && id > 0 && id <= 0x7FFFFFFF) run.gameProcessId = static_cast<int>(id);
            else ignored = "the game process id \"" + std::string(argv[i]) + "\"";
        } else {
            ignored = "the argument \"" + arg + "\"";
        }
        if (!ignored.empty()) {
            logLine(("SoundPump: ignoring " + ignored + "\n").c_str());
            ignored.clear();
        }
    }
    if (const char* wait = std::getenv("SOUNDPUMP_GAME_WAIT_MS"); wait && *wait) {
        const long ms = std::strtol(wait, nullptr, 10);
        if (ms > 0) run.gameWindowWait = std::chrono::milliseconds(ms);
    }
    return run;
}

int runSoundPump(const RunOptions& run) {
    // First, before the parent can go.
    const platform::ipc::ParentWatch parent(run.gameProcessId);
    const auto started = std::chrono::steady_clock::now();

    ServerLoop loop;
    SoundServer server(optionsFromEnvironment());
    server.setWakeup([&loop] { loop.wake(); });

    enum class End { None, Closed, GameGone, GameNeverCame, ParentGone } end = End::None;
    bool gameSeen = false;
    auto ending = [&end] { return end != End::None; };

    platform::ipc::RegisterOptions options;
    options.unique = true;
    options.marshal = [&loop](const std::function<std::int64_t()>& call) { return loop.runOnLoop(call); };
    platform::ipc::RegisterStatus status{};
    auto window = platform::ipc::RegisteredWindow::create(
        kServerWindow, kServerWindow,
        [&](const Message& m) -> std::int64_t {
            // Every message first asks whether the game is still there.
            if (!platform::ipc::findWindow(kGameClass, kGameTitle)) {
                end = End::GameGone;
                return 0;
            }
            gameSeen = true;
            std::int64_t result = server.handle(m);
            if (server.closeRequested()) end = End::Closed;
            return result;
        },
        options, &status);
    if (!window) {
        if (status == platform::ipc::RegisterStatus::AlreadyExists)
            logLine("SoundPump: a sound server is already running\n");
        else
            logLine("SoundPump: cannot register the server window\n");
        return 0;
    }
    // The media framework starts once the window is there; the first open
    // would start it anyway, this only takes the time off that open.
    std::string why;
    if (!platform::media::initialize(&why)) std::printf("SoundPump: no media graphs: %s\n", why.c_str());

    auto lastCheck = std::chrono::steady_clock::now();
    while (!ending()) {
        loop.runPending(250ms, ending);
        if (ending()) break;
        server.serviceEvents();
        const auto now = std::chrono::steady_clock::now();
        if (now - lastCheck >= 250ms) {
            lastCheck = now;
            if (parent.parentGone()) {
                end = End::ParentGone;
            } else {
                // The game's window may come after the server starts; once
                // seen, its end is the server's end.
                const bool game = static_cast<bool>(platform::ipc::findWindow(kGameClass, kGameTitle));
                if (game) gameSeen = true;
                else if (gameSeen) end = End::GameGone;
                else if (now - started >= run.gameWindowWait) end = End::GameNeverCame;
            }
        }
    }

    loop.close();
    window.reset();  // no new messages from here
    server.closeAll();
    switch (end) {
    case End::Closed: return 1;
    case End::GameGone: logLine("SoundPump: the game has ended\n"); return 0;
    case End::GameNeverCame: logLine("SoundPump: the game's window did not appear\n"); return 0;
    case End::ParentGone: logLine("SoundPump: the process that started the server has ended\n"); return 0;
    case End::None: return 0;
    }
    return 0;
}

}  // namespace soundpump
