// Writers (and strict readers, for inspect and damage) of the game's data
// formats:
//
//  - resource packs: a header file (u16 entry count N, s16 sub-pack count S,
//    S u16 first entry ids, sub-pack 0's (n0 + 1) u32 offsets, its data) and
//    sub-pack files k >= 1 ((nk + 1) u32 offsets, data); offsets count from
//    the start of their file; an entry is empty, or a type byte (127 + type
//    for an LZMA payload) and its payload; all little-endian;
//  - LZMA payloads: properties byte, u32 dictionary size, u64 stated size,
//    then the raw range-coded stream (liblzma's LZMA1 encoder);
//  - text packs: u8 slot, s32 count, count s32 end offsets, UTF-8 texts
//    back to back, each ending in kTextTerminator (added by the writer);
//  - data nodes: tag (kind in bits 0-2, 16-bit count in bit 3, element
//    width code in bits 4-7), count, elements; kinds 3-7 nest; a text form
//    for hand-written nodes;
//  - level packs: per layer l three entries at 3l (cells, header of s16
//    width, s16 height, u8 tile count and u16 tiles, flag bytes), then
//    entries 15-17 as raw bytes;
//  - the sound content-type table: u8 count, then u8 length and bytes each;
//  - the 265-byte progress record, built from named fields.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/kit/bytes.h"
#include "tools/kit/sprite.h"

namespace kit {

// The character that ends every game text: a control character the sprite
// engine neither draws nor measures.
inline constexpr char16_t kTextTerminator = 0x0003;

// --- LZMA --------------------------------------------------------------------
// A payload of the LZMA header form (properties byte p = (pb * 5 + lp) * 9 + lc).
Bytes lzmaEncode(ByteSpan data, uint8_t properties = 93);
// The payload decoded (strict: exactly the stated size).
Bytes lzmaDecodePayload(ByteSpan payload);

// --- packs ---------------------------------------------------------------------
struct PackEntry {
    Bytes payload;
    int type = 0;            // 0-126 (the entry type)
    bool compress = false;   // stored as an LZMA payload
    bool empty = false;      // no type byte, no payload
    Bytes raw;               // when not empty: stored exactly (type byte included)
    bool useRaw = false;
};

struct PackFiles {
    Bytes header;                 // the header file (sub-pack 0)
    std::vector<Bytes> subPacks;  // sub-pack files 1 ... S - 1
};

// The entries split at the given first ids (ascending; first[0] is the first
// entry id, usually 0). Throws KitError on bad ids.
PackFiles buildPack(const std::vector<PackEntry>& entries, const std::vector<int>& firsts = {0});
// The files' archive names: the pack name, then separator and k for k >= 1.
std::string subPackFileName(const std::string& packName, const std::string& separator, int k);

struct ParsedPackEntry {
    size_t offset = 0;
    size_t length = 0;
    int type = -1;  // -1: empty
    bool compressed = false;
};
struct ParsedPack {
    int entryCount = 0;
    std::vector<int> firsts;
    std::vector<ParsedPackEntry> entries;  // of the sub-pack parsed
};
// Strict reading of a header file (subPack 0) or of sub-pack file k.
ParsedPack parsePackFile(ByteSpan file, FileLayout* layout = nullptr, int subPack = 0, int entryCount = -1,
                         const std::vector<int>& firsts = {});
// Payload of entry i of a parsed file (decoded when compressed).
Bytes packEntryPayload(ByteSpan file, const ParsedPackEntry& e);
// A one-file pack's entries, payloads decoded, ready for buildPack again.
std::vector<PackEntry> decodePackEntries(ByteSpan header);
std::string describePack(ByteSpan header);

// --- text packs ---------------------------------------------------------------
Bytes buildTextPack(int slot, const std::vector<std::string>& utf8Texts);
// Exactly as stated (no terminator added): for odd fixtures.
Bytes buildTextPackRaw(int slot, int32_t statedCount, const std::vector<int32_t>& endOffsets, ByteSpan data);
struct ParsedTextPack {
    int slot = 0;
    std::vector<std::string> texts;  // terminators stripped for display
};
ParsedTextPack parseTextPack(ByteSpan data, FileLayout* layout = nullptr);

// --- data nodes ------------------------------------------------------------------
struct DataNode {
    int tag = 0;
    std::vector<int64_t> values;     // kinds 0-2
    std::vector<DataNode> children;  // kinds 3-7

    static DataNode bytes(std::vector<int64_t> v, bool wideCount = false);
    static DataNode shorts(std::vector<int64_t> v, bool wideValues = true, bool wideCount = false);
    static DataNode ints(std::vector<int64_t> v, int widthCode = 2, bool wideCount = false);
    static DataNode objects(std::vector<DataNode> c, bool wideCount = false);
};
Bytes encodeNode(const DataNode& node);
DataNode decodeNode(ByteSpan data, FileLayout* layout = nullptr);
// Text form: "bytes[1 2 3]", "shorts8[..]", "shorts[..]", "ints8[..]",
// "ints16[..]", "ints[..]", "objects{ node node ... }"; a '!' after the
// name writes a 16-bit count ("ints16![1]"); '#' starts a comment line.
DataNode parseNodeText(std::string_view text);
std::string formatNode(const DataNode& node);

// --- level packs -------------------------------------------------------------------
struct LayerGrid {
    int width = 0, height = 0;
    std::vector<uint16_t> tiles;  // the tile table
    std::vector<uint8_t> cells;   // width x height indices into tiles
    std::vector<uint8_t> flags;   // width x height
};
Bytes encodeLayerHeader(const LayerGrid& grid);
// Entries 0-14 (three per layer; an absent layer has three empty entries)
// and the extra raw entries from 15 on.
std::vector<PackEntry> levelPackEntries(const std::array<std::optional<LayerGrid>, 5>& layers,
                                        const std::vector<Bytes>& extra = {}, bool compress = false);
LayerGrid parseLayerHeader(ByteSpan header, FileLayout* layout = nullptr);

// --- content types ---------------------------------------------------------------
Bytes buildContentTypes(const std::vector<std::string>& types);
std::vector<std::string> parseContentTypes(ByteSpan data, FileLayout* layout = nullptr);

// --- progress record -----------------------------------------------------------------
inline constexpr size_t kProgressRecordBytes = 265;
// A fresh record with the named fields set. Names: "kept" (byte 0),
// "option", "settings", "vibration", "last-difficulty", "slot-bits",
// "completed", "progress-bits", "flags", "slotN.var0", "slotN.var9",
// "slotN.var5", "slotN.byte7", "slotN.var1", "slotN.byte10",
// "slotN.stageS.best" (N 1-3, S 0-10), or "byteK" for any byte.
Bytes buildProgress(const std::map<std::string, int64_t>& fields = {});
std::map<std::string, int64_t> parseProgress(ByteSpan data, FileLayout* layout = nullptr);

}  // namespace kit
