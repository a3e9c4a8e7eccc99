// The whole program headless: the game's own start-up (the MIDlet, the
// canvas, the run loop's passes) over a device root holding the kit's demo
// archive, from the first logo on, on a clock that moves only when the
// driver steps. It owns its application (one driver at a time per process,
// and never beside a StepDriver), reads no wall clock and never sleeps.
//
// Use:
//   gamedriver::Options o;
//   o.folder = "/tmp/x";          // the device root is <folder>/device
//   o.freshDevice = true;         // saved stores removed, archive rebuilt
//   stepdriver::parseInputScript(text, o.input, error);   // same format
//   o.frames = {120, 400};        // steps whose painted screen is hashed
//   gamedriver::GameDriver drv;
//   drv.boot(o, error);
//   while (drv.stepIndex() < 2000) drv.step();
//
// A step is one pass of the run loop that runs one logic step: the clock
// advances by the current state's step length (62 ms in play, 41 ms in
// every other state), this step's input goes through the canvas's
// callbacks first, and the canvas paints the current state into the
// offscreen screen after the pass, as the screen's repaint would.
//
// Trace lines of a step, in order:
//   "<n> game state=S ticks=T depth=D trans=0|1"   every step
//   "<n> hero ..."   in play with a hero: the step driver's hero line
//   "<n> frame hash=0x........"   at the steps listed in Options::frames
// Invariants after every step: the current state has a handler, no Java
// exception is left pending, and in play the step driver's checks (live
// actors within the pool, camera inside its limits, hero outside solid
// cells and inside the map, hero state in range).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/stepdriver.h"

namespace gamedriver {

struct Options {
    std::string folder;         // the device root is <folder>/device
    bool freshDevice = true;    // remove the device root first and write the demo archive
    uint32_t seed = 1;          // the game's random generator after the run loop starts
    std::vector<stepdriver::InputEvent> input;
    std::set<int> frames;       // steps whose screen is hashed into the trace
};

class GameDriver {
public:
    GameDriver();
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // Writes the device root when asked (or when its archive is missing),
    // starts the application and the MIDlet and the run loop; false with a
    // message when the program could not start.
    bool boot(const Options& options, std::string& error);
    // One logic step (see above). False once the program has ended.
    bool step();
    // Steps until the game state is `state` (or the program ends); at most
    // `limit` steps. True when reached.
    bool stepUntil(int32_t state, int limit);

    // Steps until the game state is `state`, pressing `code` for one step
    // every fourth step (answering questions, skipping screens); at most
    // `limit` steps.
    bool pressUntil(int32_t code, int32_t state, int limit);

    int stepIndex() const { return m_step; }
    int32_t gameState() const;
    bool ended() const { return m_ended; }
    const std::vector<std::string>& trace() const { return m_trace; }
    const std::vector<std::string>& lastLines() const { return m_last; }
    const std::vector<std::string>& violations() const { return m_violations; }
    // The states the run passed through, each once per visit.
    const std::vector<int32_t>& states() const { return m_states; }
    // FNV-1a over the 480 x 800 RGB565 screen as last painted.
    uint32_t frameHash() const;
    const std::vector<uint16_t>& screen() const { return m_screen; }
    // The screen filled with one RGB565 colour (a marker the next paint
    // must cover), and the current state painted again without a step.
    void markScreen(uint16_t colour);
    void repaint();
    // More scripted input, its steps counted from `offset` (events of steps
    // already run are fed before the next step).
    void addInput(const std::vector<stepdriver::InputEvent>& events, int offset);
    // Presses and releases a key now (before the next step), as the
    // canvas's callbacks get them.
    void keyDown(int32_t code);
    void keyUp(int32_t code);
    // The device root and the application folder on the host.
    std::string deviceRoot() const;
    std::string appFolder() const;

private:
    Options m_options;
    std::vector<uint16_t> m_screen;
    size_t m_nextInput = 0;
    int m_step = 0;
    bool m_booted = false, m_ended = false;
    std::vector<std::string> m_trace, m_last, m_violations;
    std::vector<int32_t> m_states;
    void paint();
    void record();
};

}  // namespace gamedriver
