// The content kit's loading table and loading-group condition file.
//
// Loading table: exactly 420 records of 10 bytes, big-endian:
//   s8 opcode, u8 slot, s8 group, s32 parameter, u8 pack (255 none),
//   u16 resource id (an entry of the pack, or a record index for 12/18).
// Records nobody sets are explicit no-ops: opcode 3, pack 255.
// Text form: one record a line, "index opcode slot group parameter pack
// resource" (numbers in decimal or 0x hex; '#' starts a comment).
//
// Condition file: a 32-bit number, then 36 blocks {s32 length, program}.
// A program is postfix byte code; the assembler takes words separated by
// spaces or ';': "push K", "req K", "group G" (5 bytes each) and the
// one-byte operations sel or and bor xor band eq ne lt gt le ge shl shr add
// sub mul div mod not0 bnot neg nop, or "op N" for any byte.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kit/bytes.h"
#include "tools/kit/sprite.h"

namespace kit {

constexpr int kLoadRecords = 420;
constexpr int kLoadRecordBytes = 10;
constexpr int kLoadGroups = 36;

struct LoadRecord {
    int opcode = 3;
    int slot = 0;
    int group = 0;
    int32_t param = 0;
    int pack = 255;
    int resource = 0;
};

using LoadTable = std::array<LoadRecord, kLoadRecords>;

Bytes encodeLoadingTable(const LoadTable& table);
// Strict reading: exactly 4,200 bytes.
LoadTable parseLoadingTable(ByteSpan data, FileLayout* layout = nullptr);
// The text form (a record a line); throws KitError on a bad line.
LoadTable parseLoadingTableText(std::string_view text);
std::string describeLoadingTable(ByteSpan data);

Bytes assembleCondition(std::string_view source);
std::string disassembleCondition(ByteSpan program);
// programs.size() must be 36.
Bytes encodeConditionFile(const std::vector<Bytes>& programs, int32_t header = 0);
std::vector<Bytes> parseConditionFile(ByteSpan data, FileLayout* layout = nullptr);
std::string describeConditionFile(ByteSpan data);

}  // namespace kit
