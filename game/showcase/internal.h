// Helpers shared by the Showcase's units: pool texts, string building over
// the runtime's String, array access, image sizes. Not part of the API.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "display/lcdui/image.h"
#include "game/showcase/showcase.h"

namespace game::showcase_detail {

using Image = javax_microedition_lcdui_Image;

inline ShowcaseStatics* S() { return showcaseStatics(); }
inline String* pool(jint n) { return StaticClass::getStringConstant(n); }

// The pack's name and every text the screen names by pool index.
enum Pool : jint {
    kPackName = 0,
    kEmpty = 1,
    kNoneValue = 11,
    kOffValue = 12,
    kZeroValue = 13,
    kKeyValueSeparator = 14,
    kPairSeparator = 15,
    kBaseKey = 16,
    kValueMarker = 17,
    kEntryPropertyPrefix = 18,
    kEntryNumberText = 19,
    kTemplateLanguageText = 20,
    kMoreProperty = 21,
    kSubKeySeparator = 24,
    kVariantLayout = 26,
    kCombinedProperty = 29,
    kLanguageSwitch = 30,
    kCatalogueProperty = 31,
    kTemplateProperty = 32,
    kSubList0Property = 36,
    kPromoLanguage = 44,
    kLinkMarker = 45,
    kReadyLinkProperty = 46,
    kLineBreak = 47,
    kExtraLanguage1 = 49,
    kExtraLanguage2 = 50,
    kLanguageMarker = 51,
    kSplitLanguage = 66,
    kSplitInsert = 67,
    kSubPrefix0 = 70,
    // The game's heads-up formats hold entries 34, 35, 37 and 38; these
    // four names of the screen live past the runtime's texts.
    kMoreKey = 206,
    kMoreLinkProperty = 207,
    kSubList1Property = 208,
    kTemplateExtension = 209,
};

// Java string operations that treat a null receiver as "absent".
inline jint len(String* s) { return s ? s->length() : 0; }
inline bool isEmpty(String* s) { return !s || s->length() == 0; }
inline bool same(String* a, String* b) { return a && b && String::equals(a, b); }
inline jint find(String* s, String* t) { return s && t ? String::indexOf(s, t) : -1; }
inline String* upper(String* s) { return s ? String::toUpperCase(s) : nullptr; }
inline String* trimmed(String* s) { return s ? String::trim(s) : nullptr; }
// Concatenation; a null part appends "null" as Java's does.
String* cat(std::initializer_list<String*> parts);
std::u16string units(String* s);
String* fromUnits(const std::u16string& u);

template <typename T = Object>
inline T* elem(ObjectArray* a, jint i) {
    return a && i >= 0 && i < a->length() ? static_cast<T*>(a->data()[i]) : nullptr;
}
inline void put(ObjectArray* a, jint i, Object* v) {
    if (a && i >= 0 && i < a->length()) a->data()[i] = v;
}
inline jint arrayLength(const ArrayBase* a) { return a ? a->length() : 0; }

inline Image* image(jint slot) { return elem<Image>(S()->images, slot); }
inline jint widthOf(Image* img) { return img ? img->getWidth() : 0; }
inline jint heightOf(Image* img) { return img ? img->getHeight() : 0; }

String* appProperty(String* key);
// The row count of sub-list `list` (its key count).
jint subListLength(jint list);
String* subLink(jint list, jint row);
String* languageCode();
// The text id of a slot's title and description, and of a sub-list row.
jint slotTitleId(jint slot);
jint slotTextId(jint slot);
jint rowTextId(jint list, jint row);
// Widths of the page's text areas (screen less the arrows).
jint pageTextWidth();
jint listRowTextWidth(jint list);
void layoutPage();
// Sets palette entry `index` of the PNG in bytes [offset, offset + length)
// to rgb and rewrites the chunk's CRC; false (logged, bytes unchanged) when
// the range, the palette chunk or the index does not fit.
bool setPaletteEntry(ByteArray* bytes, jint offset, jint length, jint index, jint rgb);

}  // namespace game::showcase_detail
