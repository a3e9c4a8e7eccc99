// Key table, system and volume keys, volume steps, pointer scaling.
#include "shell/input.h"

#include <cmath>

namespace {

constexpr uint32_t kReturn = 13, kEscape = 27, kHome = 36, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr uint32_t kLeftWin = 91, kRightWin = 92, kNumpad0 = 96, kNumpad9 = 105;
constexpr uint32_t kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115, kF6 = 117, kF7 = 118, kF8 = 119, kF9 = 120;

constexpr uint32_t kVolumeStep = 0x1999;      // 6,553
constexpr uint32_t kVolumeTopStep = 0xE665;   // 58,981: one step from here reaches the top

uint32_t stepLevel(uint32_t level, bool up) {
    if (up) return level >= kVolumeTopStep ? 0xFFFF : level + kVolumeStep;
    return level <= kVolumeStep ? 0 : level - kVolumeStep;
}

uint32_t stepVolume(uint32_t volume, bool up) {
    return stepLevel(volume & 0xFFFF, up) | (stepLevel(volume >> 16, up) << 16);
}

int scaleAxis(int value, float factor) {
    if (factor == 1.0f) return value;
    const float scaled = float(value) * factor + 0.5f;
    return int(std::floor(scaled));
}

}  // namespace

int mapVirtualKeyToGameKey(uint32_t key) {
    if (key < kReturn || key > kF9) return int(key);
    switch (key) {
    case kReturn: return midpkey::Fire;
    case kUp: return midpkey::Up;
    case kDown: return midpkey::Down;
    case kLeft: return midpkey::Left;
    case kRight: return midpkey::Right;
    case kF1: return midpkey::SoftLeft;
    case kF2: return midpkey::SoftRight;
    case kF8: return midpkey::Star;
    case kF9: return midpkey::Pound;
    default: break;
    }
    if (key >= kNumpad0 && key <= kNumpad9) return int('0' + (key - kNumpad0));
    return int(key);
}

bool isSystemKey(uint32_t key) {
    return key == kLeftWin || key == kRightWin || key == kF3 || key == kF4 || key == kEscape || key == kHome;
}

bool isVolumeKey(uint32_t key) { return key == kF6 || key == kF7; }

uint32_t volumeStepUp(uint32_t volume) { return stepVolume(volume, true); }
uint32_t volumeStepDown(uint32_t volume) { return stepVolume(volume, false); }

void scalePointerCoordinates(const PointerScale& scale, int& x, int& y) {
    x = scaleAxis(x, scale.x);
    y = scaleAxis(y, scale.y);
}
