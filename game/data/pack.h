// Resource packs and the pack stream: one pack open at a time (cGame's pack
// fields), its header file with the first entry index of each sub-pack and
// sub-pack 0's offset table, sub-pack files with their own tables, entries
// with a type byte (127 and up: an LZMA payload), and the small sound
// content-type table read through the same stream.
//
// Invariants:
//  - The stream only moves forward; a backward seek reopens the file and
//    skips (packOpens counts every open).
//  - A header or offset table is checked before anything is kept: the
//    sub-pack count lies in 1..N, first ids ascend and stay within N,
//    offsets never descend and stay within the file. A pack that fails is
//    closed and forgotten (one log line); a selection outside
//    [first[0], N), a missing file or a failed decode answers -1 / null.
//  - An LZMA payload decodes to exactly its stated size (at most 16 MiB)
//    or to nothing.
//  - packPosition counts every byte consumed since the current file was
//    opened.
#pragma once

#include <functional>

#include "runtime/array.h"
#include "runtime/string.h"

class java_io_InputStream;

namespace game {

// Largest decoded size an LZMA payload may state.
constexpr jint kMaxLzmaOutput = 16 << 20;

// Opens resources by name (null: none). The built-in opener asks the data
// archive (Class::getResourceAsStream); tests and tools may install their
// own. null restores the built-in.
using ResourceOpener = std::function<java_io_InputStream*(String* name)>;
void setResourceOpener(ResourceOpener opener);
java_io_InputStream* openResource(String* name);

// True (and cleared) when a java_lang_Exception is pending; other throwables
// stay pending.
bool catchException();

// --- the pack stream ----------------------------------------------------
void closePackStream();
void closePack();
jint readPackByte();
jint readPackU16();
jint readPackInt32();
jint readPackBytes(ByteArray* buf, jint off, jint len);
void skipPack(jint n);

// --- any stream (counted in streamBytesRead; bounded by streamLimit when
// that is not negative) ----------------------------------------------------
jint readStreamByte(java_io_InputStream* s);
jint readStreamU16(java_io_InputStream* s);
jint readStreamInt32(java_io_InputStream* s);
jint readStreamFully(java_io_InputStream* s, ByteArray* buf, jint off, jint len);
jint readStreamChunk(java_io_InputStream* s, ByteArray* buf, jint off, jint len);
// Bytes actually delivered into buf (stops at the end of the stream, at
// streamLimit or at an exception); the position counters are not touched.
jint readAvailable(java_io_InputStream* s, ByteArray* buf, jint off, jint len);

// --- packs --------------------------------------------------------------
// The name of pack number n: pool entry 76 then n.
String* packNameOf(jint n);
// Opens pack name and loads its header (nothing when it is already open);
// false when the pack is missing or its header is damaged.
bool readPackHeader(String* name);
// Positions the stream on entry r's payload; its length (0 for an empty
// entry), or -1 when r cannot be selected.
jint selectPack(jint r);
// Moves the stream to byte p of the current file; false when it cannot.
bool seekPack(jint p);
// Entry r's payload, decoded when compressed; null when it cannot be had.
ByteArray* loadResource(jint r);
// Decodes a compressed payload of size bytes from s into cGame.lzmaOutput;
// false (output null, one log line) when it cannot.
bool lzmaDecode(java_io_InputStream* s, jint size);

// --- sound content types --------------------------------------------------
void loadContentTypes(String* name);
String* getSoundContentType(jint i);

}  // namespace game
