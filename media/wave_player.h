// SoundPlayerWAVE: plays a RIFF WAVE sound as one PCM buffer on a wave-out
// voice, the voice repeating it for loops. Also the base of the Ogg player,
// which replaces how the PCM data is obtained (dispatch slots 6-8).
//
// Invariants:
//  - The state and the count of writes still awaiting their done callback
//    change together under the core's state lock. start marks the player
//    started before it writes the buffer (and undoes it when the write
//    fails), so the device's done callback, which may come at any moment on
//    the mixer's thread, always finds the state it has to end.
//  - The done callback touches only the native core, never a Java object.
//  - close resets an open voice whatever the state says, and closes it
//    before the PCM buffer is freed: the device never reads freed memory.
//  - Operations of one player are serialised by its operation lock.
#pragma once

#include "media/player.h"
#include "platform/audio/wave_out.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class SoundPlayerWAVE : public Object,
                        public javax_microedition_media_Player,
                        public javax_microedition_media_control_VolumeControl,
                        public javax_microedition_media_control_TempoControl {
public:
    // Copies the sound file's bytes; state 100, volume level 100.
    SoundPlayerWAVE(const std::uint8_t* bytes, std::size_t length);

    // Object slots: finalize closes the player and frees the native core.
    void finalize() override;
    void* getInterface(jint interfaceId) override;

    // Slot 6: the first 44 bytes of the sound file; 0 when there are none.
    virtual jint readSoundFileHeader(std::uint8_t* header);
    // Slot 7: fills the wave format, the PCM length and the duration; 1 or 0.
    virtual jint parseSoundFileHeader();
    // Slot 8: the PCM data into `out`; its byte count, or -1.
    virtual jint readSoundFilePcmData(std::vector<std::uint8_t>* out);

    // Player
    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override;
    void prefetch() override;
    void start() override;
    void stop() override;
    void deallocate() override;
    void close() override;
    jlong setMediaTime(jlong now) override;
    jlong getMediaTime() override;
    jint getState() override;
    jlong getDuration() override;
    String* getContentType() override;
    void setLoopCount(jint count) override;

    // VolumeControl
    jint getLevel() override;
    jboolean isMuted() override;
    jint setLevel(jint level) override;
    void setMute(jboolean mute) override;

    // RateControl and TempoControl (tempo is the rate)
    jint getMinRate() override { return kMinRate; }
    jint getMaxRate() override { return kMaxRate; }
    jint getRate() override;
    jint setRate(jint rate) override;
    jint setTempo(jint tempo) override { return setRate(tempo); }
    jint getTempo() override { return getRate(); }

    static constexpr jint kMinRate = 50000;
    static constexpr jint kMaxRate = 200000;

    // For tests and diagnostics: the loop count written into the wave header
    // by realize, the stored count for the next realize, the PCM format and
    // byte count.
    std::uint32_t headerLoopCount() const;
    jint storedLoopCount() const;
    platform::audio::WaveFormat waveFormat() const;
    std::uint32_t pcmDataLength() const;

protected:
    // The player's native side: everything the device or a lock touches.
    struct Core {
        std::recursive_mutex op;   // serialises the player's operations
        std::mutex stateLock;      // state and outstanding, shared with the done callback
        jint state = media::kStateUnrealized;
        int outstanding = 0;       // writes whose done callback has not come yet

        std::vector<std::uint8_t> soundFile;  // the file's copy until the PCM is extracted
        bool hasSoundFile = false;
        std::uint32_t soundFileLength = 0;

        platform::audio::WaveFormat format;
        std::unique_ptr<platform::audio::WaveOut> voice;
        platform::audio::WaveBuffer buffer;  // the one PCM buffer
        std::vector<std::uint8_t> pcm;
        std::uint32_t pcmDataLength = 0;

        jint loopCount = 0;        // for the next realize
        jint level = 100;          // 0-100
        std::uint32_t savedVolume = 0;
        bool savedVolumeValid = false;
        bool volumeSupported = false;
        bool muted = false;
        jlong duration = 0;        // microseconds
    };

    jint state() const;
    void setState(jint state);

    Core* m_core;
    const char* m_contentType;  // "audio/x-wav"; the Ogg player's "audio/ogg"
};
