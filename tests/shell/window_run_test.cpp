// The whole program in a real window (run under Xvfb): BrambleGame with the
// real SoundPump beside it over the kit's demo device root, driven by XTest
// key events from the logos through the sound question, the title and the
// menus into the first level, played for a while, paused by a click on the
// corner the game keeps for it, then closed through the window manager's
// delete request. The window shows the portrait screen turned back: 800x480,
// the title's banner lying wide, and a click at window point (x, y) lands on
// screen point (479 - y, x). The device root starts with a saved progress
// record the test can tell apart (a marked kept byte); closing only stops
// the game and its sounds, so the store's files are the same, byte for byte
// and to the modification time, after the close as before. Frames are read
// back from the X server, the game's own audio goes to SDL's disk driver and
// the sound server's to a raw file through its GStreamer sink, both in the
// test's work folder.
// Every wait is bounded by a generous guard in seconds; nothing here depends
// on how fast the machine is.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/process/process.h"
#include "tools/kit/demo.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/recordstore.h"

// Xlib last: its macros would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kTitle = "Tindrell - Bramble Hollow Saga";

// One grab of the window: 0xRRGGBB pixels, row by row.
struct Frame {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    bool oneColour() const {
        for (uint32_t p : pixels)
            if (p != pixels.front()) return false;
        return true;
    }
    // Distinct colours over a 4-pixel grid.
    size_t colours() const {
        std::set<uint32_t> seen;
        for (int y = 0; y < height; y += 4)
            for (int x = 0; x < width; x += 4) seen.insert(pixels[size_t(y) * width + x]);
        return seen.size();
    }
    // Pixels of the menus' yellow cursor text.
    size_t yellow() const {
        size_t n = 0;
        for (uint32_t p : pixels) n += (p >> 16 & 255) > 180 && (p >> 8 & 255) > 180 && (p & 255) < 120;
        return n;
    }
    // Mean of the three channels over every pixel (0-255).
    double level() const {
        double sum = 0;
        for (uint32_t p : pixels) sum += double((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3.0;
        return pixels.empty() ? 0.0 : sum / double(pixels.size());
    }
    // Bounding box of the pixels within 6 of a colour on each channel; the
    // count of them.
    size_t box(uint32_t colour, int& left, int& top, int& right, int& bottom) const {
        size_t n = 0;
        left = width, top = height, right = -1, bottom = -1;
        auto near = [](uint32_t a, uint32_t b, int shift) { return std::abs(int(a >> shift & 255) - int(b >> shift & 255)) <= 6; };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t p = pixels[size_t(y) * width + x];
                if (!near(p, colour, 16) || !near(p, colour, 8) || !near(p, colour, 0)) continue;
                ++n;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        return n;
    }
    // Share of pixels that are not black.
    double lit() const {
        size_t n = 0;
        for (uint32_t p : pixels) n += p != 0;
        return pixels.empty() ? 0.0 : double(n) / double(pixels.size());
    }
    // Kept in the work folder as a binary PPM, for looking at after a failure.
    void save(const fs::path& file) const {
        std::ofstream out(file, std::ios::binary);
        out << "P6\n" << width << " " << height << "\n255\n";
        for (uint32_t p : pixels) {
            const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
            out.write(rgb, 3);
        }
    }
    bool differsFrom(const Frame& other) const {
        return width != other.width || height != other.height || pixels != other.pixels;
    }
};

std::string windowName(Display* display, ::Window w) {
    XTextProperty name;
    if (!XGetWMName(display, w, &name) || !name.value) return {};
    std::string text(reinterpret_cast<char*>(name.value), name.nitems);
    XFree(name.value);
    return text;
}

::Window findByTitle(Display* display, ::Window under, const std::string& title) {
    if (windowName(display, under) == title) return under;
    ::Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count)) return 0;
    ::Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = findByTitle(display, children[i], title);
    if (children) XFree(children);
    return found;
}

// Bytes of a file holding signed 16-bit samples: true when one is not zero.
// Whether the file holds a non-zero 16-bit sample from byte `from` on.
bool hasSound(const fs::path& file, std::uintmax_t from = 0) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(std::streamoff(from & ~std::uintmax_t(1)));
    std::vector<char> block(1 << 16);
    while (in) {
        in.read(block.data(), std::streamsize(block.size()));
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i + 1 < n; i += 2)
            if (block[size_t(i)] != 0 || block[size_t(i) + 1] != 0) return true;
    }
    return false;
}

