// SoundPlayerOGG: an Ogg Vorbis sound played like a WAVE sound. At realize
// the compressed bytes go to the temporary file "\temp\sound<n>.ogg" (n =
// the number of live Ogg players), the integer decoder opens that file
// through the device path layer and the whole stream is decoded to 16-bit
// PCM, which then plays as one looping buffer (see wave_player.h).
// Invariants: the temporary file is removed as soon as the decoder holds it
// open (or the attempt failed), so it never outlives decoding, however that
// ended; writing and opening it is serialised process-wide, so two players
// sharing a number never mix their files; decoding runs inside a
// BlockingRegion and touches no Java object.
#pragma once

#include "media/wave_player.h"

class SoundPlayerOGG : public SoundPlayerWAVE {
public:
    SoundPlayerOGG(const std::uint8_t* bytes, std::size_t length);

    void finalize() override;

    // Slot 6: writes the temporary file and opens the decoder on it; 1 or 0.
    jint readSoundFileHeader(std::uint8_t* header) override;
    // Slot 7: the decoded data's wave format and the stream's duration.
    jint parseSoundFileHeader() override;
    // Slot 8: decodes the whole stream; its byte count, or -1.
    jint readSoundFilePcmData(std::vector<std::uint8_t>* out) override;

    void close() override;

    // Ogg players made and not yet closed, process-wide.
    static int liveCount();

    // Largest decoded sound kept; decoding ends there.
    static constexpr std::size_t kMaxPcmBytes = std::size_t(256) << 20;

private:
    struct Decoder;
    Decoder* m_decoder;
};
