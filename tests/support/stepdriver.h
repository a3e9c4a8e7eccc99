// The headless step driver: runs the game's in-game state one logic step at
// a time on a level the content kit builds, with scripted input, fixed
// seeds and a fixed clock, and writes one trace record per step. It owns
// its application (one driver at a time per process) and never reads the
// wall clock or sleeps: the game clock advances 62 ms a step.
//
// Use:
//   stepdriver::Options o;
//   o.level = "demo";              // or a hero fixture name ("flat", "pit",
//                                  // "ladder", ...), "file:PATH" (a level
//                                  // description as the kit compiles it),
//                                  // a named demo level ("enemies",
//                                  // "movers", "blocks", "items",
//                                  // "hazards", "chase", "run", "arena:T" for a
//                                  // boss type T with an arena), or
//                                  // "stage:N": stage N of the kit's demo
//                                  // data, started as the game starts it
//                                  // (startLevel, the loading table's steps
//                                  // over the data archive, then play)
//   o.steps = 200;
//   o.seed = 7;
//   o.heroX = 200; o.heroY = 360;  // optional: a hero record put first
//   std::string error;
//   stepdriver::parseInputScript("3 down right\n20 up right\n", o.input, error);
//   stepdriver::Run run = stepdriver::runLevel(o);   // run.ok, run.error
//   run.trace          // text lines, see below
//   run.violations     // invariant failures ("step 12: hero in a solid cell ...")
//   auto d = stepdriver::compareTraces(goldenLines, run.trace);
//   if (d) puts(stepdriver::describe(*d).c_str());
//
// Or step by step (tests poking at the game between steps):
//   stepdriver::StepDriver drv;   // boots
//   drv.load(o, error);           // level in place, hero at its record
//   drv.step();                   // one logic step; drv.lastLines()
//
// Input script: one event per line, "STEP down KEY", "STEP up KEY",
// "STEP touch X Y", "STEP drag X Y", "STEP lift X Y"; '#' starts a comment.
// KEY is 0-9, star, pound, left, right, up, down, fire, lsoft or rsoft.
// Events of step n are fed before step n runs (steps count from 0). Keys go
// through the canvas's key callbacks, so, as on the device, a new key
// press releases the previous one.
//
// Trace lines, in this order within a step (every value an integer):
//   "<n> hero game=G state=S ticks=T x=X y=Y vx= vy= ax= ay= result=0x..
//        facing= anim= camX= camY= health= actors="
//   "<n> actor id=I type= sub= ai= x= y= anim= contact= hp="  (active list
//        order, hero excluded; hp is parts[2], -1 without parts)
//   "<n> sound id=I"           a play request this step
//   "<n> spawn id=I type= sub=" / "<n> remove id=I"   pool actors that came
//        or went this step
//   "<n> script start=I"       a level script that became active
// Without a hero the hero line holds game=G and "state=none".
//
// Invariants checked after every step: at most 200 live pool actors; the
// camera centre stays inside its limits less half the view; the hero's box
// interior overlaps no solid (class 6) cell; the hero's state is 0-40 and
// not 24; the hero stays within the map's width (x from -35 on: cells are
// found by truncating division, so those pixels lie in column 0) and at most
// 108 rows below it; the current game state has a handler.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace stepdriver {

struct InputEvent {
    enum class Kind { Down, Up, Touch, Drag, Lift };
    int step = 0;
    Kind kind = Kind::Down;
    int32_t code = 0;  // key code of Down and Up (the canvas's codes)
    int32_t x = 0, y = 0;
};

// The demo's levels by name: "demo", the named behaviour levels and the
// boss arenas (stage:N and the hero fixtures not included).
std::vector<std::string> demoLevelNames();

// Parses an input script; false with a message naming the line on error.
bool parseInputScript(const std::string& text, std::vector<InputEvent>& out, std::string& error);

// Seeded random input over `steps` steps: keys held for a while and
// released, now and then a touch, a few drags and a lift; soft keys (which
// open the pause screens) rarely, and only when softKeys is set.
std::vector<InputEvent> randomInput(uint32_t seed, int steps, bool softKeys);

struct Options {
    std::string level = "demo";
    int steps = 100;
    uint32_t seed = 1;
    // When both are 0 or more, a hero record (subtype 0) standing at (x, y)
    // goes first into the level's object list (the fixture maps have none).
    int32_t heroX = -1, heroY = -1;
    std::vector<InputEvent> input;
};

struct Run {
    bool ok = false;
    std::string error;
    std::vector<std::string> trace;
    std::vector<std::string> violations;
};

class StepDriver {
public:
    StepDriver();
    ~StepDriver();
    StepDriver(const StepDriver&) = delete;
    StepDriver& operator=(const StepDriver&) = delete;

    // Puts the level in place and the hero at its record; false (with a
    // message) when the level is unknown or its tables were refused whole.
    bool load(const Options& options, std::string& error);
    // One logic step: this step's input, key fold, the in-game update, the
    // paint into the offscreen screen, the pending state change; then the
    // trace record and the invariant checks.
    void step();
    int stepIndex() const { return m_step; }
    const std::vector<std::string>& trace() const { return m_trace; }
    const std::vector<std::string>& lastLines() const { return m_last; }
    const std::vector<std::string>& violations() const { return m_violations; }

private:
    struct State;
    std::unique_ptr<State> m_state;
    Options m_options;
    int m_step = 0;
    std::vector<std::string> m_trace, m_last, m_violations;
    void record();
    void checkInvariants();
    bool loadStage(int32_t stage, std::string& error);
    void drainSounds();
};

// A state the machine may be in: one with a handler, or the end state 16
// that the run loop ends the program on.
bool stateIsHandled(int32_t state);
// The hero record of step n as the trace writes it (the GameDriver's
// in-play line too).
std::string heroTraceLine(int step);
// The invariants above for the game as it stands after step n; failures
// appended to out.
void checkPlayInvariants(int step, std::vector<std::string>& out);

// Boots, loads and runs options.steps steps.
Run runLevel(const Options& options);

struct Divergence {
    int step = 0;  // -1 when the runs differ in length only before any step
    std::string field;
    std::string expected, got;
};
// The first place two traces differ: the step of the first differing
// line, the first differing field of that line ("record" when the lines
// are of different kinds, "length" when one trace ends first).
std::optional<Divergence> compareTraces(const std::vector<std::string>& expected, const std::vector<std::string>& got);
std::string describe(const Divergence& d);

// Text file helpers: lines without their ends; false when unreadable.
bool readLines(const std::string& path, std::vector<std::string>& lines);
bool writeLines(const std::string& path, const std::vector<std::string>& lines);

// A trace against its golden file: with BRAMBLE_UPDATE_GOLDEN set the file
// is written first. Empty when they agree, else what differs (a missing or
// unwritable file, or the first divergence).
std::string checkGoldenTrace(const std::string& path, const std::vector<std::string>& trace);

}  // namespace stepdriver