bool processGone(pid_t pid) {
    if (pid <= 0) return true;
    if (::kill(pid, 0) != 0) return errno == ESRCH;
    // A process that has ended but is not reaped yet counts as gone.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

// The progress store's name (string-pool entry 108) and the kept byte the
// seeded record carries (byte 0, which every reset of the record keeps).
std::string progressStoreName() {
    const std::u16string s = kit::demoStringPool().at(108);
    return std::string(s.begin(), s.end());
}
constexpr int64_t kKeptMark = 0xA5;

// The store's files: name -> (bytes, modification time).
struct StoredFile {
    std::vector<char> bytes;
    fs::file_time_type time;
    bool operator==(const StoredFile&) const = default;
};
std::map<std::string, StoredFile> storeFiles(const fs::path& folder) {
    std::map<std::string, StoredFile> out;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("rs_", 0) != 0) continue;
        std::ifstream in(e.path(), std::ios::binary);
        StoredFile f{std::vector<char>(std::istreambuf_iterator<char>(in), {}), fs::last_write_time(e.path())};
        out[name] = std::move(f);
    }
    return out;
}

// Windows come and go while the tree is walked (SDL makes short-lived ones):
// a request about a window that is gone is not an error of the test.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

bool waitUntil(std::chrono::seconds limit, const std::function<bool()>& done) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

class WindowRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (run under xvfb-run)";
        display_ = XOpenDisplay(nullptr);
        if (!display_) GTEST_SKIP() << "no X server at DISPLAY";
        XSetErrorHandler(&ignoreXErrors);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor)) << "the X server has no XTest";
        // Keys are held as long as a busy machine needs to show the press;
        // the server's auto-repeat would turn a long hold into more presses
        // (one confirm would run on through the title). The server is the
        // test's own.
        XAutoRepeatOff(display_);
        XSync(display_, False);

        work_ = fs::current_path() / "run";
        fs::remove_all(work_);
        fs::create_directories(work_ / "program");
        fs::create_directories(work_ / "windows");
        const std::string bar = kit::buildDemoRoot((work_ / "demo").string());
        appFolder_ = fs::path(bar).parent_path();
        // A saved progress record of an earlier run, marked in its kept byte.
        kit::RecordStoreContents saved;
        saved.records.push_back({1, kit::buildProgress({{"kept", kKeptMark}})});
        kit::writeRecordStore(appFolder_.string(), progressStoreName(), saved);
        fs::copy_file(BRAMBLE_GAME_PATH, work_ / "program" / "BrambleGame");
        // The sound server notes its process id, then becomes the real one.
        pumpPidFile_ = work_ / "soundpump.pid";
        std::ofstream script(work_ / "program" / "SoundPump.bin");
        script << "#!/bin/sh\necho $$ > \"" << pumpPidFile_.string() << "\"\nexec \"" << SOUNDPUMP_PATH
               << "\" \"$@\"\n";
        script.close();
        fs::permissions(work_ / "program" / "SoundPump.bin", fs::perms::owner_all, fs::perm_options::add);

        gameAudio_ = work_ / "game-audio.raw";
        pumpAudio_ = work_ / "soundpump-audio.raw";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", gameAudio_.c_str(), 1);
        // The sound server's graphs append to one file, unbuffered, so that
        // what was played is on disk when looked at.
        const std::string sink = "audio/x-raw,format=S16LE,channels=1,rate=8000 ! filesink append=true buffer-mode=unbuffered location=\"" +
                                 pumpAudio_.string() + "\"";
        setenv("SOUNDPUMP_SINK", sink.c_str(), 1);
        setenv("BRAMBLE_DEVICE_ROOT", (work_ / "demo" / "device").c_str(), 1);
        setenv("BRAMBLE_WINDOW_DIR", (work_ / "windows").c_str(), 1);
        unsetenv("BRAMBLE_HEADLESS");
    }
    void TearDown() override {
        if (game_ > 0 && !platform::waitForChild(game_, 0)) {
            ::kill(game_, SIGKILL);
            platform::waitForChild(game_, 10000);
        }
        const pid_t pump = soundPumpPid();
        if (pump > 0 && !processGone(pump)) ::kill(pump, SIGKILL);
        if (display_) XCloseDisplay(display_);
    }

    pid_t soundPumpPid() const {
        std::ifstream in(pumpPidFile_);
        pid_t pid = 0;
        in >> pid;
        return pid;
    }

    Frame grab() {
        Frame f;
        XWindowAttributes a;
        if (!window_ || !XGetWindowAttributes(display_, window_, &a) || a.map_state != IsViewable) return f;
        XImage* image = XGetImage(display_, window_, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        if (!image) return f;
        f.width = a.width;
        f.height = a.height;
        f.pixels.resize(size_t(a.width) * size_t(a.height));
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                f.pixels[size_t(y) * a.width + x] = uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF;
        XDestroyImage(image);
        return f;
    }

    void focus() {
        XRaiseWindow(display_, window_);
        XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
        XSync(display_, False);
    }
    void keyDown(KeySym key) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
        XSync(display_, False);
    }
    void keyUp(KeySym key) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
        XSync(display_, False);
    }
    // Waits until the window has shown `pictures` new pictures (an animated
    // screen shows one a step, so that many steps ran) and `least` has
    // passed, or `most` has passed (a still screen shows no new pictures).
    void waitPictures(int pictures, std::chrono::milliseconds least, std::chrono::milliseconds most) {
        const auto t0 = Clock::now();
        Frame last = grab();
        int changes = 0;
        while ((changes < pictures || Clock::now() - t0 < least) && Clock::now() - t0 < most) {
            std::this_thread::sleep_for(30ms);
            Frame now = grab();
            if (now.differsFrom(last)) {
                ++changes;
                last = std::move(now);
            }
        }
    }
    // Waits until the picture has stood still for `still` (an animation or
    // a transition is over); 120 s is only the hang guard.
    void waitStill(std::chrono::milliseconds still) {
        const auto t0 = Clock::now();
        Frame last = grab();
        auto since = Clock::now();
        while (Clock::now() - since < still && Clock::now() - t0 < 120s) {
            std::this_thread::sleep_for(30ms);
            Frame now = grab();
            if (now.differsFrom(last)) {
                last = std::move(now);
                since = Clock::now();
            }
        }
    }
    // The game reads keys once a logic step, and a release before the next
    // step takes the press back: a key is held until the window has shown
    // two new pictures (a step ran while it was down) and at least `least`,
    // or 10 s on a still screen, then let go for `after` and two pictures
    // (2 s more on a still screen).
    void press(KeySym key, std::chrono::milliseconds after = 900ms, std::chrono::milliseconds least = 300ms) {
        hold(key, least);
        waitPictures(2, after, after + 2s);
    }
    void hold(KeySym key, std::chrono::milliseconds least) {
        keyDown(key);
        waitPictures(2, least, std::max<std::chrono::milliseconds>(least, 10s));
        keyUp(key);
    }
    // A left click at a point of the window (its own coordinates), the
    // button held for a tenth of a second.
    void click(int x, int y) {
        int rootX = 0, rootY = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XSync(display_, False);
        std::this_thread::sleep_for(100ms);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
    }

    void closeByWindowManager() {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window_;
        e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window_, False, NoEventMask, &e);
        XSync(display_, False);
    }

    bool gameRunning() { return game_ > 0 && !platform::waitForChild(game_, 0, &status_); }

    Display* display_ = nullptr;
    ::Window window_ = 0;
    pid_t game_ = -1;
    int status_ = 0;
    fs::path work_, appFolder_, pumpPidFile_, gameAudio_, pumpAudio_;
};

