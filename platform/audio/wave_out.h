// The wave-out device: handles that play PCM buffers on the machine's audio
// output (SDL2 audio), mixed in software, and the master volume of the
// volume keys. Each handle is one voice with its own format, volume word and
// playback rate; see wave_types.h for buffers and the done callback.
// Invariants: the SDL device is open exactly while a handle is open; the
// master volume is separate from every handle's volume; a closed handle
// answers InvalidHandle and never calls back again.
//
// Typical use (one buffer played `loops` times):
//   std::unique_ptr<WaveOut> out;
//   if (WaveOut::open(format, [this](WaveBuffer& b) { onDone(b); }, &out) != WaveResult::Ok) ...
//   out->prepare(buffer); out->write(buffer);   // later: reset(), unprepare(), close()
//
// SDL's audio subsystem is started on first use. A program that also uses
// SDL video calls startAudio() from the thread that initialises SDL, before
// other threads open handles.
#pragma once

#include "platform/audio/mixer.h"
#include "platform/audio/wave_types.h"

#include <cstdint>
#include <atomic>
#include <memory>

namespace platform::audio {

// Starts SDL's audio subsystem; true when an audio driver is available.
bool startAudio();
// Number of output devices: 1 when audio output is available, else 0.
unsigned deviceCount();
// True: handles support a volume word (the device has no separate left and
// right voice levels; the low 16 bits apply to all channels).
bool deviceSupportsVolume();

// The master volume (device 0): low 16 bits the left level, high 16 bits the
// right, 0xFFFF each at full; it scales everything the device plays.
std::uint32_t masterVolume();
void setMasterVolume(std::uint32_t volume);

class WaveOut {
public:
    // Opens a voice on the audio device (opening the device when it is the first).
    static WaveResult open(const WaveFormat& format, DoneCallback callback, std::unique_ptr<WaveOut>* out);
    // Opens a voice on a given mixer (offline rendering, tests).
    static WaveResult open(Mixer& mixer, const WaveFormat& format, DoneCallback callback,
                           std::unique_ptr<WaveOut>* out);

    ~WaveOut();  // close()
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    // Resets (buffers still queued are called back before it returns) and
    // closes; the device closes with its last handle. Later calls answer
    // InvalidHandle; no callback runs after close() returns.
    WaveResult close();

    WaveResult prepare(WaveBuffer& buffer);
    WaveResult unprepare(WaveBuffer& buffer);
    WaveResult write(WaveBuffer& buffer);
    WaveResult reset();
    WaveResult pause();
    WaveResult restart();
    WaveResult getVolume(std::uint32_t* volume) const;
    WaveResult setVolume(std::uint32_t volume);
    WaveResult getPlaybackRate(std::uint32_t* rate) const;  // 16.16
    WaveResult setPlaybackRate(std::uint32_t rate);          // 0x100 .. 0x100000
    WaveResult getPositionMs(std::uint32_t* ms) const;

    const WaveFormat& format() const { return format_; }

private:
    WaveOut(Mixer* mixer, Mixer::VoiceId id, const WaveFormat& format, bool onDevice)
        : mixer_(mixer), id_(id), format_(format), onDevice_(onDevice) {}
    Mixer* mixer_;
    Mixer::VoiceId id_;
    WaveFormat format_;
    bool onDevice_;
    std::atomic<bool> closed_{false};
};

}  // namespace platform::audio
