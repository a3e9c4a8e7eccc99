// The sound server's slots and message protocol (see sound_server.h).
#include "soundpump/sound_server.h"

#include "platform/fs/fs.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

namespace soundpump {

using platform::ipc::Message;
using platform::ipc::MessageKind;
using platform::media::GraphState;
using platform::media::MediaGraph;

namespace {

void logLine(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void logLine(const char* fmt, ...) {
    char buf[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    std::fputs(buf, stdout);
    std::fflush(stdout);
}

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// UTF-16 (little-endian units) to UTF-8; unpaired surrogates fail.
std::optional<std::string> toUtf8(const std::uint8_t* units, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = units[2 * i] | (units[2 * i + 1] << 8);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= count) return std::nullopt;
            std::uint32_t low = units[2 * i + 2] | (units[2 * i + 3] << 8);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return std::nullopt;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> makeRecord(std::uint32_t command, std::int32_t argument, const std::u16string& path) {
    std::vector<std::uint8_t> r(kRecordSize, 0);
    for (int i = 0; i < 4; ++i) {
        r[i] = static_cast<std::uint8_t>(command >> (8 * i));
        r[4 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(argument) >> (8 * i));
    }
    for (std::size_t i = 0; i < path.size() && i < kPathUnits - 1; ++i) {
        r[8 + 2 * i] = static_cast<std::uint8_t>(path[i]);
        r[8 + 2 * i + 1] = static_cast<std::uint8_t>(path[i] >> 8);
    }
    return r;
}

namespace {
// Paths in the game's messages are device paths, mapped by the shared path
// layer (which refuses anything that would leave the device root).
std::optional<std::string> mapDevicePath(const std::string& devicePath) {
    return platform::fs::hostPath(devicePath);
}
}  // namespace

ServerOptions optionsFromEnvironment() {
    ServerOptions o;
    const char* sink = std::getenv("SOUNDPUMP_SINK");
    o.graph.sink = sink && *sink ? sink : "autoaudiosink";
    const char* font = std::getenv("BRAMBLE_SOUNDFONT");
    o.graph.soundFont = font && *font ? font : "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(o.graph.soundFont, ec))
        logLine("SoundPump: sound font \"%s\" not found; MIDI sounds will be silent\n", o.graph.soundFont.c_str());
    o.mapPath = mapDevicePath;
    return o;
}

SoundServer::SoundServer(ServerOptions options) : options_(std::move(options)) {
    if (!options_.mapPath) options_.mapPath = mapDevicePath;
}

SoundServer::~SoundServer() { closeAll(); }

void SoundServer::closeAll() {
    for (Slot& s : slots_) {
        if (s.use == Use::Open) {
            release(s);
            s.use = Use::Closed;
        }
    }
}

void SoundServer::setWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }

int SoundServer::storedState(int id) const { return id >= 0 && id < kSlots ? slots_[id].state : -1; }

bool SoundServer::looping(int id) const { return id >= 0 && id < kSlots && slots_[id].looping; }

// Ends the slot's loop and releases its graph (the pipeline is torn down
// before the graph's memory goes, so no streaming thread outlives it).
void SoundServer::release(Slot& s) {
    s.looping = false;
    s.seekPaused = false;
    s.loopsLeft = 0;
    s.graph.reset();
    s.state = kStateClosed;
}

std::int64_t SoundServer::handle(const Message& m) {
    switch (m.kind) {
    case MessageKind::CopyData: return copyData(m);
    case MessageKind::User: return m.userCode == 0 ? user(m) : 0;
    case MessageKind::Close:
        closeRequested_ = true;
        return 0;
    case MessageKind::BringToFront: return 0;
    }
    return 0;
}

// The slot for a command other than open: -1 (logged) for an id out of range
// or a slot that is empty or closed.
SoundServer::Slot* SoundServer::openSlot(std::uint64_t id, const char* what) {
    if (id >= static_cast<std::uint64_t>(kSlots)) {
        logLine("SoundPump: %s refused: player id %llu out of range\n", what, static_cast<unsigned long long>(id));
        return nullptr;
    }
    Slot& s = slots_[id];
    if (s.use != Use::Open) {
        logLine("SoundPump: %s refused: sound %llu is %s\n", what, static_cast<unsigned long long>(id),
                s.use == Use::Empty ? "not open" : "closed");
        return nullptr;
    }
    return &s;
}

std::int64_t SoundServer::copyData(const Message& m) {
    if (m.data.size() < kRecordSize) {
        logLine("SoundPump: command refused: record of %zu bytes, %zu expected\n", m.data.size(), kRecordSize);
        return -1;
    }
    const std::uint8_t* r = m.data.data();
    switch (readU32(r)) {
    case kCmdOpen: return open(m.wParam, r);
    case kCmdSetLoopCount: return setLoopCount(m.wParam, m.dwData);
    case kCmdSetPosition: return setPosition(m.wParam, static_cast<std::int32_t>(readU32(r + 4)));
    default: return 0;
    }
}

std::int64_t SoundServer::open(std::uint64_t id, const std::uint8_t* record) {
    if (id >= static_cast<std::uint64_t>(kSlots)) {
        logLine("SoundPump: open refused: player id %llu out of range\n", static_cast<unsigned long long>(id));
        return -1;
    }
    const std::uint8_t* units = record + 8;
    std::size_t length = kPathUnits;
    for (std::size_t i = 0; i < kPathUnits; ++i) {
        if (units[2 * i] == 0 && units[2 * i + 1] == 0) {
            length = i;
            break;
        }
    }
    if (length == kPathUnits) {
        logLine("SoundPump: open refused: the path has no terminator\n");
        return -1;
    }
    std::optional<std::string> devicePath = toUtf8(units, length);
    if (!devicePath) {
        logLine("SoundPump: open refused: the path is not valid UTF-16\n");
        return -1;
    }

    Slot& s = slots_[id];
    if (s.use == Use::Open) release(s);  // the earlier graph is closed, not leaked
    s.use = Use::Open;
    s.state = kStateOpened;
    s.path = *devicePath;

    std::optional<std::string> hostPath = options_.mapPath(*devicePath);
    if (!hostPath) {
        logLine("SoundPump: cannot open \"%s\": the path leaves the device folder\n", devicePath->c_str());
        return -1;
    }
    std::string why;
    s.graph = MediaGraph::open(*hostPath, options_.graph, &why);
    if (!s.graph) {
        logLine("SoundPump: cannot open \"%s\": %s\n", devicePath->c_str(), why.c_str());
        return -1;
    }
    if (wakeup_) s.graph->setEventNotify(wakeup_);
    return 0;
}

std::int64_t SoundServer::setLoopCount(std::uint64_t id, std::uint64_t count) {
    Slot* s = openSlot(id, "loop count");
    if (!s) return -1;
    if (s->looping || count <= 1) return 0;
    if (s->graph) s->graph->takeEvents();  // ends of stream from before the loop do not count
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    s->loopsLeft = static_cast<int>((count > limit ? limit : count) - 1);
    s->looping = true;
    return 0;
}

std::int64_t SoundServer::setPosition(std::uint64_t id, std::int32_t argument) {
    Slot* s = openSlot(id, "set position");
    if (!s) return -1;
    if (!s->graph) return -1;
    // The position is in units of 100 ns: the argument's 32 bits, unsigned.
    const std::int64_t position = static_cast<std::int64_t>(static_cast<std::uint32_t>(argument)) * 100;
    s->graph->pause();
    s->seekPaused = true;  // the stored state stays as it was
    const bool ok = s->graph->seek(position, 1000);
    s->graph->takeEvents();
    if (!ok) {
        logLine("SoundPump: sound %llu: seek failed\n", static_cast<unsigned long long>(id));
        return -1;
    }
    return 0;
}

std::int64_t SoundServer::state(Slot& s) {
    if (!s.graph) return s.state;
    switch (s.graph->state()) {
    case GraphState::Running: s.state = kStateRunning; break;
    case GraphState::Paused:
        // A stop is a pause plus a rewind, so a paused graph reads as stopped
        // unless a pause or a set-position left it so.
        if (s.seekPaused) return kStatePaused;
        s.state = s.state == kStatePaused ? kStatePaused : kStateStopped;
        break;
    case GraphState::Stopped: s.state = kStateStopped; break;
    case GraphState::Changing: break;
    }
    return s.state;
}

std::int64_t SoundServer::user(const Message& m) {
    const std::int64_t command = m.lParam;
    switch (command) {
    case kMsgPlay:
    case kMsgRun: {
        Slot* s = openSlot(m.wParam, "play");
        if (!s) return -1;
        if (s->graph && !s->graph->run())
            logLine("SoundPump: sound %llu: cannot play\n", static_cast<unsigned long long>(m.wParam));
        s->state = kStateRunning;
        s->seekPaused = false;
        return 0;
    }
    case kMsgPause: {
        Slot* s = openSlot(m.wParam, "pause");
        if (!s) return -1;
        if (s->graph) s->graph->pause();
        s->state = kStatePaused;
        s->seekPaused = false;
        return 0;
    }
    case kMsgStop: {
        Slot* s = openSlot(m.wParam, "stop");
        if (!s) return -1;
        if (s->graph) {
            s->graph->stop();
            s->graph->takeEvents();
        }
        s->state = kStateStopped;
        s->seekPaused = false;
        return 0;
    }
    case kMsgClose: {
        Slot* s = openSlot(m.wParam, "close");
        if (!s) return -1;
        release(*s);
        s->use = Use::Closed;
        return 0;
    }
    case kMsgGetState: {
        Slot* s = openSlot(m.wParam, "state");
        if (!s) return -1;
        return state(*s);
    }
    default:
        // Position, duration and volume have no handler; other values are unknown.
        return 0;
    }
}

void SoundServer::serviceEvents() {
    for (std::size_t id = 0; id < slots_.size(); ++id) {
        Slot& s = slots_[id];
        if (!s.graph) continue;
        std::vector<std::string> errors;
        for (platform::media::GraphEvent e : s.graph->takeEvents(&errors)) {
            if (e != platform::media::GraphEvent::EndOfStream || !s.looping) continue;
            if (!s.graph->seek(0)) {
                logLine("ERROR - Could not rewind the stream.\n");
                s.looping = false;
                continue;
            }
            s.graph->run();
            if (--s.loopsLeft <= 0) s.looping = false;
        }
        for (const std::string& e : errors) {
            logLine("SoundPump: sound %zu (\"%s\"): %s\n", id, s.path.c_str(), e.c_str());
            s.looping = false;
        }
    }
}

}  // namespace soundpump
