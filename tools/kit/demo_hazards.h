// The hazard family's demo content: the subtype rows of its demo actors
// and three test levels, *hazards* (every hazard, generator, trap, pad and
// fly-by type, the part field and a segment owner), *chase* (an auto-run
// level with the chaser and a speed pad) and *run* (the auto-run course:
// a floor the running hero crosses, the chaser behind it, the run-speed
// pickup on its way), as level packs "pack_hazards", "pack_chase" and
// "pack_run".
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

#include <string>
#include <vector>

namespace kit {

// Subtypes of the demo actors (their rows give the actor type).
namespace hazard_subtypes {
inline constexpr int kChain = 160, kFlame = 161, kTrap4 = 162, kBall = 163, kShot = 189, kLinkMover = 166;
inline constexpr int kGaze = 167, kHatch = 168, kTurret81 = 169, kTurret83 = 170, kSpringTrap = 171;
inline constexpr int kPad = 174, kFlyBy = 176, kLinkPlatform = 177, kContact = 178, kChaser = 179;
inline constexpr int kSegment = 180, kField = 143, kFieldSparks = 106;
// The run-speed pickup (type 59): taken, the run goes from 256 to 460.
inline constexpr int kRunBoost = 157;
// Curve generators and the movers they emit (template generator subtype + 1,
// so the mover's subtype must be one of the factory's templates).
inline constexpr int kLobGenerator = 130, kLobber = 131, kColumnGenerator = 128, kColumn = 129;
// What the hazards make: the hatch's item, the fly-by's drops (template 192,
// the shot the movers' table row gives), the shots.
inline constexpr int kHatchItem = 126, kFlyByDrop = 192, kShot81 = 206, kShot83 = 221;
}  // namespace hazard_subtypes

// Writes the demo actors' rows (type, size, flags) into the tables.
void addDemoHazardRows(ActorTables& tables);

// The levels' descriptions (the kit's level text).
std::string demoHazardsLevel();
std::string demoChaseLevel();
// The auto-run course's ids: the hero's start script (it puts the hero into
// the run), the pickup's record id and x.
inline constexpr int kRunStartScript = 3, kRunBoostId = 32, kRunBoostX = 1500;
std::string demoRunLevel();
void addDemoHazards(std::vector<DemoEntry>& out);

// Damaged variants of the hazard records, each a whole level text: zero
// cycles and slot counts, absurd ball counts, generators short of link
// points or with step counts the path cannot use, link loops under a
// riding mover and a waiting platform, missing links, scripts and ride
// targets. The game refuses or bounds each one; none may crash or hang.
struct DamagedLevel {
    std::string name;
    std::string text;
};
std::vector<DamagedLevel> damagedHazardLevels();

}  // namespace kit
