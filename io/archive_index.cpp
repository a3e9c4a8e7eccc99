// Native reading of the archive index: checks, name matching, look-up.
#include "io/archive_index.h"

#include <algorithm>
#include <cstring>

#include "runtime/log.h"

namespace bramble::io {

namespace {

// Smallest index entry: empty name (2), offset (4), length (4).
constexpr int64_t kMinEntryBytes = 10;

// Buffered big-endian reads over the read function; false once it ends.
class IndexReader {
public:
    explicit IndexReader(const ArchiveReadFn& read) : m_read(read) {}

    bool bytes(uint8_t* out, size_t n) {
        while (n > 0) {
            if (m_pos == m_len && !fill()) return false;
            const size_t k = std::min(n, m_len - m_pos);
            std::memcpy(out, m_buffer + m_pos, k);
            m_pos += k;
            out += k;
            n -= k;
        }
        return true;
    }
    bool be16(uint32_t& v) {
        uint8_t b[2];
        if (!bytes(b, 2)) return false;
        v = (uint32_t(b[0]) << 8) | b[1];
        return true;
    }
    bool be32(int32_t& v) {
        uint8_t b[4];
        if (!bytes(b, 4)) return false;
        v = static_cast<int32_t>((uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3]);
        return true;
    }

private:
    bool fill() {
        m_pos = 0;
        m_len = m_read(m_buffer, sizeof m_buffer);
        return m_len > 0;
    }
    const ArchiveReadFn& m_read;
    uint8_t m_buffer[16384];
    size_t m_pos = 0;
    size_t m_len = 0;
};

// readUTF's decoding; false when malformed.
bool decodeName(const uint8_t* p, size_t n, std::u16string& out) {
    out.clear();
    size_t i = 0;
    while (i < n) {
        const uint32_t c = p[i];
        if (c < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            i += 1;
        } else if ((c >> 5) == 6) {
            if (i + 2 > n || (p[i + 1] & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (p[i + 1] & 0x3F)));
            i += 2;
        } else if ((c >> 4) == 14) {
            if (i + 3 > n || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string printableName(std::u16string_view name) {
    std::string s;
    for (char16_t c : name.substr(0, 80)) s.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    return s;
}

namespace {

uint32_t foldUpper(uint32_t b) { return ((b >= 97 && b <= 122) || (b >= 224 && b <= 254)) ? b - 32 : b; }
uint32_t foldLower(uint32_t b) { return ((b >= 65 && b <= 90) || (b >= 192 && b <= 222)) ? b + 32 : b; }

}  // namespace

ArchiveIndex readArchiveIndex(const ArchiveReadFn& read, int64_t fileSize) {
    ArchiveIndex index;
    index.fileSize = fileSize;
    IndexReader in(read);
    uint32_t raw;
    if (!in.be16(raw)) {
        logPrintf("ResourceInputStream::loadArchiveIndex: the archive (%lld bytes) has no entry count",
                  static_cast<long long>(fileSize));
        return index;
    }
    int64_t count = static_cast<int16_t>(raw);
    if (count < 0) {
        logPrintf("ResourceInputStream::loadArchiveIndex: negative entry count %lld; the archive is treated as empty",
                  static_cast<long long>(count));
        return index;
    }
    const int64_t fits = std::max<int64_t>(0, (fileSize - 2) / kMinEntryBytes);
    if (count > fits) {
        logPrintf("ResourceInputStream::loadArchiveIndex: entry count %lld cannot fit in %lld bytes; reading at most %lld",
                  static_cast<long long>(count), static_cast<long long>(fileSize), static_cast<long long>(fits));
        count = fits;
    }
    index.entries.reserve(static_cast<size_t>(count));
    std::vector<uint8_t> nameBytes;
    for (int64_t i = 0; i < count; ++i) {
        ArchiveIndexEntry e;
        uint32_t nameLength;
        bool whole = in.be16(nameLength);
        if (whole) {
            nameBytes.resize(nameLength);
            whole = in.bytes(nameBytes.data(), nameLength) && in.be32(e.offset) && in.be32(e.length);
        }
        if (!whole) {
            logPrintf("ResourceInputStream::loadArchiveIndex: the index ends inside entry %lld of %lld; the rest is left out",
                      static_cast<long long>(i), static_cast<long long>(count));
            break;
        }
        if (!decodeName(nameBytes.data(), nameBytes.size(), e.name)) {
            logPrintf("ResourceInputStream::loadArchiveIndex: entry %lld has a malformed name; left out", static_cast<long long>(i));
        } else if (e.offset < 0 || e.length < 0 || static_cast<int64_t>(e.offset) + e.length > fileSize) {
            logPrintf("ResourceInputStream::loadArchiveIndex: entry %lld \"%s\" (offset %d, length %d) lies outside the "
                      "archive of %lld bytes; left out",
                      static_cast<long long>(i), printableName(e.name).c_str(), e.offset, e.length, static_cast<long long>(fileSize));
        } else {
            e.present = true;
        }
        index.entries.push_back(std::move(e));
    }
    return index;
}

ArchiveIndex parseArchiveIndex(std::span<const uint8_t> file) {
    size_t pos = 0;
    ArchiveReadFn read = [&](uint8_t* buffer, size_t size) {
        const size_t k = std::min(size, file.size() - pos);
        if (k == 0) return k;
        std::memcpy(buffer, file.data() + pos, k);
        pos += k;
        return k;
    };
    return readArchiveIndex(read, static_cast<int64_t>(file.size()));
}

bool archiveNameMatches(std::u16string_view entry, std::u16string_view request) {
    if (!request.empty() && request[0] == u'/') request.remove_prefix(1);
    if (entry.size() != request.size()) return false;
    for (size_t i = 0; i < entry.size(); ++i) {
        const uint32_t a = entry[i], b = request[i];
        if (a == b) continue;
        const uint32_t la = a & 0xFF, lb = b & 0xFF;
        if (foldUpper(la) == foldUpper(lb) || foldLower(la) == foldLower(lb)) continue;
        return false;
    }
    return true;
}

int findArchiveEntry(const ArchiveIndex& index, std::u16string_view request) {
    for (size_t i = 0; i < index.entries.size(); ++i)
        if (index.entries[i].present && archiveNameMatches(index.entries[i].name, request)) return static_cast<int>(i);
    return -1;
}

}  // namespace bramble::io
