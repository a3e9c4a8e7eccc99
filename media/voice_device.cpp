// Voice device selection (see voice_device.h).
#include "media/voice_device.h"

#include <atomic>

namespace media {

namespace {
std::atomic<platform::audio::Mixer*> g_mixer{nullptr};
}

void useMixerForVoices(platform::audio::Mixer* mixer) { g_mixer.store(mixer); }

unsigned voiceDeviceCount() { return g_mixer.load() ? 1u : platform::audio::deviceCount(); }

platform::audio::WaveResult openVoice(const platform::audio::WaveFormat& format,
                                      platform::audio::DoneCallback callback,
                                      std::unique_ptr<platform::audio::WaveOut>* out) {
    if (platform::audio::Mixer* mixer = g_mixer.load())
        return platform::audio::WaveOut::open(*mixer, format, std::move(callback), out);
    return platform::audio::WaveOut::open(format, std::move(callback), out);
}

}  // namespace media
