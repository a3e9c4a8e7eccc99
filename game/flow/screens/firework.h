// One firework particle (a rocket or a spark) and the show that launches
// five rockets and bursts each into 50 sparks. Positions and velocities are
// in 1/256 view pixel; the show advances once per call of spawnFireworks and
// draws from the particle array with paintFireworks. Invariants: the array
// holds at most kFireworkCapacity particles (adds past it are dropped),
// fireworksAlive counts particles added minus particles that died, and dead
// particles stay in the array until the show is cleared.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class BSprite;
class javax_microedition_lcdui_Graphics;

namespace game {

class cGame_Firework : public Object {
public:
    cGame_Firework();

    virtual void update();  // slot 6

    void init(jint x, jint y, jint vx, jint vy, jint kind, jint life, jint delay, jint animation);
    void reset();
    jint getX() const { return x; }
    jint getY() const { return y; }
    bool isAlive() const { return life > 0; }
    // Draws the current frame when the particle has started.
    void paint(javax_microedition_lcdui_Graphics* g);

    jint x, y, vx, vy;
    jint animation, frame, frameTime;
    jint life, delay, kind;
};

// The sprite the particles are drawn from (sprite reference 22 of group 18),
// or null.
BSprite* fireworkSprite();
// A random velocity: speed in [minSpeed, maxSpeed), angle in whole degrees
// in [minAngle, maxAngle), each drawn only when its range is not empty.
// Fills out[0] = vx, out[1] = vy.
void randomDirection(jint minSpeed, jint maxSpeed, jint minAngle, jint maxAngle, jint out[2]);
// Stores p at the end of the particle array; nothing when it is full.
void addFirework(cGame_Firework* p);
// Sets the show up (phase 0) or advances every live particle (phase 1).
void spawnFireworks();
// Draws every live particle and clears the burst flash.
void paintFireworks(javax_microedition_lcdui_Graphics* g);
// Forgets the show: count, alive count and array.
void clearFireworkState();

}  // namespace game
