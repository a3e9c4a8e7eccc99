// Text packs: numbered lists of encoded strings loaded into 32 slots and
// fetched by text id (slot << 16) | index. A slot is raw (bytes and end
// offsets kept, strings decoded per request) or cached (all strings decoded
// once, bytes dropped).
//
// Invariants: a text pack is checked before any table changes (slot 0-31,
// count not negative, offsets ascending from 0 and within the entry); a
// rejected pack leaves every slot as it was (one log line). At most 65,536
// strings are kept; the offsets of the others are skipped, so the text data
// is always read from its start. A text id naming no loaded string (slot or
// index out of range, an empty string) answers null.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

class java_io_InputStream;

namespace game {

constexpr jint kMaxTexts = 65536;

String* getString(jint id);
// Reads a text pack from s into the slot it names; the slot, or -1 when
// the pack is rejected.
jint loadTextPack(java_io_InputStream* s);
void cacheTextPack(jint slot);
// Loads pack entry r (0-31) of pack packName as a text pack and caches it.
void loadTextPackResource(String* packName, jint r);
void unloadTextPack(jint r);
bool isTextPackLoaded(jint r);

}  // namespace game
