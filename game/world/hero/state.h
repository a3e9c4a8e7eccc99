// The hero's state numbers, handler phases and the input bits the handlers
// read. States run 0-40; 24 is not a state: it and every number outside
// 0-40 (negative ones too) have no handler and no table row.
#pragma once

#include <cstdint>

namespace game {

namespace HeroState {
enum : int32_t {
    STAND = 0,
    WALK = 1,
    FALL = 2,
    JUMP = 3,
    CROUCH = 4,
    DASH = 5,
    SKID = 6,
    STOMP = 7,
    SLOPE_SLIDE = 8,
    LAUNCHED = 9,
    HURLED = 10,
    KNOCKBACK = 11,
    GRAB_COMBO = 12,
    FLOAT_UP = 13,
    SWIM = 14,
    SWIM_STROKE = 15,
    ROLL = 16,
    CRUISE = 17,
    SPECIAL = 18,
    PICKUP = 19,
    POWER_RUN = 20,
    TOWED = 21,
    USE_OBJECT = 22,
    PLAY_ACTION = 23,
    PADDLE = 25,
    MIRE = 26,
    CLIMB = 27,
    ICE = 28,
    SCRIPT_HOLD = 29,
    SWING = 30,
    ORBIT = 31,
    SWITCH_HERO = 32,
    OPERATE = 33,
    UPDRAFT = 34,
    AIM_THROW = 35,
    HOP = 36,
    SCRIPT_TRIGGER = 37,
    FLY = 38,
    BORNE = 39,
    AUTO_RUN = 40,
};
}  // namespace HeroState

namespace HeroPhase {
enum : int32_t { ENTER = 0, UPDATE = 1, EXIT = 2 };
}

constexpr int32_t kHeroStateCount = 41;

// A number that names a state with a handler.
constexpr bool isHeroState(int32_t s) { return s >= 0 && s < kHeroStateCount && s != 24; }

// Bits of the hero's action mask.
namespace act {
constexpr int32_t LEFT = 1;
constexpr int32_t RIGHT = 2;
constexpr int32_t JUMP_UP = 4;
constexpr int32_t JUMP_LEFT = 8;
constexpr int32_t JUMP_RIGHT = 16;
constexpr int32_t CROUCH = 32;
constexpr int32_t STAND_UP = 64;
constexpr int32_t ACTION = 128;
constexpr int32_t ACTION2 = 0x100;
constexpr int32_t DOWN = 0x200;
constexpr int32_t LEFT_DOWN = 0x400;
constexpr int32_t RIGHT_DOWN = 0x800;
constexpr int32_t SWIM_UP = 0x1000;
constexpr int32_t SWIM_DOWN = 0x2000;
constexpr int32_t SWIM_LEFT = 0x4000;
constexpr int32_t SWIM_RIGHT = 0x8000;
constexpr int32_t MOUNT = 0x10000;
constexpr int32_t ROLL_LEFT = 0x20000;
constexpr int32_t ROLL_RIGHT = 0x40000;
constexpr int32_t JUMP2 = 0x80000;
constexpr int32_t SPECIAL = 0x100000;

constexpr int32_t MOVE = LEFT | RIGHT;            // 3
constexpr int32_t HORIZONTAL = 0xC03;             // move bits and direction-down bits
constexpr int32_t ANY_JUMP = 0x8001C;             // 4, 8, 16, 0x80000
constexpr int32_t STRAIGHT_JUMP = 0x80004;
}  // namespace act

// Bits of the physics step's result word.
namespace hit {
constexpr int32_t SIDE = 4;
constexpr int32_t VERTICAL = 8;
constexpr int32_t ACTOR = 16;
constexpr int32_t SLOPES = 64 | 128;
constexpr int32_t LANDED = 0x100000;
}  // namespace hit

// Motion state layout: accelerations, speeds, fine position, limits.
namespace mo {
constexpr int32_t AX = 0, AY = 1, VX = 2, VY = 3, FX = 4, FY = 5, MIN_VX = 6, MAX_VX = 7, MIN_VY = 8, MAX_VY = 9;
}

}  // namespace game
