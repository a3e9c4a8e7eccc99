// Small sound files made at test time: a PCM WAVE file and a one-note
// Standard MIDI File, written byte by byte, and an AMR-NB file encoded by
// GStreamer's command-line tool where its encoder plugin exists.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fixtures {

inline void put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
inline void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
inline void putBE(std::vector<std::uint8_t>& v, std::uint32_t x, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

// 16-bit mono PCM of `frames` frames of a constant non-zero level.
inline std::vector<std::uint8_t> wav(std::uint32_t rate, std::uint32_t frames, std::int16_t level = 6000) {
    std::vector<std::uint8_t> v;
    const std::uint32_t data = frames * 2;
    v.insert(v.end(), {'R', 'I', 'F', 'F'});
    put32(v, 36 + data);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(v, 16);
    put16(v, 1);
    put16(v, 1);
    put32(v, rate);
    put32(v, rate * 2);
    put16(v, 2);
    put16(v, 16);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    put32(v, data);
    for (std::uint32_t i = 0; i < frames; ++i) put16(v, static_cast<std::uint16_t>(level));
    return v;
}

// Format 0, one track, 96 ticks per quarter at the default 120 beats per
// minute: a piano note of `ticks` ticks (96 ticks = 0.5 s).
inline std::vector<std::uint8_t> midi(std::uint8_t ticks = 48) {
    const std::vector<std::uint8_t> track = {0x00, 0xC0, 0x00,        // program 0
                                             0x00, 0x90, 60, 100,     // note on
                                             ticks, 0x80, 60, 0,      // note off
                                             0x00, 0xFF, 0x2F, 0x00}; // end of track
    std::vector<std::uint8_t> v = {'M', 'T', 'h', 'd'};
    putBE(v, 6, 4);
    putBE(v, 0, 2);
    putBE(v, 1, 2);
    putBE(v, 96, 2);
    v.insert(v.end(), {'M', 'T', 'r', 'k'});
    putBE(v, static_cast<std::uint32_t>(track.size()), 4);
    v.insert(v.end(), track.begin(), track.end());
    return v;
}

inline bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

inline std::size_t fileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<std::size_t>(in.tellg()) : 0;
}

// Encodes a short tone to AMR-NB; false when the encoder is not installed.
inline bool makeAmr(const std::string& path) {
    if (std::system("gst-inspect-1.0 amrnbenc >/dev/null 2>&1") != 0) return false;
    // The encoder gives bare frames; the file format starts with "#!AMR\n".
    // The tool's output is appended so that the header stays in front.
    const std::string cmd = "rm -f '" + path + "'; { printf '#!AMR\\n'; gst-launch-1.0 -q audiotestsrc "
                            "num-buffers=10 samplesperbuffer=1600 ! audio/x-raw,rate=8000,channels=1 ! amrnbenc ! "
                            "fdsink; } >> '" + path + "' 2>/dev/null";
    return std::system(cmd.c_str()) == 0 && fileSize(path) > 6;
}

}  // namespace fixtures
