// Types of the wave-out device: the PCM format of a voice, the caller-owned
// buffers it plays, the result codes and the done callback. Shared by the
// mixer and the wave-out handles.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace platform::audio {

enum class WaveResult {
    Ok,
    NoDevice,       // no audio output could be opened
    BadFormat,      // the voice's format is not playable PCM
    InvalidHandle,  // the voice is closed
    InvalidParam,   // a null buffer, a rate out of range
    Unprepared,     // write of a buffer that was not prepared
    StillPlaying,   // the buffer is queued (unprepare, a second write)
};

// PCM format of one voice: 8-bit unsigned or 16-bit signed little-endian
// samples, 1 to 8 interleaved channels, 1000 to 768000 frames per second.
// blockAlign must be channels x bits / 8.
struct WaveFormat {
    std::uint16_t formatTag = 1;  // 1: PCM, the only one accepted
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 44100;
    std::uint32_t avgBytesPerSec = 88200;
    std::uint16_t blockAlign = 2;
    std::uint16_t bitsPerSample = 16;

    static WaveFormat pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
        WaveFormat f;
        f.channels = channels;
        f.samplesPerSec = rate;
        f.bitsPerSample = bits;
        f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
        f.avgBytesPerSec = rate * f.blockAlign;
        return f;
    }
};

// Flags of a buffer, kept by the device.
namespace buffer_flag {
inline constexpr std::uint32_t Done = 1;      // played to its end (or reset); set before the callback
inline constexpr std::uint32_t Prepared = 2;  // prepare() succeeded, unprepare() not yet
inline constexpr std::uint32_t InQueue = 16;  // written and not yet done
}  // namespace buffer_flag

// One block of PCM data, owned by the caller. The caller keeps it and its
// data alive and unchanged from write() until its done callback (or until
// reset() / close() return). A trailing partial frame is not played.
struct WaveBuffer {
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;  // bytes
    std::uint32_t loops = 1;   // plays in all; 0 plays once like 1
    void* user = nullptr;      // free for the owner
    std::atomic<std::uint32_t> flags{0};
};

// Called exactly once for every written buffer: when its last play has been
// mixed, or synchronously inside reset() / close() for a buffer still queued.
// It runs on the device's callback thread (or the thread calling reset or
// close), never while the device's lock is held, and never after close()
// has returned. It may call any wave-out operation of another voice.
using DoneCallback = std::function<void(WaveBuffer&)>;

}  // namespace platform::audio
