// Data archive writer and strict reader.
#include "tools/kit/archive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

namespace kit {

namespace {

uint32_t foldUpper(uint32_t b) { return ((b >= 97 && b <= 122) || (b >= 224 && b <= 254)) ? b - 32 : b; }
uint32_t foldLower(uint32_t b) { return ((b >= 65 && b <= 90) || (b >= 192 && b <= 222)) ? b + 32 : b; }

std::string trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
    return std::string(s.substr(a, b - a));
}

// Two units match exactly when their low bytes fold to the same lower-case
// byte, so this key is equal for names that match each other.
std::string foldedKey(std::u16string_view name) {
    std::string key;
    for (char16_t c : name) key.push_back(static_cast<char>(foldLower(c & 0xFF)));
    return key;
}

}  // namespace

bool archiveNameMatches(std::u16string_view entry, std::u16string_view request) {
    if (!request.empty() && request[0] == u'/') request.remove_prefix(1);
    if (entry.size() != request.size()) return false;
    for (size_t i = 0; i < entry.size(); ++i) {
        uint32_t a = entry[i], b = request[i];
        if (a == b) continue;
        uint32_t la = a & 0xFF, lb = b & 0xFF;
        if (foldUpper(la) == foldUpper(lb) || foldLower(la) == foldLower(lb)) continue;
        return false;
    }
    return true;
}

void ArchiveWriter::add(std::string_view utf8Name, Bytes data) {
    std::u16string name = utf8ToUtf16(utf8Name);
    if (!name.empty() && name[0] == u'/') name.erase(0, 1);
    if (name.empty()) throw KitError("archive entry without a name");
    auto clash = folded_.find(foldedKey(name));
    if (clash != folded_.end())
        throw KitError("archive entry \"" + std::string(utf8Name) + "\" clashes with \"" +
                       utf16ToUtf8(entries_[clash->second].name) + "\" (names are compared without regard to case)");
    addUnchecked(std::move(name), std::move(data));
}

void ArchiveWriter::addUnchecked(std::u16string name, Bytes data) {
    if (entries_.size() >= 32767) throw KitError("archive index is full (32767 entries)");
    if (encodeModifiedUtf8(name).size() > 0xFFFF) throw KitError("archive entry name too long");
    folded_.emplace(foldedKey(name), entries_.size());
    entries_.push_back(Entry{std::move(name), std::move(data)});
}

void ArchiveWriter::addFolder(const std::string& hostDir, std::string_view namePrefix) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(hostDir, ec)) throw KitError("not a folder: " + hostDir);
    std::vector<std::string> files;
    for (auto it = fs::recursive_directory_iterator(hostDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file()) files.push_back(fs::relative(it->path(), hostDir).generic_string());
    }
    if (ec) throw KitError("cannot list " + hostDir + ": " + ec.message());
    std::sort(files.begin(), files.end());
    for (const std::string& rel : files)
        add(std::string(namePrefix) + rel, readFile((fs::path(hostDir) / rel).string()));
}

void ArchiveWriter::addManifest(const std::string& manifestPath) {
    namespace fs = std::filesystem;
    std::ifstream in(manifestPath);
    if (!in) throw KitError("cannot open manifest " + manifestPath);
    fs::path base = fs::path(manifestPath).parent_path();
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        std::string name, file;
        size_t eq = t.find('=');
        if (eq != std::string::npos) {
            name = trim(std::string_view(t).substr(0, eq));
            file = trim(std::string_view(t).substr(eq + 1));
        } else {
            file = t;
            name = fs::path(file).filename().string();
        }
        if (name.empty() || file.empty())
            throw KitError(manifestPath + ":" + std::to_string(lineNo) + ": expected \"name = file\"");
        fs::path p(file);
        if (p.is_relative()) p = base / p;
        add(name, readFile(p.string()));
    }
}

Bytes ArchiveWriter::build() const {
    std::vector<Bytes> names;
    size_t indexSize = 2;
    for (const Entry& e : entries_) {
        names.push_back(encodeModifiedUtf8(e.name));
        indexSize += 2 + names.back().size() + 8;
    }
    ByteWriter w;
    w.writeShort(static_cast<int32_t>(entries_.size()));
    uint64_t offset = indexSize;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Bytes& data = entries_[i].data;
        if (offset + data.size() > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            throw KitError("archive larger than 2 GiB");
        w.be16(static_cast<uint32_t>(names[i].size()));
        w.raw(names[i]);
        w.writeInt(static_cast<int32_t>(offset));
        w.writeInt(static_cast<int32_t>(data.size()));
        offset += data.size();
    }
    for (const Entry& e : entries_) w.raw(e.data);
    return w.take();
}

ArchiveReader ArchiveReader::parse(ByteSpan file) {
    ArchiveReader a;
    a.file_ = file;
    ByteReader r(file);
    int16_t count = r.bes16();
    if (count < 0) throw KitError("archive entry count is negative (" + std::to_string(count) + ")");
    for (int i = 0; i < count; ++i) {
        ArchiveEntry e;
        try {
            e.name = r.readUTF();
            e.offset = r.bes32();
            e.length = r.bes32();
        } catch (const KitError& err) {
            throw KitError("archive index entry " + std::to_string(i) + ": " + err.what());
        }
        if (e.offset < 0 || e.length < 0 || static_cast<uint64_t>(e.offset) + static_cast<uint64_t>(e.length) > file.size())
            throw KitError("archive entry " + std::to_string(i) + " (\"" + e.utf8Name() + "\") lies outside the file");
        a.entries_.push_back(std::move(e));
    }
    a.indexSize_ = r.pos();
    return a;
}

const ArchiveEntry* ArchiveReader::find(std::string_view utf8Request) const {
    std::u16string req = utf8ToUtf16(utf8Request);
    for (const ArchiveEntry& e : entries_)
        if (archiveNameMatches(e.name, req)) return &e;
    return nullptr;
}

ByteSpan ArchiveReader::data(const ArchiveEntry& e) const {
    return file_.subspan(static_cast<size_t>(e.offset), static_cast<size_t>(e.length));
}

}  // namespace kit
