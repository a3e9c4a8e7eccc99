// SoundPlayerWAVE (see wave_player.h).
#include "media/wave_player.h"

#include "media/player_lock.h"
#include "media/voice_device.h"
#include "media/wave_header.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"

#include <algorithm>
#include <cstring>
#include <new>

using media::PlayerLock;
using platform::audio::WaveBuffer;
using platform::audio::WaveResult;

namespace {

// The voice's volume word for a level of 0-100: the low 16 bits, the high
// ones 0 (the device applies the low level to every channel).
std::uint32_t volumeWord(jint level) { return (static_cast<std::uint32_t>(level) * 65535u / 100u) & 0xFFFFu; }

jint clampRate(double rate) {
    return static_cast<jint>(std::clamp(rate, static_cast<double>(SoundPlayerWAVE::kMinRate),
                                        static_cast<double>(SoundPlayerWAVE::kMaxRate)));
}

}  // namespace

SoundPlayerWAVE::SoundPlayerWAVE(const std::uint8_t* bytes, std::size_t length)
    : Object(cid::javax_microedition_media_Player), m_core(new Core), m_contentType("audio/x-wav") {
    Core& c = *m_core;
    c.soundFileLength = static_cast<std::uint32_t>(length);
    try {
        c.soundFile.assign(bytes, bytes + length);
        c.hasSoundFile = bytes != nullptr;
    } catch (const std::bad_alloc&) {
        logPrintf("SoundPlayerWAVE(): failed to allocate memory for %d bytes\n", static_cast<int>(length));
    }
}

void SoundPlayerWAVE::finalize() {
    if (m_core) {
        close();
        delete m_core;
        m_core = nullptr;
    }
    Object::finalize();
}

void* SoundPlayerWAVE::getInterface(jint id) { return media::fullPlayerInterface(this, id); }

jint SoundPlayerWAVE::state() const {
    std::lock_guard<std::mutex> lock(m_core->stateLock);
    return m_core->state;
}

void SoundPlayerWAVE::setState(jint s) {
    std::lock_guard<std::mutex> lock(m_core->stateLock);
    m_core->state = s;
}

// --- the sound file ----------------------------------------------------------

jint SoundPlayerWAVE::readSoundFileHeader(std::uint8_t* header) {
    const Core& c = *m_core;
    if (!c.hasSoundFile || c.soundFile.size() < media::kWaveHeaderBytes) return 0;
    std::memcpy(header, c.soundFile.data(), media::kWaveHeaderBytes);
    return 1;
}

jint SoundPlayerWAVE::parseSoundFileHeader() {
    Core& c = *m_core;
    std::uint8_t header[media::kWaveHeaderBytes];
    if (!readSoundFileHeader(header)) return 0;
    media::WaveHeader h;
    if (!media::parseWaveHeader(c.soundFile.data(), c.soundFile.size(), &h)) return 0;
    c.format.formatTag = h.formatTag;
    c.format.channels = h.channels;
    c.format.samplesPerSec = h.samplesPerSec;
    c.format.avgBytesPerSec = h.avgBytesPerSec;
    c.format.blockAlign = h.blockAlign;
    c.format.bitsPerSample = h.bitsPerSample;
    c.pcmDataLength = h.pcmDataLength;
    c.duration = h.durationUs;
    return 1;
}

jint SoundPlayerWAVE::readSoundFilePcmData(std::vector<std::uint8_t>* out) {
    const Core& c = *m_core;
    if (!c.hasSoundFile) {
        logPrintf("SoundPlayerWAVE::readSoundFilePcmData(): m_pSoundFileData == NULL\n");
        return -1;
    }
    if (c.pcmDataLength == 0) {
        logPrintf("SoundPlayerWAVE::readSoundFilePcmData(): m_pcmDataLength <= 0\n");
        return -1;
    }
    try {
        out->assign(c.pcmDataLength, 0);
    } catch (const std::bad_alloc&) {
        logPrintf("SoundPlayerWAVE::readSoundFilePcmData(): *ppData == NULL\n  tried to calloc %d bytes",
                  static_cast<int>(c.pcmDataLength));
        return -1;
    }
    const std::size_t present = c.soundFile.size() - media::kWaveHeaderBytes;
    std::memcpy(out->data(), c.soundFile.data() + media::kWaveHeaderBytes, std::min<std::size_t>(present, c.pcmDataLength));
    return static_cast<jint>(c.pcmDataLength);
}

// --- Player ----------------------------------------------------------------------

