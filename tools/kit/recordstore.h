// Record-store files: one index file per store (big-endian lastRecordId,
// record count N, then N record ids) and one file per record holding
// exactly its bytes. File names are built from the store name and three
// texts of the string pool (prefix, suffix, separator before a record id);
// the kit's defaults are the texts of the demo pool. Names are written
// lowercased with '/', ':', '*', '?', '<', '>' and '|' replaced by '_', as
// the runtime opens them.
#pragma once

#include "tools/kit/bytes.h"

#include <string>
#include <vector>

namespace kit {

// Pool texts the record store builds its file names from.
inline constexpr const char* kStoreFolderSeparator = "\\";  // between folder parts
inline constexpr const char* kStorePrefix = "rs_";          // before the store name
inline constexpr const char* kStoreSuffix = ".rms";         // after every file name
inline constexpr const char* kRecordSeparator = "_r";       // before a record id

struct RecordStoreNaming {
    std::string prefix = kStorePrefix;
    std::string suffix = kStoreSuffix;
    std::string recordSeparator = kRecordSeparator;
};

struct RecordIndex {
    int32_t lastRecordId = 0;
    std::vector<int32_t> ids;
};

Bytes encodeRecordIndex(const RecordIndex& index);
// Strict: a zero-length file is an empty store; otherwise exactly 8 + 4N
// bytes with N >= 0, else KitError.
RecordIndex decodeRecordIndex(ByteSpan bytes);

std::string storeIndexFileName(std::string_view storeName, const RecordStoreNaming& naming = {});
std::string recordFileName(std::string_view storeName, int32_t id, const RecordStoreNaming& naming = {});

struct StoredRecord {
    int32_t id = 0;
    Bytes data;
    bool missing = false;  // set by the reader when the record file is absent
};

struct RecordStoreContents {
    int32_t lastRecordId = 0;  // 0: the highest id
    std::vector<StoredRecord> records;  // in index order
};

// Writes the index and every record file into hostFolder (the mapped
// application folder). Ids must be positive, distinct and not above
// lastRecordId (a lastRecordId of 0 means the highest id).
void writeRecordStore(const std::string& hostFolder, std::string_view storeName, const RecordStoreContents& store,
                      const RecordStoreNaming& naming = {});
// Reads them back; a missing record file is reported, a missing or damaged
// index throws KitError.
RecordStoreContents readRecordStore(const std::string& hostFolder, std::string_view storeName,
                                    const RecordStoreNaming& naming = {});

}  // namespace kit
