// The io fuzz targets over the pure readers.
#include "tests/io/fuzz/fuzz_targets.h"

#include <set>
#include <span>
#include <string>

#include "io/archive_index.h"
#include "io/jad.h"
#include "io/recordindex.h"
#include "runtime/log.h"

namespace iofuzz {

void quietLog() {
    rt::setLogSink([](std::string_view) {});
}

bool archiveIndex(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const bramble::io::ArchiveIndex index = bramble::io::parseArchiveIndex(file);
    if (size >= 2 && index.entries.size() > (size - 2) / 10) return false;
    uint32_t sum = 0;
    for (size_t i = 0; i < index.entries.size(); ++i) {
        const bramble::io::ArchiveIndexEntry& e = index.entries[i];
        if (!e.present) continue;
        if (e.offset < 0 || e.length < 0 || static_cast<uint64_t>(e.offset) + static_cast<uint64_t>(e.length) > size)
            return false;
        for (uint8_t b : file.subspan(static_cast<size_t>(e.offset), static_cast<size_t>(e.length))) sum += b;
        // The look-up finds this entry or an earlier one of a matching name.
        const std::u16string request = u"/" + e.name;
        const int found = bramble::io::findArchiveEntry(index, request);
        if (found < 0 || static_cast<size_t>(found) > i ||
            !bramble::io::archiveNameMatches(index.entries[static_cast<size_t>(found)].name, request))
            return false;
    }
    (void)sum;
    return true;
}

bool recordIndex(const uint8_t* data, size_t size) {
    const bramble::io::RecordIndexData index = bramble::io::parseRecordIndex(std::span<const uint8_t>(data, size));
    if (size < 8 ? !index.ids.empty() : index.ids.size() > (size - 8) / 4) return false;
    std::set<int32_t> seen;
    for (int32_t id : index.ids)
        if (id < 1 || id > index.lastRecordId || !seen.insert(id).second) return false;
    const std::vector<uint8_t> written = bramble::io::encodeRecordIndex(index.lastRecordId, index.ids);
    const bramble::io::RecordIndexData again = bramble::io::parseRecordIndex(written);
    return again.problems == 0 && again.lastRecordId == index.lastRecordId && again.ids == index.ids;
}

bool descriptor(const uint8_t* data, size_t size) {
    std::u16string text(size, u'\0');
    for (size_t i = 0; i < size; ++i) text[i] = data[i];
    std::set<std::u16string> keys;
    for (const auto& [key, value] : bramble::io::parseJad(text)) {
        for (const std::u16string* s : {&key, &value}) {
            if (s->find(u'\n') != std::u16string::npos) return false;
            if (!s->empty() && (s->front() <= 0x20 || s->back() <= 0x20)) return false;
        }
        if (key.find(u':') != std::u16string::npos) return false;
        if (!keys.insert(key).second) return false;
    }
    return true;
}

}  // namespace iofuzz
