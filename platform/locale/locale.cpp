// Locale name to Windows language id. Two fixed tables: ISO 639 language to
// primary id, and (language, country) pairs whose sub-language is not 1.
#include "platform/locale/locale.h"

#include <cstdlib>
#include <string>

namespace platform {
namespace {

constexpr uint16_t kEnglishUS = 0x0409;

struct Primary {
  const char* iso;
  uint16_t id;
};

constexpr Primary kPrimary[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16},
    {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C},
    {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22},
    {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27}, {"vi", 0x2A},
    {"hi", 0x39},
};

struct Specific {
  const char* iso;
  const char* country;
  uint16_t id;
};

// Countries whose sub-language differs from the default one.
constexpr Specific kSpecific[] = {
    {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009}, {"en", "NZ", 0x1409},
    {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09}, {"en", "IN", 0x4009},
    {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007}, {"de", "LI", 0x1407},
    {"es", "ES", 0x0C0A}, {"es", "MX", 0x080A}, {"es", "AR", 0x2C0A}, {"es", "CO", 0x240A},
    {"es", "CL", 0x340A}, {"es", "US", 0x540A},
    {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C}, {"fr", "LU", 0x140C},
    {"pt", "PT", 0x0816},
    {"zh", "CN", 0x0804}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004},
    {"nl", "BE", 0x0813}, {"it", "CH", 0x0810}, {"sv", "FI", 0x081D},
    {"nn", "NO", 0x0814}, {"sr", "RS", 0x081A},
};

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return out;
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

uint16_t languageIdForLocale(std::string_view name) {
  // language[_territory][.codeset][@modifier]
  const size_t cut = name.find_first_of(".@");
  if (cut != std::string_view::npos) name = name.substr(0, cut);
  const size_t sep = name.find_first_of("_-");
  const std::string language = lower(name.substr(0, sep));
  const std::string country = sep == std::string_view::npos ? std::string() : upper(name.substr(sep + 1));

  uint16_t primary = 0;
  for (const Primary& p : kPrimary) {
    if (language == p.iso) {
      primary = p.id;
      break;
    }
  }
  if (primary == 0) return kEnglishUS;  // "C", "POSIX", empty, unknown
  for (const Specific& s : kSpecific) {
    if (language == s.iso && country == s.country) return s.id;
  }
  return uint16_t((1u << 10) | primary);
}

uint16_t userInterfaceLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return languageIdForLocale(value);
  }
  return kEnglishUS;
}

}  // namespace platform
