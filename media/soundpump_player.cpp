// SoundPumpPlayer, the sound server's client (see soundpump_player.h).
#include "media/soundpump_player.h"

#include "media/player_lock.h"
#include "platform/fs/fs.h"
#include "platform/ipc/window_registry.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/threads.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <mutex>

namespace ipc = platform::ipc;
namespace pfs = platform::fs;
using media::PlayerLock;

namespace {

std::atomic<std::uint32_t> g_nextPlayerId{0};

// A finalizer runs inside a collection, where the world stands still: its
// last message waits less.
constexpr std::chrono::milliseconds kFinalizeTimeout{1000};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Sends one message to the server's window; the answer as the 32-bit result
// the game sees (0 without a window or an answer).
jint sendToServer(const ipc::Message& message, bool finalizing, std::uint32_t id) {
    ipc::SendResult r;
    if (finalizing) {
        r = ipc::sendMessage(media::kSoundServerWindow, media::kSoundServerWindow, message, kFinalizeTimeout);
    } else {
        BlockingRegion blocking;
        r = ipc::sendMessage(media::kSoundServerWindow, media::kSoundServerWindow, message, media::kSoundServerTimeout);
    }
    if (r.status == ipc::SendStatus::TimedOut || r.status == ipc::SendStatus::Failed)
        logPrintf("SoundPumpPlayer: the sound server did not answer (player %u)", id);
    return static_cast<jint>(static_cast<std::int32_t>(r.result));
}

}  // namespace

namespace media {

std::vector<std::uint8_t> encodeCommand(std::uint32_t command, std::int32_t argument, std::u16string_view path) {
    std::vector<std::uint8_t> r(kCommandRecordBytes, 0);
    const auto arg = static_cast<std::uint32_t>(argument);
    for (int i = 0; i < 4; ++i) {
        r[i] = static_cast<std::uint8_t>(command >> (8 * i));
        r[4 + i] = static_cast<std::uint8_t>(arg >> (8 * i));
    }
    for (std::size_t i = 0; i < path.size() && i < kCommandPathUnits - 1; ++i) {
        r[8 + 2 * i] = static_cast<std::uint8_t>(path[i]);
        r[8 + 2 * i + 1] = static_cast<std::uint8_t>(path[i] >> 8);
    }
    return r;
}

const char* extensionForType(std::string_view type) {
    const std::size_t slash = type.find('/');
    const std::string_view subtype = slash == std::string_view::npos ? type : type.substr(slash + 1);
    if (equalsIgnoringCase(subtype, "x-wav")) return "wav";
    if (equalsIgnoringCase(subtype, "midi")) return "mid";
    if (equalsIgnoringCase(subtype, "amr")) return "amr";
    if (equalsIgnoringCase(subtype, "mpeg")) return "mp3";
    if (equalsIgnoringCase(subtype, "aac")) return "aac";
    return "NULL";
}

bool waitForSoundServer(std::chrono::milliseconds timeout) {
    BlockingRegion blocking;
    return static_cast<bool>(ipc::waitForWindow(kSoundServerWindow, kSoundServerWindow, timeout));
}

}  // namespace media

struct SoundPumpPlayer::Core {
    std::recursive_mutex op;
    jint state = media::kStateUnrealized;
    jint level = 0;
    std::string type;
    const char* extension = "NULL";
    std::uint32_t id = 0;
    std::string path;            // "\temp\sound<id + 1>.<ext>"
    std::u16string pathUtf16;
    bool fileWritten = false;
    bool silent = false;
};

SoundPumpPlayer::SoundPumpPlayer(const std::uint8_t* bytes, std::size_t length, const char* contentType)
    : Object(cid::javax_microedition_media_Player), m_core(new Core) {
    Core& c = *m_core;
    c.id = g_nextPlayerId.fetch_add(1);
    c.type = contentType ? contentType : "";
    c.extension = media::extensionForType(c.type);
    char path[48];
    std::snprintf(path, sizeof path, "\\temp\\sound%u.%s", c.id + 1, c.extension);
    c.path = path;
    c.pathUtf16.assign(c.path.begin(), c.path.end());

    if (c.id >= media::kSoundServerSlots) {
        logPrintf("SoundPumpPlayer: player %u is beyond the sound server's %u sounds; it stays silent", c.id,
                  media::kSoundServerSlots);
        c.silent = true;
        return;
    }
    {
        BlockingRegion blocking;
        pfs::File file = pfs::File::open(c.path, pfs::OpenMode::Write);
        if (file) {
            c.fileWritten = (length == 0 || file.write(bytes, length)) && file.close();
            if (!c.fileWritten) {
                file.close();
                pfs::remove(c.path);  // no half-written sound is left behind
            }
        }
    }
    if (!c.fileWritten) {
        logPrintf("SoundPumpPlayer: cannot write the sound file \"%s\"; the sound stays silent", c.path.c_str());
        c.silent = true;
        return;
    }
    sendRecord(media::kCmdOpen, 0, 1);  // the answer is not looked at
}

