// The movers' and enemies' demo content (see demo_movers.cpp): subtype
// rows and rule programs in the actor tables, and the two demo levels.
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

#include <vector>

namespace kit {

inline constexpr int kDemoWalkerSubtype = 55;
inline constexpr int kDemoThrowerSubtype = 86;
inline constexpr int kDemoPlatformSubtype = 200;
inline constexpr int kDemoHolderSubtype = 201;
inline constexpr int kDemoSlowPickupSubtype = 203;
inline constexpr int kDemoTimedSubtype = 204;
inline constexpr int kDemoZoneSubtype = 205;
inline constexpr int kDemoSpinnerSubtype = 206;

// The thrower's templates in throwing order and the common-AI type each
// row gives them.
struct DemoThrow {
    int templateId;
    int type;
};
inline constexpr DemoThrow kDemoThrows[] = {{14, 14}, {123, 16}, {131, 36}, {156, 70}, {190, 73}, {38, 85}};

// Writes the rows and programs above into demo tables.
void addDemoMoverTables(ActorTables& tables);

extern const char* const kDemoEnemies;
extern const char* const kDemoMovers;
void addDemoMovers(std::vector<DemoEntry>& out);

}  // namespace kit
