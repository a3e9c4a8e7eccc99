// The demo joined into one game: stages 1-10 after the world's stage 0 play
// the behaviour families' levels through the game's own loading path. Each
// stage owns a numbered level pack (a copy of its family's level with an
// end added: a trigger zone that runs a level-end script, or a boss whose
// defeat script ends the level), a loading group whose condition program
// selects it by the load request's stage, its loading records (tiles,
// level tables, music, actors, play state) and its music. Every level load
// also brings the hero's and the effect sprites, the fonts and texts (the
// any-level group) and the game-over screen's falling hero (8, 1); the
// arenas' bosses and minions are drawn with the hero's sprite.
//
// Stages 3 and 4 play a second family after their own (the platform items
// after the items, the carriers after the movers: the room widened, the
// second family's actors moved along it), and stages 6, 8 and 9 hold two
// boss arenas one after the other (102 before 24, 92 before 33, 21 before
// 94), so the played game reaches every behaviour family.
//
// Invariants: a stage's level text is its family's text (its room widened
// when a second family follows) plus appended lines, never a second copy of
// a level kept elsewhere; the family's named packs stay as they are;
// neighbouring stages never share a music id; the entries are built from
// fixed data only (the archive is the same every run).
#pragma once

#include "tools/kit/demo_art.h"
#include "tools/kit/level.h"

#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"
#include "tools/kit/loading.h"

#include <string>
#include <vector>

namespace kit {

struct DemoStage {
    int stage;            // the load request's stage (1-10)
    int pack;             // level pack number ("packN")
    const char* family;   // the family's level it plays ("hazards", "arena97" ...)
    const char* folded;   // a second family played after the first (its actors
                          // in the same room, or the first of two arenas), or null
    std::string level;    // the level description, end included
    int group;            // loading group of its records
    int firstRecord;      // its loading records from here on
    int music;            // sound id of its music (demoStageMusic)
    bool bossEnd;         // ends by the boss's defeat script, not a trigger
    int endX, endY;       // trigger zone centre (trigger ends only)
};

// The joined stages, in stage order.
const std::vector<DemoStage>& demoStages();
// A stage's level as its pack holds it: a level without painted cells gains
// a layer 2 drawn over its collision cells and a far backdrop in layer 0.
LevelModel demoStageLevel(const DemoStage& stage);
// The loading group every level load needs (fonts, texts, screen sprites,
// the hero's and effect sprites).
inline constexpr int kDemoAnyLevelGroup = 4;

// Each stage's loading records and group programs, added to the table and
// the condition programs; stage 0's sprite records move to the any-level
// group so every stage draws the hero.
void addDemoGameLoading(LoadTable& table);
void addDemoGameConditions(std::vector<Bytes>& programs);
// The arenas' actors drawn with a sprite whose animations end (the demo
// tables give them none), and the game's actor tables with that change.
void addDemoGameActorSprites(ActorTables& tables);
// The look a row without a sprite is drawn with, by its actor type.
ActorLook lookOfType(int type);
// Hazard types left without a sprite (thrown and spawned ones, steered by
// their animations' lengths).
bool unseenHazard(int type);
Bytes demoGameActorTables();

// The stages' level packs, and the amendments of the loading table and the
// condition file (called after amendDemoForWorld).
void addDemoGame(std::vector<DemoEntry>& entries);

}  // namespace kit