void SoundPumpPlayer::finalize() {
    if (m_core) {
        closePlayer(true);
        delete m_core;
        m_core = nullptr;
    }
    Object::finalize();
}

void* SoundPumpPlayer::getInterface(jint id) {
    switch (id) {
    case media::kPlayerId: return static_cast<javax_microedition_media_Player*>(this);
    case media::kControllableId:
        return static_cast<javax_microedition_media_Controllable*>(static_cast<javax_microedition_media_Player*>(this));
    case media::kVolumeControlId: return static_cast<javax_microedition_media_control_VolumeControl*>(this);
    default: return nullptr;
    }
}

// --- messages -------------------------------------------------------------------

jint SoundPumpPlayer::send(std::int64_t subCommand, bool finalizing) {
    const Core& c = *m_core;
    if (c.silent) return 0;
    return sendToServer(ipc::Message::user(c.id, subCommand), finalizing, c.id);
}

jint SoundPumpPlayer::sendVolume(jint volume) {
    const Core& c = *m_core;
    if (c.silent) return 0;
    // wParam carries the volume, as the 32-bit word the server reads.
    return sendToServer(ipc::Message::user(static_cast<std::uint32_t>(volume), media::kMsgSetVolume), false, c.id);
}

jint SoundPumpPlayer::sendRecord(std::uint32_t command, std::int32_t argument, std::uint64_t dwData) {
    const Core& c = *m_core;
    if (c.silent) return 0;
    return sendToServer(ipc::Message::copyData(c.id, dwData, media::encodeCommand(command, argument, c.pathUtf16)),
                        false, c.id);
}

// --- Player ------------------------------------------------------------------------

Object* SoundPumpPlayer::getControl(String* name) { return media::nameIs(name, "VolumeControl") ? this : nullptr; }

void SoundPumpPlayer::realize() {
    PlayerLock lock(m_core->op);
    if (m_core->state != media::kStateClosed) m_core->state = media::kStateRealized;
}

void SoundPumpPlayer::prefetch() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state == media::kStateClosed) return;
    if (c.state != media::kStateRealized) realize();
    c.state = media::kStatePrefetched;
}

void SoundPumpPlayer::start() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state == media::kStateClosed) return;
    if (c.state != media::kStatePrefetched) {
        prefetch();
        if (c.state != media::kStatePrefetched) return;
    }
    if (send(media::kMsgPlay) >= 0)
        c.state = media::kStateStarted;
    else
        logPrintf("ERROR - Could not send play to server window.\n");
}

void SoundPumpPlayer::stop() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state != media::kStatePrefetched && c.state != media::kStateStarted) return;
    if (send(media::kMsgStop) >= 0)
        c.state = media::kStateStopped;
    else
        logPrintf("ERROR - Could not send MSG_STOP to server window.\n");
}

void SoundPumpPlayer::pause() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state != media::kStatePrefetched && c.state != media::kStateStarted) return;
    if (send(media::kMsgPause) >= 0)
        c.state = media::kStatePaused;
    else
        logPrintf("ERROR - Could not send MSG_PAUSE to server window.\n");
}

bool SoundPumpPlayer::canChangeState(jint from, jint to) {
    const bool running = from == media::kStatePrefetched || from == media::kStateStarted;
    if (to == media::kStateStopped || to == media::kStatePaused) return running;
    if (to == media::kStatePrefetched) return from == media::kStateRealized;
    if (to == media::kStateStarted) return from == media::kStatePrefetched;
    return false;
}

void SoundPumpPlayer::close() { closePlayer(false); }

