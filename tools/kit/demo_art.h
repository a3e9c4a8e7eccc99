// The demo's painted art: the screens' backdrop sprite and the map tiles.
// Every frame stays inside its own box: the backdrop covers the whole
// 800 x 480 view around its anchor (400, 240); each tile frame covers
// exactly its 36 x 36 cell from its top-left corner.
#pragma once

#include "tools/kit/sprite.h"

namespace kit {

// Tile frames of the demo tile sprite. The world stage's layers and the
// visual layer made for the behaviour levels name these numbers.
enum DemoTile : int {
    kTileSky = 0,        // open background
    kTileGround = 1,     // grass on earth: floor and solid mass
    kTileLedge = 2,      // a plank one can stand on from above
    kTileConveyor = 3,   // a belt with rollers
    kTileWall = 4,       // stone blocks
    kTileSlope = 5,      // earth rising to the right
    kTileFarHillA = 6,   // far layer: hills, four variants
    kTileFarHillB = 7,
    kTileFarHillC = 8,
    kTileFarHillD = 9,
    kTileThornA = 10,    // middle layer: bramble clumps, six variants
    kTileThornB = 11,
    kTileThornC = 12,
    kTileThornD = 13,
    kTileThornE = 14,
    kTileThornF = 15,
    kTileHazard = 16,    // spikes
    kDemoTileFrames = 17,
};

inline constexpr int kTileSize = 36;
inline constexpr int kViewWidth = 800, kViewHeight = 480;

// The screens' backdrop (sprite 117): frame 0 the full-view backdrop,
// frame 1 the title's banner over it; both anchored at the view's centre.
SpriteModel demoBackdropSprite();
// The map tiles, frames as above.
SpriteModel demoTileSprite();

// The heads-up display (sprite reference 1 of group 18): the side panel's
// health pips (frames 29 full, 30 empty, 31 half: 20 x 20 around their
// anchor), the hero's portraits (animations 45, 46, 47: a 56 x 56 face
// right of and below its anchor, which the panel puts at the view's top
// left corner), the speech panel's page arrow (animation 10, left of and
// above its anchor) and the collect counter's coin (animation 0 turning,
// frame 18 still; the levels load the sprite into slot 0 too, the slot of
// their counter's item). The other animations show nothing.
SpriteModel demoHudSprite();
// The corner touch buttons (sprite 112), in view pixels as the engine turns
// them onto the canvas: frames 0-3 are the pad (190 square), the two round
// buttons of the right corner (200 square), the action button (100 square)
// and the partner button (83 square), each from its top-left corner; the
// pressed looks are drawn where the panel places them: 8-15 the pad's
// cells around the pad's centre, 5 and 7 the two round buttons from the
// right corner's bottom-right corner, 4 the action button around its
// centre, 6 and 17 the partner button's, 16 and 19 its blink, 18 the
// button of the hero that carries (all from its top-left corner).
SpriteModel demoButtonSprite();

// Looks of the actors that have no sprite of their own: each a simple
// shape of its own colour, standing on its anchor (feet at 0, 0), two
// frames that bob, and kDemoActorAnims animations of those two frames.
enum class ActorLook : int { Enemy, Hazard, Platform, Item, Boss };
inline constexpr int kDemoActorLooks = 5;
inline constexpr int kDemoActorAnims = 80;
SpriteModel demoActorSprite(ActorLook look);
// The arena actors' sprite: the hero's frames, rectangles and animations
// (so every animation they play lasts as long as before) in a boss's
// colours.
SpriteModel demoArenaSprite();

// The chains' links (type 52): kDemoChainAnims animations of 20 frames,
// frame f a link ring at the f-th of 20 steps of a half turn, anchored at
// the link's centre (the chain painter picks the frame by the link's angle).
inline constexpr int kDemoChainAnims = 14;
SpriteModel demoChainLinkSprite();

// The level end's fireworks (sprite 22 of pack 18): kDemoFireworkAnims
// animations of a spark fading out in its colour (animation 0 the rocket),
// each frame a disc around the anchor.
inline constexpr int kDemoFireworkAnims = 5;
SpriteModel demoFireworkSprite();
// The show's glow over the view (sprite 12 of pack 1): one animation of a
// ring of light widening around the anchor.
SpriteModel demoShowGlowSprite();
// The auto-run's speed-up (sprite 50 of pack 20, shown at the view's centre
// by level-script command 130): one animation of streaks sweeping left
// across the anchor, played once.
SpriteModel demoSpeedStreakSprite();
// The boss gauge's portraits (sprite 18 of pack 18): frames 0-20, each a
// framed face 40 x 40 around the anchor in a colour of its own.
inline constexpr int kDemoBossPortraits = 21;
SpriteModel demoBossPortraitSprite();

}  // namespace kit
