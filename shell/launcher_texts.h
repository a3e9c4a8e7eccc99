// Launcher texts: nine short texts (install and launch notices, the quit and
// save-data questions, the wait screen, the internet question) in Czech,
// German, English, Spanish, French or Portuguese by the user's language.
//   0 installed, launch?   1 launch failed   2 notice caption   3 quit?
//   4 no memory            5 keep saves?     6 please wait      7 no storage
//   8 connect to the internet?
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kLauncherMessages = 9;
inline constexpr int kLauncherPleaseWait = 6;
inline constexpr int kLauncherConnectQuestion = 8;

// Fills the table by the primary language of a language id (id & 0x3FF):
// 5 Czech, 7 German, 10 Spanish, 12 French, 22 Portuguese, else English.
void SetLauncherLanguage(uint32_t languageId);
// Entry index as zero-terminated UTF-16; "NULL" for an index outside 0-8 or
// while no language has been set.
const char16_t* GetLauncherMessage(int index);
// The same entry as UTF-8.
std::string launcherMessageUtf8(int index);
// Back to the unset table (the state before start-up).
void ResetLauncherLanguage();
// The code of the launcher's language for localized game content: "cs",
// "de", "es", "fr" or "pt" by the primary language id (id & 0x3FF); "" for
// English (every other language), whose content is the plain resources.
const char* launcherLanguageCode(uint32_t languageId);
