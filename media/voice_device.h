// Where the WAVE and Ogg players open their voices: the machine's wave-out
// device, or a mixer that a test (or an offline renderer) installs and
// drives itself. The choice is process-wide and is made before players
// realize; a voice keeps the mixer it was opened on.
#pragma once

#include "platform/audio/wave_out.h"

#include <memory>

namespace media {

// Null: the audio device (the default). The mixer must outlive every voice
// opened on it.
void useMixerForVoices(platform::audio::Mixer* mixer);

// Number of output devices the players see (1 with an installed mixer).
unsigned voiceDeviceCount();

platform::audio::WaveResult openVoice(const platform::audio::WaveFormat& format,
                                      platform::audio::DoneCallback callback,
                                      std::unique_ptr<platform::audio::WaveOut>* out);

}  // namespace media
