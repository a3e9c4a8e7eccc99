// The software mixer behind the wave-out device: every open voice has its own
// PCM format, queue of buffers, loop count, volume word and playback rate,
// and is converted and resampled (linear) into interleaved signed 16-bit
// stereo at the output rate; the master volume applies last.
// Invariants: one lock (the device lock) guards all voice state, taken by
// render() and by every operation; done callbacks are delivered by the
// mixer's own callback thread or synchronously by reset()/close(), always
// with the lock released, exactly once per written buffer.
// The mixer knows no audio API: a device calls render() from its audio
// thread, and tests call it directly.
#pragma once

#include "platform/audio/wave_types.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::audio {

class Mixer {
public:
    using VoiceId = std::uint32_t;

    static constexpr std::uint32_t kUnityRate = 0x10000;       // playback rate 1.0 (16.16)
    static constexpr std::uint32_t kMinRate = 0x100;            // 1/256
    static constexpr std::uint32_t kMaxRate = 0x100000;         // 16.0
    static constexpr std::uint32_t kFullVolume = 0xFFFFFFFFu;   // both 16-bit levels at 0xFFFF

    explicit Mixer(std::uint32_t outputRate);
    ~Mixer();  // closes voices still open (their pending buffers are called back)
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    std::uint32_t outputRate() const { return outputRate_; }

    // Mixes the next `frames` frames (2 samples each) into `out`.
    void render(std::int16_t* out, std::size_t frames);

    // The master volume: low 16 bits the left level, high 16 bits the right.
    std::uint32_t masterVolume() const;
    void setMasterVolume(std::uint32_t volume);

    WaveResult open(const WaveFormat& format, DoneCallback callback, VoiceId* id);
    // Resets the voice (pending buffers are called back before it returns)
    // and ends it: no callback of it runs after close() returns.
    WaveResult close(VoiceId id);

    WaveResult prepare(VoiceId id, WaveBuffer& buffer);
    WaveResult unprepare(VoiceId id, WaveBuffer& buffer);
    WaveResult write(VoiceId id, WaveBuffer& buffer);
    // Stops the voice: every queued buffer is marked done and called back
    // before reset() returns; the position goes back to 0.
    WaveResult reset(VoiceId id);
    WaveResult pause(VoiceId id);
    WaveResult restart(VoiceId id);

    // The voice's volume word. Only the low 16 bits count and apply to every
    // channel (the device has no separate left and right voice levels).
    WaveResult getVolume(VoiceId id, std::uint32_t* volume) const;
    WaveResult setVolume(VoiceId id, std::uint32_t volume);
    // Playback rate, 16.16 fixed point; 0x10000 is normal speed.
    WaveResult getPlaybackRate(VoiceId id, std::uint32_t* rate) const;
    WaveResult setPlaybackRate(VoiceId id, std::uint32_t rate);
    // Milliseconds of the voice's own sound played since open or reset.
    WaveResult getPositionMs(VoiceId id, std::uint32_t* ms) const;

    std::size_t voiceCount() const;
    // True while any voice has a buffer queued and is not paused.
    bool busy() const;

private:
    struct Voice;
    struct Done {
        VoiceId voice;
        WaveBuffer* buffer;
    };

    Voice* find(VoiceId id) const;
    void mixVoice(Voice& v, std::size_t frames);
    bool settleFront(Voice& v);
    void finishFront(Voice& v);
    std::vector<WaveBuffer*> takePending(std::unique_lock<std::mutex>& lock, Voice& v, VoiceId id);
    void deliver(Voice& v, const std::vector<WaveBuffer*>& buffers);
    void dispatchLoop();

    const std::uint32_t outputRate_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::map<VoiceId, std::unique_ptr<Voice>> voices_;
    std::deque<Done> done_;
    std::vector<float> accum_;
    VoiceId nextId_ = 1;
    std::uint32_t master_ = kFullVolume;
    bool quit_ = false;
    std::thread dispatcher_;
};

}  // namespace platform::audio
