// The hero's sprite and the effect sprites of its states, for tests and the
// demo: every animation id the hero's states play (0-111) exists, and the
// animations whose ends the states wait on have fixed, documented lengths.
#pragma once

#include "tools/kit/sprite.h"

namespace kit {

// Steps of one pass of the animations the hero's states wait on.
struct HeroAnimLengths {
    static constexpr int kFidget = 8;        // 1: idle fidget, 2 frames of 4
    static constexpr int kTakeOff = 2;       // 3: jump take-off
    static constexpr int kDeath = 12;        // 7: death, 3 frames of 4
    static constexpr int kCrouch = 2;        // 11: crouching down
    static constexpr int kStandUp = 2;       // 14: standing up
    static constexpr int kStompLanding = 6;  // 20: stomp landing, 3 frames of 2
};

inline constexpr int kHeroAnimCount = 112;

// The hero: a 33 x 85 body drawn from its feet, one module per posture
// (standing, low, prone), animations 0..111; those above, several frames
// each, the rest one frame of 4 steps.
SpriteModel heroSprite();
// Effect sprites by id (8, 10, 11 of group 18): animations 0..63, one or
// two frames of 2 steps each.
SpriteModel heroEffectSprite(int id);

}  // namespace kit
