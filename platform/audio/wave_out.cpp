// Wave-out handles over one SDL2 audio device (signed 16-bit stereo at
// 44100 Hz; SDL converts when the hardware differs) fed by the mixer.
// The device mutex guards opening and closing the SDL device; the mixer's
// own lock guards the voices, so the SDL audio thread never waits for it.
#include "platform/audio/wave_out.h"

#include <SDL.h>

#include <cstdio>
#include <mutex>

namespace platform::audio {

namespace {

constexpr std::uint32_t kDeviceRate = 44100;

struct Device {
    std::mutex mutex;
    bool started = false;
    bool reported = false;
    SDL_AudioDeviceID id = 0;
    int users = 0;
    Mixer* mixer = new Mixer(kDeviceRate);  // lives to the end of the process
};

Device& device() {
    static Device* d = new Device;
    return *d;
}

void logLine(const char* what, const char* detail) {
    std::printf("wave-out: %s: %s\n", what, detail);
    std::fflush(stdout);
}

void SDLCALL feed(void* user, Uint8* stream, int len) {
    static_cast<Mixer*>(user)->render(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(len) / 4);
}

bool startLocked(Device& d) {
    if (d.started) return true;
    if (SDL_WasInit(SDL_INIT_AUDIO) || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        d.started = true;
    } else if (!d.reported) {
        d.reported = true;
        logLine("no audio output", SDL_GetError());
    }
    return d.started;
}

bool acquire() {
    Device& d = device();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!startLocked(d)) return false;
    if (d.id == 0) {
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(kDeviceRate);
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = feed;
        want.userdata = d.mixer;
        SDL_AudioSpec have{};
        d.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (d.id == 0) {
            logLine("cannot open the audio device", SDL_GetError());
            return false;
        }
        SDL_PauseAudioDevice(d.id, 0);
    }
    ++d.users;
    return true;
}

void release() {
    Device& d = device();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.users > 0 && --d.users == 0 && d.id != 0) {
        SDL_CloseAudioDevice(d.id);
        d.id = 0;
    }
}

}  // namespace

bool startAudio() {
    Device& d = device();
    std::lock_guard<std::mutex> lock(d.mutex);
    return startLocked(d);
}

unsigned deviceCount() { return startAudio() ? 1u : 0u; }

bool deviceSupportsVolume() { return true; }

std::uint32_t masterVolume() { return device().mixer->masterVolume(); }

void setMasterVolume(std::uint32_t volume) { device().mixer->setMasterVolume(volume); }

WaveResult WaveOut::open(const WaveFormat& format, DoneCallback callback, std::unique_ptr<WaveOut>* out) {
    if (!out) return WaveResult::InvalidParam;
    Mixer& mixer = *device().mixer;
    Mixer::VoiceId id = 0;
    WaveResult r = mixer.open(format, std::move(callback), &id);
    if (r != WaveResult::Ok) return r;
    if (!acquire()) {
        mixer.close(id);
        return WaveResult::NoDevice;
    }
    out->reset(new WaveOut(&mixer, id, format, true));
    return WaveResult::Ok;
}

WaveResult WaveOut::open(Mixer& mixer, const WaveFormat& format, DoneCallback callback,
                         std::unique_ptr<WaveOut>* out) {
    if (!out) return WaveResult::InvalidParam;
    Mixer::VoiceId id = 0;
    WaveResult r = mixer.open(format, std::move(callback), &id);
    if (r != WaveResult::Ok) return r;
    out->reset(new WaveOut(&mixer, id, format, false));
    return WaveResult::Ok;
}

WaveOut::~WaveOut() { close(); }

WaveResult WaveOut::close() {
    if (closed_.exchange(true)) return WaveResult::InvalidHandle;
    WaveResult r = mixer_->close(id_);
    if (onDevice_) release();
    return r;
}

#define BRAMBLE_VOICE_CALL(call) \
    return closed_.load() ? WaveResult::InvalidHandle : mixer_->call

WaveResult WaveOut::prepare(WaveBuffer& b) { BRAMBLE_VOICE_CALL(prepare(id_, b)); }
WaveResult WaveOut::unprepare(WaveBuffer& b) { BRAMBLE_VOICE_CALL(unprepare(id_, b)); }
WaveResult WaveOut::write(WaveBuffer& b) { BRAMBLE_VOICE_CALL(write(id_, b)); }
WaveResult WaveOut::reset() { BRAMBLE_VOICE_CALL(reset(id_)); }
WaveResult WaveOut::pause() { BRAMBLE_VOICE_CALL(pause(id_)); }
WaveResult WaveOut::restart() { BRAMBLE_VOICE_CALL(restart(id_)); }
WaveResult WaveOut::getVolume(std::uint32_t* v) const { BRAMBLE_VOICE_CALL(getVolume(id_, v)); }
WaveResult WaveOut::setVolume(std::uint32_t v) { BRAMBLE_VOICE_CALL(setVolume(id_, v)); }
WaveResult WaveOut::getPlaybackRate(std::uint32_t* r) const { BRAMBLE_VOICE_CALL(getPlaybackRate(id_, r)); }
WaveResult WaveOut::setPlaybackRate(std::uint32_t r) { BRAMBLE_VOICE_CALL(setPlaybackRate(id_, r)); }
WaveResult WaveOut::getPositionMs(std::uint32_t* ms) const { BRAMBLE_VOICE_CALL(getPositionMs(id_, ms)); }

#undef BRAMBLE_VOICE_CALL

}  // namespace platform::audio