Object* SoundPlayerWAVE::getControl(String* name) {
    if (media::nameIs(name, "VolumeControl") || media::nameIs(name, "RateControl") ||
        media::nameIs(name, "TempoControl"))
        return this;
    return nullptr;
}

void SoundPlayerWAVE::realize() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (state() != media::kStateUnrealized) return;
    if (!parseSoundFileHeader()) return;

    c.buffer.loops = static_cast<std::uint32_t>(c.loopCount);
    c.loopCount = 1;
    std::vector<std::uint8_t> pcm;
    if (readSoundFilePcmData(&pcm) == -1) {
        logPrintf("SoundPlayerWAVE::realize(): readSoundFilePcmData returned -1.\n");
        return;
    }
    c.pcm.swap(pcm);
    c.buffer.data = c.pcm.data();
    c.buffer.length = c.pcmDataLength;
    std::vector<std::uint8_t>().swap(c.soundFile);  // the file's copy is no longer needed
    c.hasSoundFile = false;

    if (media::voiceDeviceCount() == 0) return;
    Core* core = m_core;
    const WaveResult r = media::openVoice(
        c.format,
        [core](WaveBuffer&) {
            // Mixer thread (or the thread resetting): native state only.
            std::lock_guard<std::mutex> g(core->stateLock);
            if (core->outstanding > 0) --core->outstanding;
            if (core->outstanding == 0 && core->state == media::kStateStarted) core->state = media::kStatePrefetched;
        },
        &c.voice);
    if (r != WaveResult::Ok) {
        logPrintf("SoundPlayerWAVE::realize(): the wave-out device refused the sound (format %u, %u channels, "
                  "%u Hz, %u bits)",
                  c.format.formatTag, c.format.channels, c.format.samplesPerSec, c.format.bitsPerSample);
        c.voice.reset();
        return;
    }
    c.volumeSupported = platform::audio::deviceSupportsVolume();
    setState(media::kStateRealized);
}

void SoundPlayerWAVE::prefetch() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    const jint s = state();
    if (s == media::kStateUnrealized) {
        realize();
        if (state() != media::kStateRealized) return;
    } else if (s != media::kStateRealized) {
        return;
    }
    if (!c.voice || c.voice->prepare(c.buffer) != WaveResult::Ok) return;
    if (c.volumeSupported) {
        std::uint32_t word = 0;
        if (c.voice->getVolume(&word) == WaveResult::Ok) {
            c.savedVolume = word;
            c.savedVolumeValid = true;
        }
        // The level asked for before the voice existed is the one it plays at.
        c.voice->setVolume(volumeWord(c.level));
    }
    setState(media::kStatePrefetched);
}

void SoundPlayerWAVE::start() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    jint s = state();
    if (s == media::kStateUnrealized) {
        realize();
        s = state();
        if (s != media::kStateRealized) return;
    }
    if (s == media::kStateRealized) {
        prefetch();
        s = state();
        if (s != media::kStatePrefetched) return;
    }
    if (s != media::kStatePrefetched || c.muted || !c.voice) return;

    auto write = [&c] {
        // Started before the write, so that a done callback arriving at once
        // finds the state it ends.
        std::lock_guard<std::mutex> g(c.stateLock);
        c.state = media::kStateStarted;
        const WaveResult r = c.voice->write(c.buffer);
        if (r == WaveResult::Ok) ++c.outstanding;
        return r;
    };
    WaveResult r = write();
    if (r == WaveResult::StillPlaying) {
        // The last play has ended but its done callback is still on its
        // way: collect it now and write again.
        c.voice->reset();
        r = write();
    }
    if (r != WaveResult::Ok) {
        std::lock_guard<std::mutex> g(c.stateLock);
        c.state = media::kStatePrefetched;
        logPrintf("SoundPlayerWAVE::start(): the wave-out device did not take the buffer");
    }
}

void SoundPlayerWAVE::stop() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (state() != media::kStateStarted) return;
    if (c.voice) c.voice->reset();  // calls the buffer back before it returns
    setState(media::kStatePrefetched);
}

void SoundPlayerWAVE::deallocate() {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (state() != media::kStatePrefetched) return;
    if (c.voice) c.voice->unprepare(c.buffer);
    setState(media::kStateRealized);
}

