// WAVE and Standard MIDI writers (sound.h).
#include "tools/kit/sound.h"

namespace kit {

namespace {
void le32(ByteWriter& w, uint32_t v) {
    for (int k = 0; k < 4; ++k) w.u8((v >> (8 * k)) & 255);
}
void le16(ByteWriter& w, uint32_t v) {
    w.u8(v & 255);
    w.u8((v >> 8) & 255);
}
void varLen(ByteWriter& w, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = v & 0x7F;
    while (v >>= 7) bytes[n++] = static_cast<uint8_t>((v & 0x7F) | 0x80);
    while (n > 0) w.u8(bytes[--n]);
}
}  // namespace

Bytes buildWave(int rate, int hz, int ms) {
    if (rate <= 0 || hz <= 0 || ms < 0) throw KitError("wave: rate, pitch and length must be positive");
    const uint32_t samples = static_cast<uint32_t>(int64_t(rate) * ms / 1000);
    ByteWriter w;
    w.raw(std::string_view("RIFF"));
    le32(w, 36 + samples);
    w.raw(std::string_view("WAVEfmt "));
    le32(w, 16);
    le16(w, 1);  // PCM
    le16(w, 1);  // mono
    le32(w, static_cast<uint32_t>(rate));
    le32(w, static_cast<uint32_t>(rate));  // bytes a second
    le16(w, 1);  // block align
    le16(w, 8);  // bits a sample
    w.raw(std::string_view("data"));
    le32(w, samples);
    const int half = rate / (2 * hz) > 0 ? rate / (2 * hz) : 1;
    for (uint32_t i = 0; i < samples; ++i) w.u8((i / static_cast<uint32_t>(half)) % 2 ? 0xA0 : 0x60);
    return w.take();
}

Bytes buildMidi(const std::vector<MidiNote>& notes, int division) {
    if (division <= 0 || division > 0x7FFF) throw KitError("midi: division outside 1-32767");
    ByteWriter track;
    for (const MidiNote& n : notes) {
        if (n.key < 0 || n.key > 127 || n.velocity < 1 || n.velocity > 127 || n.ticks < 0)
            throw KitError("midi: note outside its ranges");
        varLen(track, 0);
        track.u8(0x90);
        track.u8(static_cast<uint32_t>(n.key));
        track.u8(static_cast<uint32_t>(n.velocity));
        varLen(track, static_cast<uint32_t>(n.ticks));
        track.u8(0x80);
        track.u8(static_cast<uint32_t>(n.key));
        track.u8(0);
    }
    varLen(track, 0);
    track.u8(0xFF);
    track.u8(0x2F);
    track.u8(0);
    ByteWriter w;
    w.raw(std::string_view("MThd"));
    w.be32(6);
    w.be16(0);
    w.be16(1);
    w.be16(static_cast<uint32_t>(division));
    w.raw(std::string_view("MTrk"));
    w.be32(static_cast<uint32_t>(track.size()));
    w.raw(track.bytes());
    return w.take();
}

}  // namespace kit
