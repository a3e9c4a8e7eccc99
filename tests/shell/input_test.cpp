// Key table, system and volume keys, volume steps, pointer scaling and the
// launcher texts by language id.
#include <gtest/gtest.h>

#include <string>

#include "shell/input.h"
#include "shell/launcher_texts.h"

namespace {

TEST(KeyMap, VirtualKeysToMidpCodes) {
    struct Case {
        uint32_t vk;
        int code;
    };
    const Case cases[] = {
        {13, -5},  {38, -1},  {40, -2},  {37, -3},  {39, -4},     // Return, arrows
        {112, -6}, {113, -7},                                     // F1, F2
        {96, 48},  {101, 53}, {105, 57},                          // number pad
        {119, 42}, {120, 35},                                     // F8 '*', F9 '#'
        {65, 65},  {90, 90},  {48, 48},  {57, 57},                // letters and digits as they are
        {12, 12},  {121, 121}, {0, 0},   {229, 229}, {255, 255},  // outside 13..120 unchanged
        {36, 36},  {27, 27},  {114, 114}, {117, 117}, {118, 118}, // system and volume keys unchanged
        {106, 106}, {111, 111},                                   // number-pad operators unchanged
    };
    for (const Case& c : cases) EXPECT_EQ(mapVirtualKeyToGameKey(c.vk), c.code) << "virtual key " << c.vk;
}

TEST(KeyMap, SystemAndVolumeKeys) {
    for (uint32_t k : {91u, 92u, 114u, 115u, 27u, 36u}) EXPECT_TRUE(isSystemKey(k)) << k;
    for (uint32_t k : {13u, 35u, 37u, 112u, 113u, 117u, 118u, 65u}) EXPECT_FALSE(isSystemKey(k)) << k;
    EXPECT_TRUE(isVolumeKey(117));
    EXPECT_TRUE(isVolumeKey(118));
    EXPECT_FALSE(isVolumeKey(116));
    EXPECT_FALSE(isVolumeKey(119));
}

TEST(Volume, StepsCoverTheRangeAndClamp) {
    uint32_t v = 0;
    for (int i = 0; i < 10; ++i) v = volumeStepUp(v);
    EXPECT_EQ(v, 0xFFFAFFFAu);  // 10 x 6,553 on both channels
    v = volumeStepUp(v);
    EXPECT_EQ(v, 0xFFFFFFFFu);
    EXPECT_EQ(volumeStepUp(v), 0xFFFFFFFFu);
    for (int i = 0; i < 10; ++i) v = volumeStepDown(v);
    EXPECT_EQ(v, 0x00050005u);
    EXPECT_EQ(volumeStepDown(v), 0u);
    EXPECT_EQ(volumeStepDown(0), 0u);
    // Each channel on its own: 58,981 and more reach the top, 6,553 and less the bottom.
    EXPECT_EQ(volumeStepUp(0x0000E665u), 0x1999FFFFu);
    EXPECT_EQ(volumeStepUp(0x0000E664u), 0x1999FFFDu);
    EXPECT_EQ(volumeStepDown(0x1999199Au), 0x00000001u);
}

TEST(Pointer, ScaledOnlyWhereTheFactorIsNotOne) {
    struct Case {
        float fx, fy;
        int x, y;
        int ex, ey;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 123, 456, 123, 456},      // a 480x800 screen passes unchanged
        {2.0f, 2.0f, 120, 200, 240, 400},      // a 240x400 screen
        {2.0f, 1.0f, -5, -7, -10, -7},         // one axis only; negative positions
        {1.5f, 1.5f, 3, 5, 5, 8},              // 4.5 and 7.5 round half up
        {0.75f, 0.75f, 1, -2, 1, -1},          // 0.75 -> 1; -1.5 -> -1 (floor of -1.0)
        {480.0f / 320.0f, 800.0f / 480.0f, 319, 479, 479, 798},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        scalePointerCoordinates(PointerScale{c.fx, c.fy}, x, y);
        EXPECT_EQ(x, c.ex) << c.fx << " " << c.x;
        EXPECT_EQ(y, c.ey) << c.fy << " " << c.y;
    }
}

std::u16string text(int index) { return GetLauncherMessage(index); }

// The launcher's language picks the game's localized content by its code.
TEST(LauncherTexts, LanguageCodeOfTheLocalizedContent) {
    struct Case {
        uint32_t id;
        const char* code;
    };
    const Case cases[] = {{0x0407, "de"}, {0x0807, "de"}, {0x0405, "cs"}, {0x040A, "es"}, {0x040C, "fr"},
                          {0x0816, "pt"}, {0x0409, ""},   {0x0411, ""},   {0, ""}};
    for (const Case& c : cases) EXPECT_STREQ(launcherLanguageCode(c.id), c.code) << std::hex << c.id;
}

TEST(LauncherTexts, ChosenByPrimaryLanguage) {
    ResetLauncherLanguage();
    EXPECT_EQ(text(6), u"NULL");  // nothing chosen yet

    SetLauncherLanguage(0x0405);  // Czech (Czech Republic)
    EXPECT_EQ(text(0), u"Hra nainstalována.\nChceš ji spustit?");
    EXPECT_EQ(text(6), u"Please wait");
    EXPECT_EQ(text(8), u"Do you want to connect to the Internet?");
    EXPECT_EQ(launcherMessageUtf8(2), "Poznámka");

    SetLauncherLanguage(0x0816);  // Portuguese (Portugal)
    EXPECT_EQ(text(6), u"Aguarde");
    EXPECT_EQ(text(8), u"Queres ligar-te à Internet?");
    EXPECT_EQ(text(7), u"Cannot install the game. You need at least %.2f of free storage space.");

    SetLauncherLanguage(0x0409);  // English (United States)
    EXPECT_EQ(text(3), u"Are you sure you want to quit?");
    EXPECT_EQ(text(7),
              u"Cannot install the game. You need at least %.2f MB of free storage space on the device to install "
              u"the game.");

    SetLauncherLanguage(0x0407);
    EXPECT_EQ(text(6), u"Bitte warten");
    SetLauncherLanguage(0x040A);
    EXPECT_EQ(text(6), u"Aguarde");  // Spanish uses the Portuguese word
    EXPECT_EQ(text(8), u"¿Quieres conectarte a internet");
    SetLauncherLanguage(0x040C);
    EXPECT_EQ(text(6), u"Merci de patienter");

    SetLauncherLanguage(0x0411);  // Japanese: not listed, English
    EXPECT_EQ(text(6), u"Please wait");
    EXPECT_EQ(text(2), u"Notice");

    EXPECT_EQ(text(9), u"NULL");
    EXPECT_EQ(text(-1), u"NULL");
    EXPECT_EQ(launcherMessageUtf8(9), "NULL");
}

}  // namespace