void SoundPumpPlayer::closePlayer(bool finalizing) {
    if (!m_core) return;
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state == media::kStateClosed) return;
    if (send(media::kMsgClose, finalizing) < 0) {
        logPrintf("ERROR - Could not send MSG_CLOSE to server window.\n");
        if (!finalizing) return;  // a player that goes away releases its file anyway
    }
    if (c.fileWritten) {
        if (finalizing) {
            pfs::remove(c.path);
        } else {
            BlockingRegion blocking;
            pfs::remove(c.path);
        }
        c.fileWritten = false;
    }
    c.state = media::kStateClosed;
}

jlong SoundPumpPlayer::setMediaTime(jlong now) {
    PlayerLock lock(m_core->op);
    if (m_core->state < media::kStateRealized) return -1;
    const jint r = sendRecord(media::kCmdSetPosition, static_cast<std::int32_t>(now), 1);
    if (r < 0) logPrintf("ERROR - Could not send MSG_SETPOSITION to server window.\n");
    return r;
}

jlong SoundPumpPlayer::getMediaTime() {
    PlayerLock lock(m_core->op);
    if (m_core->state < media::kStateRealized) return 0;
    const jint r = send(media::kMsgGetPosition);
    if (r < 0) {
        logPrintf("ERROR - Could not get media stream position.\n");
        return -1;
    }
    return r;
}

jint SoundPumpPlayer::getState() {
    PlayerLock lock(m_core->op);
    if (m_core->state == media::kStateClosed) return media::kStateClosed;
    const jint r = send(media::kMsgGetState);
    if (r < 0) {
        logPrintf("ERROR - Could not get media state.\n");
        return 0;
    }
    return r;
}

jlong SoundPumpPlayer::getDuration() {
    PlayerLock lock(m_core->op);
    if (getState() < media::kStateRealized) return 0;
    const jint r = send(media::kMsgGetDuration);
    if (r < 0) {
        logPrintf("ERROR - Could not get media duration.\n");
        return 0;
    }
    return r;
}

String* SoundPumpPlayer::getContentType() { return String::fromLatin1(m_core->type); }

void SoundPumpPlayer::setLoopCount(jint count) {
    PlayerLock lock(m_core->op);
    if (m_core->state == media::kStateClosed) return;
    if (count < 0) count = 100000;
    if (count == 0 || count == 1) return;
    realize();
    const jint r = sendRecord(media::kCmdSetLoopCount, 0, static_cast<std::uint32_t>(count));
    if (r >= 0)
        logPrintf("loopcount sent, %d\n", count);
    else
        logPrintf("ERROR - Could not send MSG_SETLOOPCOUNT to server window.");
}

// --- VolumeControl ------------------------------------------------------------------

jint SoundPumpPlayer::getLevel() {
    PlayerLock lock(m_core->op);
    if (m_core->state < media::kStateRealized) return 0;
    const jint r = send(media::kMsgGetVolume);
    if (r == media::kMutedVolume) return java::idiv(r, 100);  // the muted value reads back as -100
    if (r < 0) {
        logPrintf("ERROR - Could not getLevel().\n");
        return 0;
    }
    return java::idiv(r, 100);
}

jboolean SoundPumpPlayer::isMuted() {
    PlayerLock lock(m_core->op);
    if (m_core->state < media::kStateRealized) return 0;
    return getLevel() == -100 ? 1 : 0;
}

jint SoundPumpPlayer::setLevel(jint level) {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state < media::kStateRealized) return -1;
    const jint previous = c.level;
    c.level = level;
    if (sendVolume(level) >= 0) return previous;
    logPrintf("ERROR - Could not set volume level.\n");
    return 0;
}

void SoundPumpPlayer::setMute(jboolean mute) {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (c.state < media::kStateRealized) return;
    if (sendVolume(mute ? media::kMutedVolume : c.level) < 0) logPrintf("ERROR - Could not set volume level.\n");
}

// --- for tests and the owner -----------------------------------------------------------

jint SoundPumpPlayer::localState() const { return m_core->state; }
std::uint32_t SoundPumpPlayer::playerId() const { return m_core->id; }
std::string SoundPumpPlayer::filePath() const { return m_core->path; }
bool SoundPumpPlayer::silent() const { return m_core->silent; }
void SoundPumpPlayer::setNextIdForTesting(std::uint32_t id) { g_nextPlayerId.store(id); }
