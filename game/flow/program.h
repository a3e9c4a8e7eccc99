// What the program needs of the game's core at start: the statics, the
// state handlers this library owns and the game's sprite host.
#pragma once

#include "game/sprite/host.h"

namespace game {

// The game's services to the sprite engine: cGame.sin over the game's
// quarter-wave table (2048 steps), cGame.graphics, the shared screen
// buffer (cGame.frameCache) and the translucent fill row (cGame.fillRow,
// which drawTiledRect tiles).
class GameSpriteHost final : public sprite::SpriteHost {
public:
    void setAlphaFillColor(jint argb) override;
    void drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) override;
    jint sin(jint angle) override;
    jint quarterCircle() override { return 512; }
    jint stepsPerCircle() override { return 2048; }
    javax_microedition_lcdui_Graphics* currentGraphics() override;
    IntArray* pixelBuffer(jint minLength) override;
    IntArray* rotationBuffer(jint minLength) override;

    static GameSpriteHost& instance();
};

// Registers the sprite engine's and the game's statics (before
// Application::init), fills the core state handler slots and installs the
// game's sprite host (used from the first paint on).
void registerGameProgram();

}  // namespace game
