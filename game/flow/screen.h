// Screen drawing routines and text: fills, bars and gauges, the iris mask,
// sprite and font painting by number, frame measuring, the off-screen
// loading picture, undoing a loading step, and the text parameters, escape
// formatting, number grouping and the font draw wrappers.
//
// Graphics calls take canvas pixels (480 x 800 portrait); sprites and font
// texts take view coordinates (800 x 480) and the sprite engine turns them.
// Everything paints on cGame.graphics unless told.
#pragma once

#include "runtime/array.h"

class BSprite;
class String;
class javax_microedition_lcdui_Graphics;

namespace game {

// --- fills and bars ------------------------------------------------------------
void clearScreen(jint colour);
void clearScreenOnce();
void fillGradientRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint c1, jint c2,
                      bool mirrored, bool byColumns);
// The iris mask: fills the region outside the circle (cx, cy, r).
void fillScreen(javax_microedition_lcdui_Graphics* g, jint cx, jint cy, jint r, IntArray* region, bool keepColour);
jint halfChord(jint a, jint b);
jint clampValue(jint v, jint lo, jint hi);
jint min4(jint a, jint b, jint c, jint d);
jint max4(jint a, jint b, jint c, jint d);
// value clamped to 0..max; max <= 0 draws an empty bar.
void drawBar(jint x, jint y, jint w, jint h, jint max, jint value, jint fill, jint frame);
// The pulse of colours 2 and 3 below value 4 uses the clock's ms value.
void drawGauge(jint x, jint y, jint length, jint thickness, jint max, jint value);
void drawGaugeAt(jint x, jint y, jint length, jint thickness, jint max, jint value, jlong nowMs);

// --- sprites and fonts by number ----------------------------------------------
BSprite* spriteAt(jint n);
BSprite* fontAt(jint n);
void drawSpriteFrame(BSprite* sprite, jint anim, jint f, jint x, jint y, jint flags, jint scale, jint rotation);
void getFrameRect(BSprite* sprite, jint frame);
jint getAnimDuration(BSprite* sprite, jint anim);
jint getAnimFrameAt(BSprite* sprite, jint anim, jint t);
void drawAnimFrame(BSprite* sprite, jint anim, jint t, jint x, jint y, jint flags);
void paintSpriteAnim(jint n, jint anim, jint t, jint x, jint y);
void paintSpriteFrameFlags(jint n, jint frame, jint x, jint y, jint flags);
void paintSpriteFrame(jint n, jint frame, jint x, jint y);
void setSpritePalette(jint n, jint p);
void setFontPalette(jint n, jint p);
jint getFontPalette(jint n);
jint getLinesHeight(jint n, jint lines);
// Rewrites the alpha of every colour of font n's palettes to a (a font
// with an alpha mask or table scales it instead); nothing when unchanged.
void setFontAlpha(jint n, jint a);

// --- screen painters ------------------------------------------------------------
// Health pips of the side panel (sprite reference 1 of group 18).
void paintHealthBar();
// The level clock while it runs: minutes, tens and units of seconds.
void paintLevelTimer();
// "page / count" in font 0 with the page arrows of sprite 107.
void paintPageIndicator(jint x, jint y, jint page, jint count);
// The on-screen button frames of sprite 112 by cGame.buttonBits (and the
// blinking ones by the state's step count).
void paintButtonFrames(jint x, jint y);
void paintButtonFrames2(jint x, jint y);
void paintButtonFrames3(jint x, jint y);
void paintButtonFrames4(jint x, jint y);
void paintButtonFrames5(jint x, jint y);
void paintButtonFrames6(jint x, jint y);
jint blendColour(jint c1, jint c2, jint t, jint n);
jint clampQuarter(jint v);
void setCameraScrollStep(jint x, jint y);
void drawImageTopLeft(javax_microedition_lcdui_Graphics* g, jint x, jint y);

// --- off-screen picture and loading-step undo -------------------------------------
void createOffscreenBuffer();
void drawLoadingImage();
void freeLoadStep(jint i);
void startLevelTimer(jint hold, jint seconds);
inline jint bitAbove(jint n) { return static_cast<jint>(1u << ((n + 1) & 31)); }
inline jint getViewWidth() { return 800; }
inline jint getViewHeight() { return 480; }
void resetClip(javax_microedition_lcdui_Graphics* g);
void setGameClip(jint x, jint y, jint w, jint h);

// --- text ----------------------------------------------------------------------
constexpr jint kTextParams = 16;
// Adds the next text parameter; a 17th is refused (logged).
void addTextParam(String* s);
void addIntParam(jint n);
String* addNumberParam(jint n);
String* formatText(BSprite* font, String* text);
String* formatNumber(jint n, jint language, String* separator);
String* formatNumberSep(jint n, jint language);
String* formatNumberDefault(jint n);
void drawFontText(jint font, String* text, jint x, jint y, jint anchor);
void drawTextById(jint font, jint textId, jint x, jint y, jint anchor);
void drawParagraph(jint font, String* text, jint x, jint y, jint width, jint anchor);
void drawAnimatedText(jint font, String* text, jint x, jint y, jint anchor, jint mode);

}  // namespace game
