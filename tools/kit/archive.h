// The data archive "data.bar": a writer that lays out the big-endian index
// (signed 16-bit entry count; per entry a readUTF name, a signed 32-bit
// offset from the start of the file and a signed 32-bit length) followed by
// the entry data, and a strict reader for round trips and inspection.
// Invariants of a written archive: 0 <= count <= 32767, names carry no
// leading '/', no two names match each other under the runtime's
// case-free comparison (unless added with addUnchecked), every entry lies
// inside the file.
#pragma once

#include "tools/kit/bytes.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace kit {

// Whole-name comparison the runtime uses to look an entry up: one leading
// '/' of the request is ignored; units match when equal or when their low
// bytes agree after ASCII/Latin-1 upper- or lower-case folding.
bool archiveNameMatches(std::u16string_view entryName, std::u16string_view request);

class ArchiveWriter {
public:
    // Adds an entry; one leading '/' of the name is dropped. Throws on an
    // empty name, a name that matches an earlier one, or a full index.
    void add(std::string_view utf8Name, Bytes data);
    // Adds the name exactly as given, duplicates and leading '/' included
    // (for fixtures that test the lookup rules).
    void addUnchecked(std::u16string name, Bytes data);
    // Every regular file under hostDir, in sorted order of the relative path,
    // named by that path with '/' separators, behind namePrefix.
    void addFolder(const std::string& hostDir, std::string_view namePrefix = {});
    // A manifest: one entry per line, "name = host-file" or just "host-file"
    // (named by its file name); blank lines and lines starting '#' skipped;
    // relative host paths are taken from the manifest's folder.
    void addManifest(const std::string& manifestPath);

    size_t entryCount() const { return entries_.size(); }
    Bytes build() const;
    void writeTo(const std::string& hostPath) const { writeFile(hostPath, build()); }

private:
    struct Entry {
        std::u16string name;
        Bytes data;
    };
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> folded_;  // folded name -> entry, for clash checks
};

struct ArchiveEntry {
    std::u16string name;
    int32_t offset = 0;
    int32_t length = 0;
    std::string utf8Name() const { return utf16ToUtf8(name); }
};

// A parsed archive over borrowed bytes. parse() is strict: a negative
// count, a short index, a malformed name, or an entry outside the file
// throws KitError naming the entry.
class ArchiveReader {
public:
    static ArchiveReader parse(ByteSpan file);

    const std::vector<ArchiveEntry>& entries() const { return entries_; }
    size_t indexSize() const { return indexSize_; }
    // First entry that the runtime's lookup would pick; nullptr when none.
    const ArchiveEntry* find(std::string_view utf8Request) const;
    ByteSpan data(const ArchiveEntry& e) const;

private:
    ByteSpan file_;
    size_t indexSize_ = 0;
    std::vector<ArchiveEntry> entries_;
};

}  // namespace kit