// Colours of the demo: the frame of the title's banner, and the menus'
// yellow and green row texts.
constexpr uint32_t kBannerFrame = 0xC69242, kMenuYellow = 0xFFEF42, kMenuGreen = 0x8CFF8C;

// The play view fills the screen with tiles and sprites; the screens before
// it are text on black, or the title's banner or a menu's rows over the
// title's picture.
bool looksLikePlay(const Frame& f) {
    if (f.empty() || f.lit() <= 0.05 || f.colours() < 8) return false;
    int left, top, right, bottom;
    const size_t menuText = f.box(kMenuYellow, left, top, right, bottom) + f.box(kMenuGreen, left, top, right, bottom);
    return menuText < 40 && f.box(kBannerFrame, left, top, right, bottom) < 1000;
}

TEST_F(WindowRun, LogosToTheFirstLevelWithSoundThenCloseLeavesTheSave) {
    game_ = platform::startCommand({(work_ / "program" / "BrambleGame").string()});
    ASSERT_GT(game_, 0);
    ASSERT_TRUE(waitUntil(120s, [&] {
        window_ = findByTitle(display_, DefaultRootWindow(display_), kTitle);
        return window_ != 0 || !gameRunning();
    }));
    ASSERT_NE(window_, 0u) << "the game's window never appeared";
    focus();

    // The first screens: something other than one flat colour.
    Frame f;
    int grabs = 0, empties = 0;
    const bool drawn = waitUntil(120s, [&] {
        f = grab();
        ++grabs;
        if (f.empty()) {
            // Not (yet) viewable: look the window up again.
            ++empties;
            if (::Window w = findByTitle(display_, DefaultRootWindow(display_), kTitle)) window_ = w;
        }
        return (!f.empty() && !f.oneColour()) || !gameRunning();
    });
    if (!f.empty()) f.save(work_ / "first.ppm");
    ASSERT_TRUE(drawn) << "no drawn frame reached the window (" << grabs << " grabs, " << empties
                       << " of a window not viewable; see first.ppm)";
    // The 480x800 screen turned back: an 800x480 window (the test's screen
    // has room for it unscaled).
    EXPECT_EQ(f.width, 800);
    EXPECT_EQ(f.height, 480);
    ASSERT_TRUE(gameRunning());

    // The sound question after the first notice: the first screen with a
    // menu cursor's yellow text (the logos, the loading screens and the
    // notice have none). The cursor starts on the second answer ("no"); up
    // moves it to "yes" once the menu's opening transition is over (keys
    // pressed during it are not looked at), and more presses keep it there.
    ASSERT_TRUE(waitUntil(180s, [&] {
        f = grab();
        return f.yellow() >= 100 || !gameRunning();
    })) << "the sound question never showed";
    ASSERT_TRUE(gameRunning());
    f.save(work_ / "question.ppm");
    // Keys are looked at once the opening transition is over and the
    // picture stands still.
    waitStill(2s);
    for (int i = 0; i < 3; ++i) press(XK_Up);
    grab().save(work_ / "question-up.ppm");
    press(XK_Return);

    // The title reads upright: the demo's banner (a wide box) lies with its
    // wider side along the window's.
    int left = 0, top = 0, right = 0, bottom = 0;
    const bool banner = waitUntil(120s, [&] {
        f = grab();
        return f.box(kBannerFrame, left, top, right, bottom) > 1000 || !gameRunning();
    });
    f.save(work_ / "title-banner.ppm");
    ASSERT_TRUE(banner) << "the title's banner never showed (see title-banner.ppm)";
    EXPECT_GT(right - left, 2 * (bottom - top)) << "banner box " << left << "," << top << " to " << right << ","
                                                << bottom << " (see title-banner.ppm)";
    EXPECT_GT(right - left, 400);

    // With sound on, the title's music reaches the sound server's sink.
    const bool music = waitUntil(120s, [&] { return hasSound(pumpAudio_) || !gameRunning(); });
    grab().save(work_ / "title.ppm");
    ASSERT_TRUE(music)
        << "the title music never reached the sound server's output (see title.ppm)";
    ASSERT_TRUE(gameRunning());

    // Title, main menu (new game), game menu, difficulty, stage intro: each
    // goes on with the confirm key.
    for (int i = 0; i < 40 && !looksLikePlay(f = grab()) && gameRunning(); ++i) press(XK_Return, 1500ms);
    ASSERT_TRUE(gameRunning());
    // The stage's intro is drawn over the level: one more confirm starts
    // play (in play the key is only the hero's fire).
    press(XK_Return, 2000ms);
    // The intro's camera pan may still show a view with the far layer only
    // (slow builds, busy cores): wait for the play view.
    waitUntil(120s, [&] {
        f = grab();
        return looksLikePlay(f) || !gameRunning();
    });
    f.save(work_ / "play.ppm");
    ASSERT_TRUE(looksLikePlay(f)) << "the first level never showed (see play.ppm; " << f.colours() << " colours, "
                                  << int(f.lit() * 100) << "% lit)";

    // Play for a while: walk right, jump, walk left, each key held over
    // steps the window shows; frames keep coming.
    // The level's music restarts on entry; a restart flushes the sink, which
    // empties its file, so the music is looked for after every move.
    std::vector<Frame> frames;
    frames.push_back(grab());
    std::error_code sizeError;
    const std::uintmax_t audioBeforePlay = fs::file_size(gameAudio_, sizeError);
    bool musicInPlay = false;
    for (KeySym k : {XK_Right, XK_Up, XK_Right, XK_Left, XK_Right}) {
        hold(k, 1500ms);
        frames.push_back(grab());
        musicInPlay = musicInPlay || hasSound(pumpAudio_);
    }
    ASSERT_TRUE(gameRunning());
    int changes = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_FALSE(frames[i].empty()) << "grab " << i;
        EXPECT_FALSE(frames[i].oneColour()) << "grab " << i;
        if (i > 0 && frames[i].differsFrom(frames[i - 1])) ++changes;
    }
    EXPECT_GE(changes, 3) << "the picture stood still while the hero was moved";
    EXPECT_TRUE(looksLikePlay(frames.back())) << "the level was left while playing";
    EXPECT_TRUE(musicInPlay) << "the level's music never reached the sound server's output";
    // The hero's jump (key 3) plays an effect: the game's own mixer writes
    // it to SDL's disk file after play began.
    // A press a busy machine loses is pressed again.
    const std::uintmax_t from = sizeError ? 0 : audioBeforePlay;
    EXPECT_TRUE(waitUntil(120s, [&] {
        if (hasSound(gameAudio_, from) || !gameRunning()) return true;
        hold(XK_3, 500ms);
        return hasSound(gameAudio_, from);
    }) && hasSound(gameAudio_, from))
        << "no game effect reached SDL's audio output after play began (" << gameAudio_ << " from byte " << from << ")";

    // A click on the window's bottom-right corner is a touch on the screen's
    // bottom-left one ((760, 450) is (29, 760)), the corner that pauses
    // play: the pause menu dims the view and shows its rows in yellow. The
    // same corner leaves the pause menu, so a click is repeated only when
    // the game has plainly gone on playing after it (30 pictures of play,
    // or a minute of play: play had not taken touches yet), never after a
    // few seconds that a busy machine may need to show the pause.
    Frame playing = grab();
    const double playLevel = playing.level();
    auto isPaused = [&](const Frame& g) { return g.yellow() >= 100 && g.level() < playLevel / 2; };
    int clicks = 0;
    bool paused = false, playWentOn = true;
    while (playWentOn && !paused && clicks < 10 && gameRunning()) {
        click(760, 450);
        ++clicks;
        Frame last = grab();
        int playPictures = 0;
        playWentOn = false;
        const bool ended = waitUntil(60s, [&] {
            f = grab();
            paused = isPaused(f);
            if (paused || !gameRunning()) return true;
            if (!f.differsFrom(last)) return false;
            last = f;
            playPictures = looksLikePlay(f) ? playPictures + 1 : -1000;
            playWentOn = playPictures >= 30;
            return playWentOn;
        });
        if (!ended) playWentOn = playPictures >= 0 && looksLikePlay(f);
    }
    f.save(work_ / "paused.ppm");
    ASSERT_TRUE(gameRunning());
    EXPECT_TRUE(paused) << "a click on the pause corner did not pause (see paused.ppm; level " << f.level()
                        << " against " << playLevel << " in play, " << f.yellow() << " yellow, " << clicks
                        << " clicks)";

    // The store as play left it: the seeded record, read by the game (a
    // fresh record would not hold the mark: only a reset of the record read
    // keeps it).
    const std::map<std::string, StoredFile> beforeClose = storeFiles(appFolder_);
    {
        const kit::RecordStoreContents store = kit::readRecordStore(appFolder_.string(), progressStoreName());
        ASSERT_EQ(store.records.size(), 1u);
        ASSERT_EQ(store.records[0].data.size(), kit::kProgressRecordBytes);
        EXPECT_EQ(store.records[0].data[0], kKeptMark) << "the saved record was not the one the game read";
    }
    ASSERT_GE(beforeClose.size(), 2u) << "the store's index and its record file";

    // The window manager's close: the program stops its sounds and ends with
    // 0, the sound server ends with it, and the save is left as it was.
    closeByWindowManager();
    ASSERT_TRUE(waitUntil(120s, [&] { return !gameRunning(); })) << "the program did not end after the close";
    ASSERT_TRUE(WIFEXITED(status_)) << "ended by signal " << (WIFSIGNALED(status_) ? WTERMSIG(status_) : 0);
    EXPECT_EQ(WEXITSTATUS(status_), 0);
    game_ = -1;
    const std::map<std::string, StoredFile> afterClose = storeFiles(appFolder_);
    EXPECT_EQ(afterClose.size(), beforeClose.size());
    for (const auto& [name, file] : beforeClose) {
        auto it = afterClose.find(name);
        ASSERT_NE(it, afterClose.end()) << name << " is gone after the close";
        EXPECT_EQ(it->second.bytes, file.bytes) << name << " changed on the close";
        EXPECT_TRUE(it->second.time == file.time) << name << " was written on the close";
    }
    const pid_t pump = soundPumpPid();
    EXPECT_GT(pump, 0) << "the sound server was never started";
    EXPECT_TRUE(waitUntil(60s, [&] { return processGone(pump); })) << "the sound server outlived the game";
}

}  // namespace
