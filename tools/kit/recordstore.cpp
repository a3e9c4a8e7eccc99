// Record-store index and record files.
#include "tools/kit/recordstore.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace kit {

Bytes encodeRecordIndex(const RecordIndex& index) {
    ByteWriter w;
    w.writeInt(index.lastRecordId);
    w.writeInt(static_cast<int32_t>(index.ids.size()));
    for (int32_t id : index.ids) w.writeInt(id);
    return w.take();
}

RecordIndex decodeRecordIndex(ByteSpan bytes) {
    RecordIndex idx;
    if (bytes.empty()) return idx;
    ByteReader r(bytes);
    idx.lastRecordId = r.bes32();
    int32_t n = r.bes32();
    if (n < 0) throw KitError("record index count is negative (" + std::to_string(n) + ")");
    if (r.remaining() != static_cast<uint64_t>(n) * 4)
        throw KitError("record index announces " + std::to_string(n) + " ids but holds " +
                       std::to_string(r.remaining()) + " bytes of them");
    for (int32_t i = 0; i < n; ++i) idx.ids.push_back(r.bes32());
    return idx;
}

namespace {

std::string deviceFileName(std::string s) {
    for (char& c : s) {
        if (c == '/' || c == ':' || c == '*' || c == '?' || c == '<' || c == '>' || c == '|') c = '_';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

void checkStoreName(std::string_view name) {
    if (name.empty()) throw KitError("record store without a name");
    for (char c : name)
        if (static_cast<uint8_t>(c) < 0x20 || static_cast<uint8_t>(c) >= 0x7F || c == '\\')
            throw KitError("record store name \"" + std::string(name) + "\" must be printable ASCII without '\\'");
}

}  // namespace

std::string storeIndexFileName(std::string_view storeName, const RecordStoreNaming& naming) {
    checkStoreName(storeName);
    return deviceFileName(naming.prefix + std::string(storeName) + naming.suffix);
}

std::string recordFileName(std::string_view storeName, int32_t id, const RecordStoreNaming& naming) {
    checkStoreName(storeName);
    return deviceFileName(naming.prefix + std::string(storeName) + naming.suffix + naming.recordSeparator +
                          std::to_string(id) + naming.suffix);
}

void writeRecordStore(const std::string& hostFolder, std::string_view storeName, const RecordStoreContents& store,
                      const RecordStoreNaming& naming) {
    namespace fs = std::filesystem;
    RecordIndex idx;
    int32_t highest = 0;
    std::set<int32_t> seen;
    for (const StoredRecord& rec : store.records) {
        if (rec.id < 1) throw KitError("record id " + std::to_string(rec.id) + " is not positive");
        if (!seen.insert(rec.id).second) throw KitError("record id " + std::to_string(rec.id) + " appears twice");
        highest = std::max(highest, rec.id);
        idx.ids.push_back(rec.id);
    }
    idx.lastRecordId = store.lastRecordId == 0 ? highest : store.lastRecordId;
    if (idx.lastRecordId < highest)
        throw KitError("lastRecordId " + std::to_string(idx.lastRecordId) + " is below record id " + std::to_string(highest));
    for (const StoredRecord& rec : store.records)
        writeFile((fs::path(hostFolder) / recordFileName(storeName, rec.id, naming)).string(), rec.data);
    writeFile((fs::path(hostFolder) / storeIndexFileName(storeName, naming)).string(), encodeRecordIndex(idx));
}

RecordStoreContents readRecordStore(const std::string& hostFolder, std::string_view storeName,
                                    const RecordStoreNaming& naming) {
    namespace fs = std::filesystem;
    RecordIndex idx = decodeRecordIndex(readFile((fs::path(hostFolder) / storeIndexFileName(storeName, naming)).string()));
    RecordStoreContents store;
    store.lastRecordId = idx.lastRecordId;
    for (int32_t id : idx.ids) {
        StoredRecord rec;
        rec.id = id;
        fs::path p = fs::path(hostFolder) / recordFileName(storeName, id, naming);
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) rec.data = readFile(p.string());
        else rec.missing = true;
        store.records.push_back(std::move(rec));
    }
    return store;
}

}  // namespace kit
