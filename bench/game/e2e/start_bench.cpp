// The program's start up to its first presented frame: WinMain in this
// process with the game's MIDlet over the kit's demo device root, on SDL's
// offscreen driver, the real sound server started from beside BrambleGame
// (its output into a fake sink). Timed from the call of WinMain until the
// main window has shown its first frame; the run then ends through the main
// loop's flag. One run per process (the program's statics are set up once),
// so the benchmark runs one iteration.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "game/flow/canvas.h"
#include "platform/window/window.h"
#include "runtime/application.h"
#include "shell/application_impl.h"
#include "shell/game_program.h"
#include "shell/shell.h"
#include "tools/kit/demo.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void returnInstead(int) {}

void BM_StartToFirstFrame(benchmark::State& state) {
    const fs::path work = fs::temp_directory_path() / ("bramble-start-bench-" + std::to_string(::getpid()));
    fs::remove_all(work);
    kit::buildDemoRoot((work / "demo").string());
    fs::create_directories(work / "windows");
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SOUNDPUMP_SINK", "fakesink", 0);
    setenv("BRAMBLE_HEADLESS", "1", 0);
    setenv("BRAMBLE_DEVICE_ROOT", (work / "demo" / "device").c_str(), 1);
    setenv("BRAMBLE_WINDOW_DIR", (work / "windows").c_str(), 1);

    installGameProgram();

    ShellOptions options;
    options.programFolder = BRAMBLE_PROGRAM_FOLDER;  // "SoundPump.bin" beside BrambleGame
    options.exitProcess = &returnInstead;

    for (auto _ : state) {
        std::atomic<double> seconds{-1};
        std::atomic<bool> stop{false};
        const auto t0 = Clock::now();
        std::thread watcher([&] {
            // A hang guard only: a start that shows nothing in a minute is a failure.
            const auto deadline = t0 + std::chrono::seconds(60);
            while (!stop && Clock::now() < deadline) {
                std::shared_ptr<platform::Window> w = shellState().mainWindow;
                if (w && w->shownFrame() >= 1) {
                    seconds = std::chrono::duration<double>(Clock::now() - t0).count();
                    break;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            // Let the game run on briefly, then end the main loop.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ApplicationImpl::instance().running = false;
        });
        WinMain(options);
        stop = true;
        watcher.join();
        if (seconds < 0) {
            state.SkipWithError("no frame was presented within a minute");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["start_to_first_frame_ms"] = seconds * 1000.0;
    }
    std::error_code ec;
    fs::remove_all(work, ec);
}
BENCHMARK(BM_StartToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
