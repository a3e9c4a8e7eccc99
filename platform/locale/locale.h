// The user-interface language of this session, read from the POSIX locale
// variables and expressed as a Windows language id (primary language in the
// low 10 bits, sub-language above), the form the launcher-text table keys on.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Language id for a locale name such as "de_AT.UTF-8", "pt_PT@euro", "cs" or
// "C". A known language with an unknown or missing country gets its default
// sub-language (1); "C", "POSIX", an empty name and unknown languages answer
// 0x0409 (English, United States).
uint16_t languageIdForLocale(std::string_view localeName);

// The language of the user interface: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG, through languageIdForLocale.
uint16_t userInterfaceLanguage();

// The primary language part of an id (id & 0x3FF): 5 Czech, 7 German,
// 9 English, 10 Spanish, 12 French, 22 Portuguese, ...
constexpr uint16_t primaryLanguage(uint16_t languageId) { return languageId & 0x3FF; }

}  // namespace platform