void SoundPlayerWAVE::close() {
    if (!m_core) return;
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    if (state() == media::kStateClosed) return;
    stop();
    if (c.voice) {
        c.voice->reset();  // whatever the state says, nothing of ours stays queued
        if (c.volumeSupported && c.savedVolumeValid) c.voice->setVolume(c.savedVolume);
    }
    deallocate();
    if (c.voice) {
        c.voice->close();
        c.voice.reset();
    }
    c.buffer.data = nullptr;
    c.buffer.length = 0;
    std::vector<std::uint8_t>().swap(c.pcm);
    std::vector<std::uint8_t>().swap(c.soundFile);
    c.hasSoundFile = false;
    c.pcmDataLength = 0;
    std::lock_guard<std::mutex> g(c.stateLock);
    c.outstanding = 0;
    c.state = media::kStateClosed;
}

jlong SoundPlayerWAVE::setMediaTime(jlong now) {
    PlayerLock lock(m_core->op);
    if (now > 0) {
        logPrintf("WARNING: setMediaTime(long64 now) not implemented for now > 0\n");
    } else if (m_core->voice) {
        m_core->voice->restart();
    }
    return now;
}

jlong SoundPlayerWAVE::getMediaTime() {
    MethodScope method("SoundPlayerWAVE::getMediaTime");
    PlayerLock lock(m_core->op);
    if (state() == media::kStateClosed) {
        rt::throwNewDefault(cid::java_lang_IllegalStateException);
        return 0;
    }
    std::uint32_t ms = 0;
    if (!m_core->voice || m_core->voice->getPositionMs(&ms) != WaveResult::Ok) return -1;
    return static_cast<jlong>(ms) * 1000;
}

jint SoundPlayerWAVE::getState() { return state(); }

jlong SoundPlayerWAVE::getDuration() {
    MethodScope method("SoundPlayerWAVE::getDuration");
    PlayerLock lock(m_core->op);
    if (state() == media::kStateClosed) {
        rt::throwNewDefault(cid::java_lang_IllegalStateException);
        return 0;
    }
    return m_core->duration;
}

String* SoundPlayerWAVE::getContentType() {
    MethodScope method("SoundPlayerWAVE::getContentType");
    const jint s = state();
    if (s == media::kStateClosed || s == media::kStateUnrealized) {
        rt::throwNewDefault(cid::java_lang_IllegalStateException);
        return nullptr;
    }
    return String::fromLatin1(m_contentType);
}

void SoundPlayerWAVE::setLoopCount(jint count) {
    PlayerLock lock(m_core->op);
    m_core->loopCount = count < 0 ? 0x7FFFFFFF : count == 0 ? 1 : count;
}

std::uint32_t SoundPlayerWAVE::headerLoopCount() const { return m_core->buffer.loops; }

jint SoundPlayerWAVE::storedLoopCount() const { return m_core->loopCount; }

platform::audio::WaveFormat SoundPlayerWAVE::waveFormat() const { return m_core->format; }

std::uint32_t SoundPlayerWAVE::pcmDataLength() const { return m_core->pcmDataLength; }

// --- VolumeControl ---------------------------------------------------------------

jint SoundPlayerWAVE::getLevel() {
    PlayerLock lock(m_core->op);
    return m_core->level;
}

jboolean SoundPlayerWAVE::isMuted() {
    PlayerLock lock(m_core->op);
    return m_core->muted ? 1 : 0;
}

jint SoundPlayerWAVE::setLevel(jint level) {
    PlayerLock lock(m_core->op);
    Core& c = *m_core;
    const jint previous = c.level;
    c.level = std::clamp<jint>(level, 0, 100);
    if (c.volumeSupported && c.voice) c.voice->setVolume(volumeWord(c.level));
    return previous;
}

void SoundPlayerWAVE::setMute(jboolean mute) {
    PlayerLock lock(m_core->op);
    m_core->muted = mute != 0;  // takes effect at the next start
}

// --- RateControl -------------------------------------------------------------------

jint SoundPlayerWAVE::getRate() {
    PlayerLock lock(m_core->op);
    std::uint32_t multiplier = 0;
    if (!m_core->voice || m_core->voice->getPlaybackRate(&multiplier) != WaveResult::Ok) return -1;
    return clampRate(multiplier * 100000.0 / 65536.0);
}

jint SoundPlayerWAVE::setRate(jint rate) {
    PlayerLock lock(m_core->op);
    if (!m_core->voice || rate < 0) return -1;
    const jint previous = getRate();
    if (previous < 0) return -1;
    const double fraction = clampRate(rate) * 0.00001;
    const auto multiplier = static_cast<std::uint32_t>(fraction * 65536.0 + 0.5);
    if (m_core->voice->setPlaybackRate(multiplier) != WaveResult::Ok) return -1;
    return previous;
}
