// The Showcase pack (a little-endian offset table over the entries), the
// cursor readers over one entry, the entry list built from the application
// properties, and the numbered loading steps.
//
// Invariants: an offset table that the stream cannot hold fails the header;
// an entry is only read when its offsets are ordered and inside the stream;
// every cursor read checks the bytes left in its entry first.
#include <cstring>

#include "game/data/statics.h"
#include "game/showcase/install.h"
#include "game/showcase/internal.h"
#include "io/midlet.h"
#include "io/resource.h"
#include "javalib/hashtable.h"
#include "javalib/inputstreams.h"
#include "display/lcdui/display.h"

namespace game {

using namespace showcase_detail;

namespace {

void showcaseClinit() {
    ShowcaseStatics* s = S();
    s->pendingUrl = nullptr;
    s->leftMargin = 2;
    s->rightMargin = 2;
    s->glyphExtra = 0;
    s->languageCodes = newObjectArray(cid::String, 0);
    s->linkTemplate = pool(kEmpty);
    s->button2X = s->button2Y = s->button2W = s->button2H = -1;
    s->gradientW = s->gradientH = -1;
    s->enabledCount = -1;
    s->progressColour = 0xCF0900;
    s->hashtable = newObject<java_util_Hashtable>(11);
    s->workShorts = newShortArray(50);
    s->subPrefixes = newObjectArray(cid::String, 3);
    for (jint i = 0; i < 3; ++i) put(s->subPrefixes, i, pool(kSubPrefix0 + i));
}

StaticsContribution g_showcaseStatics =
    game::contribution<ShowcaseStatics>("Showcase", kClinitShowcase, &showcaseClinit);

constexpr jint kMaxEntryBytes = 16 << 20;

// Reads exactly n bytes into b from off; false at an early end.
bool readFully(java_io_InputStream* in, ByteArray* b, jint off, jint n) {
    while (n > 0) {
        const jint got = in->read(b, off, n);
        if (Application::checkException(0) || got <= 0) return false;
        off += got;
        n -= got;
    }
    return true;
}

bool skipFully(java_io_InputStream* in, jlong n) {
    while (n > 0) {
        const jlong got = in->skip(n);
        if (Application::checkException(0) || got <= 0) return false;
        n -= got;
    }
    return true;
}

void logRead(const char* what) { logPrintf("Showcase: %s runs past its pack entry", what); }

}  // namespace

ShowcaseStatics* showcaseStatics() { return statics<ShowcaseStatics>(g_showcaseStatics); }
const StaticsContribution* showcaseContribution() { return &g_showcaseStatics; }
void registerShowcaseStatics() { StaticClass::contribute(&g_showcaseStatics); }
void installShowcase() { registerShowcaseStatics(); }

namespace showcase_detail {

String* cat(std::initializer_list<String*> parts) {
    StringBuffer* b = StringBuffer::make(32);
    for (String* p : parts) StringBuffer::append(b, p);
    return b->toString();
}

std::u16string units(String* s) { return s ? s->toUtf16() : std::u16string(); }
String* fromUnits(const std::u16string& u) {
    return String::fromUnits(reinterpret_cast<const jchar*>(u.data()), static_cast<jint>(u.size()));
}

String* appProperty(String* key) {
    javax_microedition_midlet_MIDlet* m = S()->midlet;
    if (!m || !key) return nullptr;
    String* v = m->getAppProperty(key);
    Application::clearPendingException();
    return v;
}

jint subListLength(jint list) { return arrayLength(elem<ObjectArray>(S()->subKeys, list)); }
String* subLink(jint list, jint row) { return elem<String>(elem<ObjectArray>(S()->subLinks, list), row); }
String* languageCode() { return elem<String>(S()->languageCodes, S()->languageIndex); }

jint slotTitleId(jint slot) { return kTextFirstSlot + 2 * slot; }
jint slotTextId(jint slot) { return kTextFirstSlot + 2 * slot + 1; }
jint rowTextId(jint list, jint row) {
    jint id = kTextFirstSlot + 2 * S()->slotCount;
    for (jint l = 0; l < list; ++l) id += subListLength(l);
    return id + row;
}

}  // namespace showcase_detail

Showcase::Showcase() : Object(cid::Showcase) {}

// --- Header and entries ----------------------------------------------------

bool Showcase::openPack() {
    ShowcaseStatics* s = S();
    s->packEntryCount = 0;
    s->packOffsets = nullptr;
    s->packCache = nullptr;
    java_lang_System::gc();
    java_io_InputStream* in = bramble::io::getResourceAsStream(pool(kPackName));
    Application::clearPendingException();
    if (!in) {
        logPrintf("Showcase: the pack \"%s\" is missing", toUtf8(pool(kPackName)).c_str());
        return false;
    }
    ByteArray* head = newByteArray(2);
    bool ok = readFully(in, head, 0, 2);
    IntArray* offsets = nullptr;
    if (ok) {
        const jint count = (head->data()[0] & 255) + ((head->data()[1] & 255) << 8);
        // The table must fit in the stream before anything is allocated for it.
        const jint left = in->available();
        if (left >= 0 && static_cast<jlong>(count) * 4 > left && left > 0) ok = false;
        ByteArray* table = ok ? newByteArray(count * 4) : nullptr;
        ok = ok && readFully(in, table, 0, count * 4);
        if (ok) {
            offsets = newIntArray(count);
            const jbyte* b = table->data();
            jint* o = offsets->data();
            for (jint i = 0; i < count; ++i)
                o[i] = static_cast<jint>((b[4 * i] & 255) | ((b[4 * i + 1] & 255) << 8) |
                                         ((b[4 * i + 2] & 255) << 16) |
                                         (static_cast<uint32_t>(b[4 * i + 3] & 255) << 24));
        }
    }
    in->close();
    Application::clearPendingException();
    if (!ok) {
        logPrintf("Showcase: the pack header is damaged (offset table longer than the pack)");
        return false;
    }
    s->packOffsets = offsets;
    s->packEntryCount = offsets->length();
    return true;
}

ByteArray* Showcase::readPackEntry(jint i) {
    ShowcaseStatics* s = S();
    const jint count = s->packEntryCount;
    if (i < 0 || i >= count - 1 || !s->packOffsets) return nullptr;
    if (ByteArray* cached = elem<ByteArray>(s->packCache, i)) return cached;
    const jint start = IntArray::at(s->packOffsets, i);
    const jint end = IntArray::at(s->packOffsets, i + 1);
    if (start == end) return nullptr;
    if (start < 0 || end < start || end - start > kMaxEntryBytes) {
        logPrintf("Showcase: pack entry %d has bad offsets (%d, %d)", i, start, end);
        return nullptr;
    }
    java_io_InputStream* in = bramble::io::getResourceAsStream(pool(kPackName));
    Application::clearPendingException();
    if (!in) return nullptr;
    const jlong skip = static_cast<jlong>(start) + 4LL * count + 2;
    ByteArray* out = nullptr;
    if (skipFully(in, skip)) {
        const jint size = end - start;
        const jint left = in->available();
        if (left <= 0 || size <= left) {
            out = newByteArray(size);
            if (!readFully(in, out, 0, size)) out = nullptr;
        }
    }
    in->close();
    Application::clearPendingException();
    if (!out) logPrintf("Showcase: pack entry %d lies outside the pack", i);
    return out;
}

// --- Cursor readers ----------------------------------------------------------

bool Showcase::readU16(ByteArray* data, jint* out) {
    ShowcaseStatics* s = S();
    const jint c = s->readCursor;
    if (!data || c < 0 || data->length() - c < 2) {
        logRead("a number");
        return false;
    }
    *out = (data->data()[c] & 255) | ((data->data()[c + 1] & 255) << 8);
    s->readCursor = c + 2;
    return true;
}

ByteArray* Showcase::readBlock(ByteArray* data, bool* ok) {
    jint n = 0;
    *ok = readU16(data, &n);
    if (!*ok) return nullptr;
    ShowcaseStatics* s = S();
    if (data->length() - s->readCursor < n) {
        logRead("a block");
        *ok = false;
        return nullptr;
    }
    ByteArray* b = newByteArray(n);
    if (n > 0) std::memcpy(b->data(), data->data() + s->readCursor, static_cast<size_t>(n));
    s->readCursor += n;
    return b;
}

Image* Showcase::readImage(ByteArray* data, bool* ok) {
    ByteArray* b = readBlock(data, ok);
    if (!*ok) return nullptr;
    Image* img = Image::createImage(b, 0, b->length());
    Application::clearPendingException();
    return img;
}

String* Showcase::readShortText(ByteArray* data, bool* ok) {
    ByteArray* b = readBlock(data, ok);
    if (!*ok) return nullptr;
    String* t = newObject<String>();
    String::initBytesLatin1(t, b, 0, b->length());
    return t;
}

ObjectArray* Showcase::readStringList(ByteArray* data, bool* ok) {
    jint n = 0;
    *ok = readU16(data, &n);
    if (!*ok) return nullptr;
    ObjectArray* list = newObjectArray(cid::String, n);
    for (jint i = 0; i < n; ++i) {
        String* t = readShortText(data, ok);
        if (!*ok) return nullptr;
        list->data()[i] = t;
    }
    return list;
}

// --- Set-up and the entry list -----------------------------------------------

void Showcase::setup(javax_microedition_midlet_MIDlet* midlet, Object* display, jint width, jint height,
                     Object* canvas) {
    ShowcaseStatics* s = S();
    s->screenWidth = width;
    s->screenHeight = height;
    s->halfWidth = width / 2;
    s->halfHeight = height / 2;
    s->layoutBottom = java::idiv(java::imul(height, 93), 100);
    s->titleTop = java::idiv(java::imul(height, 5), 100);
    if (s->midlet) return;
    if (!midlet) return;
    if (canvas) {
        s->useCommands = 1;
        if (!s->listener) s->listener = newObject<Showcase>();
        s->canvas = canvas;
    }
    s->midlet = midlet;
    s->display = display;
    init();
}

bool Showcase::isValidValue(String* value, jint flags) {
    if (!value) return (flags & 1) == 0;
    String* v = String::trim(value);
    if ((flags & 1) && v->length() == 0) return false;
    String* up = String::toUpperCase(v);
    if ((flags & 2) && same(up, pool(kNoneValue))) return false;
    if ((flags & 4) && (same(up, pool(kOffValue)) || same(up, pool(kZeroValue)))) return false;
    return true;
}

String* Showcase::lookupValue(String* text, String* key, String* base) {
    String* none = pool(kEmpty);
    if (!text || !key || !base) return none;
    const jint at = find(text, cat({key, pool(kKeyValueSeparator)}));
    if (at < 0 || len(trimmed(base)) == 0) return none;
    const jint from = at + key->length() + 1;
    jint to = String::indexOfFrom(text, pool(kPairSeparator), from);
    if (to < 0 || isEmpty(pool(kPairSeparator))) to = text->length();
    if (from > to) return none;
    String* value = String::trim(String::substring(text, from, to));
    String* up = String::toUpperCase(value);
    if (value->length() == 0 || same(value, pool(kZeroValue)) || same(up, pool(kOffValue))) return none;
    if (same(up, pool(kNoneValue)) || same(key, pool(kBaseKey))) return value;
    const jint k = find(base, pool(kValueMarker));
    if (k < 0) return base;
    return cat({String::substring(base, 0, k), value, String::substringFrom(base, k + len(pool(kValueMarker)))});
}

void Showcase::enableEntry(jint i, String* key, jint flags, String* prefix, String* propertyText) {
    ShowcaseStatics* s = S();
    String* link = s->combinedProperties ? lookupValue(appProperty(prefix), key, propertyText)
                                         : appProperty(cat({pool(kEntryPropertyPrefix), key}));
    if (!isValidValue(link, flags)) return;
    ByteArray::set(s->entryEnabled, i, 1);
    if (i != s->slotMore) {
        s->catalogueLinkCount += 1;
        IntArray::set(s->entryKind, i, 4);
        if (s->insertLanguage) {
            StringBuffer* b = StringBuffer::make(64);
            StringBuffer::append(b, link);
            StringBuffer::append(b, pool(kEntryNumberText));
            if (s->catalogueLinkCount < 10) StringBuffer::append(b, pool(kZeroValue));
            StringBuffer::appendInt(b, s->catalogueLinkCount);
            link = b->toString();
        }
    }
    put(s->entryLinks, i, link);
}

namespace {

// One sub-list: a link per key, from the combined property text or from the
// property named by the list's prefix and the key.
void buildEntryList(jint list, jint property) {
    ShowcaseStatics* s = S();
    ObjectArray* keys = elem<ObjectArray>(s->subKeys, list);
    const jint n = arrayLength(keys);
    ObjectArray* links = newObjectArray(cid::String, n);
    put(s->subLinks, list, links);
    jint valid = 0;
    for (jint r = 0; r < n; ++r) {
        String* key = elem<String>(keys, r);
        String* link = s->combinedProperties
                           ? Showcase::lookupValue(appProperty(pool(property)), key, s->propertyText)
                           : appProperty(cat({elem<String>(s->subPrefixes, list), pool(kSubKeySeparator), key}));
        if (!Showcase::isValidValue(link, 7)) link = nullptr;
        else ++valid;
        links = elem<ObjectArray>(s->subLinks, list);
        put(links, r, link);
    }
    if (valid > 0) ByteArray::set(s->entryEnabled, s->catalogueCount + 1 + list, 1);
}

// Reads the catalogue entry; false when it is missing or damaged.
bool readCatalogue() {
    ShowcaseStatics* s = S();
    ByteArray* data = Showcase::readPackEntry(0);
    if (!data) {
        logPrintf("Showcase: the catalogue entry is missing");
        return false;
    }
    s->readCursor = 0;
    jint dropped = 0, flag = 0;
    bool ok = Showcase::readU16(data, &dropped);
    if (ok) Showcase::readShortText(data, &ok);
    ObjectArray* codes = ok ? Showcase::readStringList(data, &ok) : nullptr;
    if (ok) s->languageCodes = codes;
    ObjectArray* keys = ok ? Showcase::readStringList(data, &ok) : nullptr;
    if (ok) s->catalogueKeys = keys;
    if (ok) s->subKeys = newObjectArray(cid::ObjectArray, 3);
    for (jint l = 0; ok && l < 3; ++l) {
        ObjectArray* sub = Showcase::readStringList(data, &ok);
        if (ok) put(s->subKeys, l, sub);
    }
    if (ok) ok = Showcase::readU16(data, &flag);
    String* layout = ok ? Showcase::readShortText(data, &ok) : nullptr;
    if (!ok) {
        logPrintf("Showcase: the catalogue entry is damaged");
        return false;
    }
    s->optionFlag = flag == 1;
    s->layoutId = layout;
    return true;
}

}  // namespace

void Showcase::init() {
    ShowcaseStatics* s = S();
    s->usable = 0;
    if (!openPack()) return;
    if (!readCatalogue()) return;
    s->catalogueCount = arrayLength(s->catalogueKeys);
    s->pageImages = newObjectArray(cid::javax_microedition_lcdui_Image, s->catalogueCount);
    // The option flag's step is the next number from 9 upward; a clear flag
    // takes one counted down from -2, which no step reaches.
    jint nextStep = 9;
    s->optionStep = s->optionFlag ? nextStep++ : -2;
    s->releaseStep = nextStep;

    s->slotMore = s->catalogueCount;
    s->slotCount = s->catalogueCount + 5;
    s->entryLinks = newObjectArray(cid::String, s->slotCount);
    s->entryEnabled = newByteArray(s->slotCount);
    s->entryKind = newIntArray(s->slotCount);
    s->subLinks = newObjectArray(cid::ObjectArray, 3);
    s->catalogueLinkCount = 0;

    if (String* p = appProperty(pool(kCombinedProperty))) {
        s->propertyText = String::trim(p);
        s->combinedProperties = 1;
        s->insertLanguage = find(s->propertyText, pool(kLanguageSwitch)) >= 0;
    }
    for (jint i = 0; i < s->catalogueCount; ++i)
        enableEntry(i, elem<String>(s->catalogueKeys, i), 7, pool(kCatalogueProperty), s->propertyText);

    String* tmpl = trimmed(appProperty(pool(kTemplateProperty)));
    if (tmpl && isValidValue(tmpl, 7)) s->linkTemplate = tmpl;
    const bool templateValid = isValidValue(s->linkTemplate, 7);

    if (!s->optionFlag) {
        if (s->combinedProperties) {
            if (templateValid) {
                String* base = s->insertLanguage ? cat({s->linkTemplate, pool(kTemplateLanguageText)}) : s->linkTemplate;
                enableEntry(s->slotMore, pool(kMoreKey), 7, pool(kMoreProperty), base);
            }
        } else {
            String* more = appProperty(pool(kMoreLinkProperty));
            if (isValidValue(more, 7)) {
                put(s->entryLinks, s->slotMore, String::trim(more));
                ByteArray::set(s->entryEnabled, s->slotMore, 1);
                IntArray::set(s->entryKind, s->slotMore, 5);
            }
        }
    }
    buildEntryList(0, kSubList0Property);
    buildEntryList(1, kSubList1Property);

    if (!s->optionFlag) {
        const jint slot = s->catalogueCount + 3;
        bool enable = templateValid;
        if (enable && s->combinedProperties)
            enable = isValidValue(lookupValue(appProperty(pool(kMoreProperty)), pool(kBaseKey), s->propertyText), 7);
        String* link = s->linkTemplate;
        if (s->insertLanguage) link = cat({link, pool(kTemplateExtension)});
        put(s->entryLinks, slot, link);
        if (enable) ByteArray::set(s->entryEnabled, slot, 1);
    } else {
        const jint slot = s->catalogueCount + 4;
        put(s->entryLinks, slot, s->linkTemplate);
        if (templateValid) ByteArray::set(s->entryEnabled, slot, 1);
    }
    s->enabledCount = getEntryCount();
    s->usable = s->enabledCount > 0;
}

jint Showcase::getEntryCount() {
    ByteArray* e = S()->entryEnabled;
    jint n = 0;
    for (jint i = 0; i < arrayLength(e); ++i) n += e->data()[i] != 0;
    return n;
}

jint Showcase::getFirstEntry() {
    ByteArray* e = S()->entryEnabled;
    for (jint i = 0; i < arrayLength(e); ++i)
        if (e->data()[i] != 0) return i;
    return -1;
}

bool Showcase::hasEntries() { return S()->usable && getEntryCount() > 0; }
jint Showcase::firstEntryOrNone() { return hasEntries() ? 0 : -1; }

// --- Loading steps -------------------------------------------------------------

namespace {

// Decodes bytes [from, to) of the text bytes: UTF-8 of one to three bytes,
// stored in upper case. False at a bad lead or follow byte or a sequence cut
// by the text's end; *out then holds the characters before it.
bool decodeText(const std::vector<uint8_t>& bytes, jint from, jint to, String** out) {
    std::u16string u;
    bool ok = true;
    for (jint i = from; i < to;) {
        const uint8_t lead = bytes[static_cast<size_t>(i)];
        if (lead < 0x80) {
            u.push_back(lead);
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            if (i + 1 >= to || (bytes[static_cast<size_t>(i + 1)] & 0xC0) != 0x80) { ok = false; break; }
            u.push_back(static_cast<char16_t>(((lead & 31) << 6) | (bytes[static_cast<size_t>(i + 1)] & 63)));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0) {
            if (i + 2 >= to || (bytes[static_cast<size_t>(i + 1)] & 0xC0) != 0x80 ||
                (bytes[static_cast<size_t>(i + 2)] & 0xC0) != 0x80) { ok = false; break; }
            u.push_back(static_cast<char16_t>(((lead & 15) << 12) | ((bytes[static_cast<size_t>(i + 1)] & 63) << 6) |
                                              (bytes[static_cast<size_t>(i + 2)] & 63)));
            i += 3;
        } else {
            ok = false;
            break;
        }
    }
    // Upper case as the runtime's: a-z and 0xE0-0xFE (but 0xF7) lowered by
    // 32; characters above 0xFF are kept whole (the full-width punctuation
    // the wrapper breaks after lives there).
    for (char16_t& c : u)
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = static_cast<char16_t>(c - 32);
    *out = fromUnits(u);
    return ok;
}

void loadTexts() {
    ShowcaseStatics* s = S();
    s->texts = nullptr;
    ByteArray* data = Showcase::readPackEntry(1);
    if (!data) return;
    bool ok = true;
    ByteArray* chosen = nullptr;
    const jint languages = arrayLength(s->languageCodes);
    for (jint l = 0; ok && l < languages; ++l) {
        ByteArray* block = Showcase::readBlock(data, &ok);
        if (l == s->languageIndex) chosen = block;
    }
    if (!ok || !chosen) {
        logPrintf("Showcase: the text entry holds fewer language blocks than codes");
        return;
    }
    s->readCursor = 0;
    ByteArray* textBytes = Showcase::readBlock(chosen, &ok);
    jint dropped = 0, count = 0;
    if (ok) ok = Showcase::readU16(chosen, &dropped) && Showcase::readU16(chosen, &count);
    std::vector<jint> starts;
    if (ok && count > 0) starts.push_back(0);
    for (jint k = 1; ok && k < count; ++k) {
        jint v = 0;
        ok = Showcase::readU16(chosen, &v);
        starts.push_back(v);
    }
    if (!ok) return;
    const jint total = textBytes->length();
    for (size_t k = 0; k < starts.size(); ++k)
        if (starts[k] > total || (k > 0 && starts[k] < starts[k - 1])) {
            logPrintf("Showcase: text %d starts outside its text bytes", static_cast<jint>(k));
            return;
        }
    std::vector<uint8_t> bytes(static_cast<size_t>(total));
    if (total > 0) std::memcpy(bytes.data(), textBytes->data(), bytes.size());
    s->texts = newObjectArray(cid::String, count);
    for (size_t k = 0; k < starts.size(); ++k) {
        const jint from = starts[k];
        const jint to = k + 1 < starts.size() ? starts[k + 1] : total;
        if (from == to) continue;
        String* t = nullptr;
        const bool good = decodeText(bytes, from, to, &t);
        put(s->texts, static_cast<jint>(k), t);
        if (!good) {
            logPrintf("Showcase: text %d holds a bad UTF-8 sequence", static_cast<jint>(k));
            return;
        }
    }
    if (s->useCommands) {
        s->okCommand = newObject<javax_microedition_lcdui_Command>(Showcase::readText(kTextOk), 4, 1);
        s->backCommand = newObject<javax_microedition_lcdui_Command>(Showcase::readText(kTextBack), 2, 1);
        Application::clearPendingException();
    }
}

// Reads the glyph strip (three colourings) and the glyph table.
void loadFont() {
    ShowcaseStatics* s = S();
    ByteArray* data = Showcase::readPackEntry(2);
    if (!data) return;
    bool ok = true;
    ByteArray* png = Showcase::readBlock(data, &ok);
    if (!ok) return;
    s->fontImages = newObjectArray(cid::javax_microedition_lcdui_Image, 3);
    Image* plain = Image::createImage(png, 0, png->length());
    Application::clearPendingException();
    put(s->fontImages, 0, plain);
    // A strip whose palette cannot be recoloured keeps its colours in all
    // three (one log line).
    if (setPaletteEntry(png, 0, png->length(), 1, 0x00B4EF)) {
        put(s->fontImages, 1, Showcase::recolourPng(png, 0, png->length(), 1, 0x00B4EF));
        put(s->fontImages, 2, Showcase::recolourPng(png, 0, png->length(), 1, 0xFF0000));
    } else {
        put(s->fontImages, 1, elem(s->fontImages, 0));
        put(s->fontImages, 2, elem(s->fontImages, 0));
    }

    const jint k = same(s->layoutId, pool(kVariantLayout)) ? 2 : 0;
    s->glyphExtra = k;
    jint tableLength = 0, highest = 0;
    if (!Showcase::readU16(data, &tableLength) || !Showcase::readU16(data, &highest)) return;
    s->glyphHighest = highest;
    const jint record = k + 4;
    s->glyphData = newByteArray(record * (highest + 1));
    const jint items = tableLength / (k + 6);
    jint skipped = 0;
    for (jint n = 0; n < items; ++n) {
        jint code = 0;
        const jint at = s->readCursor;
        if (data->length() - at < k + 6) {
            logPrintf("Showcase: the glyph table runs past its pack entry (%d of %d records)", n, items);
            break;
        }
        Showcase::readU16(data, &code);
        if (code > highest) {
            ++skipped;
        } else {
            std::memcpy(s->glyphData->data() + code * record, data->data() + s->readCursor, static_cast<size_t>(record));
        }
        s->readCursor += record;
    }
    if (skipped) logPrintf("Showcase: %d glyph records name codes above %d", skipped, highest);
    s->lineHeight = Showcase::glyphField(32, 3);
    s->letterSpacing = s->lineHeight == 13 ? 0 : -1;
}

// Reads count image blocks into the slots from `first` of `target`; a read
// past the entry keeps the images read so far.
bool loadImages(ByteArray* data, ObjectArray* target, jint first, jint count) {
    for (jint i = 0; i < count; ++i) {
        bool ok = true;
        Image* img = Showcase::readImage(data, &ok);
        if (!ok) return false;
        put(target, first + i, img);
    }
    return true;
}

}  // namespace

void Showcase::loadStep(jint step) {
    ShowcaseStatics* s = S();
    s->readCursor = 0;
    if (step == -1) {
        s->images = newObjectArray(cid::javax_microedition_lcdui_Image, kImageSlots);
        s->pageImages = newObjectArray(cid::javax_microedition_lcdui_Image, s->slotCount);
        s->subImages = newObjectArray(cid::ObjectArray, 3);
        for (jint l = 0; l < 3; ++l)
            put(s->subImages, l, newObjectArray(cid::javax_microedition_lcdui_Image, subListLength(l) + 1));
        return;
    }
    if (step == 0) {
        openPack();
        return;
    }
    if (step == 1) return loadTexts();
    if (step == 2) return loadFont();
    if (step == s->releaseStep) {
        s->packOffsets = nullptr;
        s->packCache = nullptr;
        s->packEntryCount = 0;
        java_lang_System::gc();
        return;
    }
    const jint entry = step == s->optionStep ? 9 : step;
    if (entry < 3 || entry > 9 || (entry == 9 && step != s->optionStep)) return;
    ByteArray* data = readPackEntry(entry);
    if (!data) return;
    switch (entry) {
    case 3: loadImages(data, s->images, 0, kImageSlots); break;
    case 4: loadImages(data, s->pageImages, 0, s->catalogueCount); break;
    case 5: {
        if (!loadImages(data, s->pageImages, s->slotMore, 1)) break;
        for (jint l = 0; l < arrayLength(s->languageCodes); ++l) {
            bool ok = true;
            Image* img = readImage(data, &ok);
            if (!ok) break;
            if (l == s->languageIndex) s->languageImage = img;
        }
        break;
    }
    case 6:
    case 7: {
        const jint list = entry - 6;
        ObjectArray* target = elem<ObjectArray>(s->subImages, list);
        const jint rows = subListLength(list);
        loadImages(data, target, 0, rows);
        put(elem<ObjectArray>(s->subImages, list), rows, image(11));
        break;
    }
    case 8: {
        if (!loadImages(data, s->pageImages, s->catalogueCount + 3, 1)) break;
        String* code = languageCode();
        if (same(code, pool(kExtraLanguage1)) || same(code, pool(kExtraLanguage2))) {
            bool ok = true;
            Image* img = readImage(data, &ok);
            if (ok) s->extraImage = img;
        }
        break;
    }
    case 9: loadImages(data, s->pageImages, s->catalogueCount + 4, 1); break;
    default: break;
    }
}

}  // namespace game
