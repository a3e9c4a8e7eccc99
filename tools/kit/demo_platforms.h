// The platform family's demo content: the subtype rows of its demo actors
// (carriers, path and sinking platforms, checkpoint markers, crushers,
// trigger zones, containers and items) and two test levels, *carriers*
// (chains, hero drivers, a push zone) and *platform items* (carried,
// thrown and flying items, a container), as level packs "pack_carriers"
// and "pack_platform_items". The demo stage uses the same rows.
#pragma once

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_hazards.h"

#include <string>
#include <vector>

namespace kit {

// Subtypes of the demo actors (their rows give the actor type). 201, 208
// and 112 are subtypes the game names (the chain's mode parameter, the timed
// drop, the item that breaks with animation 5).
namespace platform_subtypes {
inline constexpr int kCheckpoint = 193, kPathPlatform = 194, kSinkPlatform = 195, kCrusher = 196;
inline constexpr int kItem = 198, kContainer = 203, kTrigger = 204, kBreakingItem = 112;
inline constexpr int kChain = 205, kChainMode = 201, kPushZone = 207, kDropPlatform = 208;
inline constexpr int kBar = 211, kRamp = 212, kRider = 213, kHolder = 214, kScaleItem = 216, kHeavy = 217;
}  // namespace platform_subtypes

// Writes the demo actors' rows (type, size, flags) into the tables.
void addDemoPlatformRows(ActorTables& tables);

// The levels' descriptions (the kit's level text).
std::string demoCarriersLevel();
std::string demoPlatformItemsLevel();
// Their actors (and the container's item) as level text lines, moved dx
// pixels right onto a floor at floorY (the levels' own floor is at 648),
// record ids raised by idBase, drawn or not (the test levels' are not):
// the joined game's stages hold them too, drawn.
std::string demoCarriersObjects(int dx, int floorY, int idBase, bool drawn);
std::string demoPlatformItemsObjects(int dx, int floorY, int idBase, bool drawn);
// A small level with a sinking platform and a timed drop (subtype 208) the
// hero jumps onto.
std::string demoSinkingPlatformsLevel();
void addDemoPlatforms(std::vector<DemoEntry>& out);

// Damaged variants of the platform records, each a whole level text:
// chains of no or absurd link counts, zero hold and carry times, path
// platforms on missing or looping links, a trigger without its script.
std::vector<DamagedLevel> damagedPlatformLevels();

}  // namespace kit
