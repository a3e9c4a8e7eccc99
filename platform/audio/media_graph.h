// Media graphs of the sound server: one GStreamer pipeline per sound file
// (file source, automatic decoding, conversion, the configured audio sink),
// with run, pause, stop (pause and rewind), seek, a state query that never
// waits, and the graph's events (end of stream, errors) handed to the owner.
// MIDI decodes through the FluidSynth synthesizer with the given sound font,
// AMR-NB through its decoder plugin, everything else GStreamer recognises
// through its own decoders.
// Invariants: a graph is used by one thread at a time (its owner); the only
// call from other threads is the owner's event notifier, which must not call
// back into the graph. After the destructor returns no notifier runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::media {

// Starts GStreamer once for the process; false (with the reason) when it cannot.
bool initialize(std::string* error = nullptr);

struct GraphOptions {
    // The audio sink: one element or a chain ("fakesink", "autoaudiosink",
    // "filesink location=out.raw"); converted audio flows into it.
    std::string sink = "autoaudiosink";
    // General MIDI sound font for MIDI files; empty: the synthesizer's default.
    std::string soundFont;
    // How long open() waits for the graph to become playable. A graph still
    // preparing after that (no error yet) is answered all the same: it gets
    // ready by itself, and commands given meanwhile take effect then.
    std::chrono::milliseconds openTimeout{4000};
};

enum class GraphState { Stopped, Paused, Running, Changing };

enum class GraphEvent { EndOfStream, Error };

class MediaGraph {
public:
    // Builds the graph for the file and waits (at most openTimeout) until it
    // is ready to play (paused at the start). Null with a reason when the
    // file cannot be read or decoded.
    static std::unique_ptr<MediaGraph> open(const std::string& path, const GraphOptions& options,
                                            std::string* error);
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    bool run();
    bool pause();
    // Pauses and seeks (flushing) to the start, so that the graph can still seek.
    bool stop();
    // Flushing seek to a position in nanoseconds; the run state is kept.
    // When waitMs > 0, waits that long at most for a paused graph to settle.
    bool seek(std::int64_t positionNs, int waitMs = 0);
    // Length of the sound in nanoseconds, or -1 when unknown.
    std::int64_t durationNs() const;
    // The state without waiting; Changing while a state change is under way.
    GraphState state() const;

    // Called from any thread whenever an event waits to be taken. Set it
    // before running the graph; it must not call into the graph.
    void setEventNotify(std::function<void()> notify);
    // Takes the waiting events (oldest first); error texts go to `errors`.
    std::vector<GraphEvent> takeEvents(std::vector<std::string>* errors = nullptr);

    struct Impl;

private:
    explicit MediaGraph(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::media
