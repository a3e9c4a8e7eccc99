// The movers' and enemies' demo content (see demo_movers.cpp): subtype
// rows and rule programs in the actor tables, and the two demo levels.
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

#include <vector>

namespace kit {

inline constexpr int kDemoWalkerSubtype = 55;
inline constexpr int kDemoThrowerSubtype = 86;
inline constexpr int kDemoPlatformSubtype = 181;
inline constexpr int kDemoHolderSubtype = 182;
inline constexpr int kDemoSlowPickupSubtype = 183;
inline constexpr int kDemoTimedSubtype = 184;
inline constexpr int kDemoZoneSubtype = 186;
inline constexpr int kDemoSpinnerSubtype = 187;

// The thrower's templates in throwing order and the common-AI type each
// row gives them. Each template's record holds the five parameters of the
// common AI (attack box, has-hit mark); the type-14 throw (template 123)
// also gets the parts array its subtype is given.
struct DemoThrow {
    int templateId;
    int type;
};
inline constexpr DemoThrow kDemoThrows[] = {{123, 14}, {65, 16}, {120, 36}, {156, 70}, {190, 73}, {230, 85}};

// Writes the rows and programs above into demo tables.
void addDemoMoverTables(ActorTables& tables);

extern const char* const kDemoEnemies;
extern const char* const kDemoMovers;
void addDemoMovers(std::vector<DemoEntry>& out);

}  // namespace kit
