// The index of the data archive "data.bar", read natively and checked as it
// is read (no Java objects, no files: the caller supplies the bytes).
//
// Archive layout (big-endian): signed 16-bit entry count N; N entries, each
// a readUTF name (unsigned 16-bit byte count, modified UTF-8), a signed
// 32-bit offset from the start of the file and a signed 32-bit length; the
// entry data anywhere after the index.
//
// Checks (each logged once): a negative count reads as 0; a count that
// cannot fit in the file (10 bytes per entry at least) is cut to what can;
// an index that ends early keeps the entries read whole; an entry whose
// name is malformed, or whose offset or length is negative or runs past the
// end of the file, is kept in its place but marked absent. Present entries
// therefore always lie inside the file.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bramble::io {

struct ArchiveIndexEntry {
    std::u16string name;
    int32_t offset = 0;
    int32_t length = 0;
    bool present = false;
};

struct ArchiveIndex {
    int64_t fileSize = 0;
    std::vector<ArchiveIndexEntry> entries;  // in index order (the lookup order)
};

// Fills buffer with up to size bytes of the archive, in order from byte 0;
// answers how many (0 at the end).
using ArchiveReadFn = std::function<size_t(uint8_t* buffer, size_t size)>;

ArchiveIndex readArchiveIndex(const ArchiveReadFn& read, int64_t fileSize);
ArchiveIndex parseArchiveIndex(std::span<const uint8_t> file);

// The lookup's name rule: one leading '/' of the request is skipped; the
// rest must match the entry name whole, unit by unit equal or equal after
// folding the low bytes' ASCII and Latin-1 letter case.
bool archiveNameMatches(std::u16string_view entryName, std::u16string_view request);
// Index of the first present entry matching request, or -1.
int findArchiveEntry(const ArchiveIndex& index, std::u16string_view request);

// The name for log lines: ASCII as is, anything else '?', at most 80 units.
std::string printableName(std::u16string_view name);

}  // namespace bramble::io
