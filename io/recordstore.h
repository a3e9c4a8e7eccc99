// Record stores: javax_microedition_rms_RecordStore over files in the
// application folder (one index file per store, one file per record) and
// the enumeration over a store's ids.
//
// File names (entry k = string-pool entry k): folder + 93 + 94 + name + 95
// for the index (folder: the application folder; with a vendor and suite,
// the Program Files folder + 93 + vendor + 93 + suite), with '/', ':', '*',
// '?', '<', '>' and '|' replaced by '_'; a record's file is the index path
// + 97 + id + 95. Both are opened lower-cased.
// Index file, big-endian: lastRecordId, N, N ids (a zero-length file is an
// empty store). Record file: exactly the record's bytes.
//
// Saves are never lost: every index and record file is written whole to a
// temporary file in the same folder, synced and renamed over the old one,
// in an order that leaves the store whole at every moment (a new record's
// file before the index that names it; a deleted record's id leaves the
// index before its file is emptied). A failed write raises
// javax_microedition_rms_RecordStoreException, leaves the old files in
// place and the store object as it was; a failed read raises it too. A
// damaged index yields the ids that can be read (logged).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/statics.h"

class String;
class java_util_Vector;
class java_io_InputStream;

class javax_microedition_rms_RecordStore : public Object {
public:
    // The constructor body (path, exists): reads the index when it exists.
    javax_microedition_rms_RecordStore(String* path, jboolean exists);

    virtual String* getName();  // slot 6: the index path
    virtual jint getSize();     // slot 7: the sum of the record sizes

    // --- opening ----------------------------------------------------------------
    static javax_microedition_rms_RecordStore* openRecordStoreByName(String* name, jboolean createIfNecessary);
    static javax_microedition_rms_RecordStore* openRecordStore(String* name, jboolean createIfNecessary, jint authmode,
                                                              jboolean writable);
    static javax_microedition_rms_RecordStore* openRecordStore(String* name, String* vendor, String* suite);
    // javax_microedition_rms_RecordStoreNotFoundException (message: the
    // path) when the index does not exist and createIfNecessary is false.
    static javax_microedition_rms_RecordStore* openRecordStore(String* name, String* vendor, String* suite,
                                                              jboolean createIfNecessary);
    static void deleteRecordStore(String* name);
    static ObjectArray* listRecordStores();
    static jint getSizeAvailable() { return 0x7FFFFFFF; }

    // --- records ------------------------------------------------------------------
    jint getNumRecords();
    jint getNextRecordID() { return java::iadd(m_lastRecordId, 1); }
    // javax_microedition_rms_InvalidRecordIDException (message: the id) for
    // an id the store does not hold, in the three below and setRecord.
    jint getRecordSize(jint id);     // a missing record file has size 0
    ByteArray* getRecord(jint id);   // null when the record file is missing
    // The record into buffer at offset; its length, or 0 when the file is
    // missing or the record does not fit.
    jint getRecord(jint id, ByteArray* buffer, jint offset);
    // data may be null (an empty record); else [offset, offset + numBytes)
    // must lie in it (java_lang_IndexOutOfBoundsException).
    jint addRecord(ByteArray* data, jint offset, jint numBytes);
    void setRecord(jint id, ByteArray* data, jint offset, jint numBytes);
    // An id the store does not hold is ignored.
    void deleteRecord(jint id);
    void closeRecordStore() { writeStoreFile(); }
    // Every record, then the index, emptied (the files stay).
    void deleteAllRecords();
    // Rewrites the index file.
    void writeStoreFile();
    // A javax_microedition_rms_RecordEnumerationImpl over this store; the
    // arguments are not used.
    Object* enumerateRecords(Object* filter, Object* comparator, jboolean keepUpdated);

    // Id membership: a scan of ids.
    bool holds(jint id);
    // The id at a position of ids (the enumeration reads it).
    jint idAt(jint index);

    // --- shared-store utility -------------------------------------------------------
    static void openSharedStore(String* name);
    static void closeSharedStore();
    static ByteArray* readFirstRecord(String* name);
    static ByteArray* readFirstRecordBytes(String* name) { return readFirstRecord(name); }
    static java_io_InputStream* openFirstRecordStream(String* name);

    String* m_path;
    java_util_Vector* m_ids;  // of java_lang_Integer
    jint m_lastRecordId;
    jint m_open;

private:
    std::string indexDevicePath() const;
    std::string recordDevicePath(jint id) const;
    // The size of a held record's file (0 when missing), without the lookup.
    jint storedSize(jint id);
    bool checkHeld(jint id);
    // Index bytes of the current ids.
    std::vector<uint8_t> indexBytes();
};

// The enumeration interface (111), in slot order.
class javax_microedition_rms_RecordEnumeration {
public:
    virtual jint numRecords() = 0;
    virtual ByteArray* nextRecord() = 0;
    virtual jint nextRecordId() = 0;
    virtual ByteArray* previousRecord() = 0;
    virtual jint previousRecordId() = 0;
    virtual jboolean hasNextElement() = 0;
    virtual jboolean hasPreviousElement() = 0;
    virtual void reset() = 0;
    virtual void rebuild() = 0;
    virtual void keepUpdated(jboolean keepUpdated) = 0;
    virtual jboolean isKeptUpdated() = 0;
    virtual void destroy() = 0;

protected:
    ~javax_microedition_rms_RecordEnumeration() = default;
};

// A single cursor over the store's live id list: the cursor names the
// element that the next call of either direction returns. Out-of-range
// accesses raise javax_microedition_rms_InvalidRecordIDException with the
// cursor in decimal and leave the cursor unchanged.
class javax_microedition_rms_RecordEnumerationImpl : public Object, public javax_microedition_rms_RecordEnumeration {
public:
    explicit javax_microedition_rms_RecordEnumerationImpl(javax_microedition_rms_RecordStore* store);

    void* getInterface(jint interfaceId) override;  // 111

    jint numRecords() override;
    ByteArray* nextRecord() override;
    jint nextRecordId() override;
    ByteArray* previousRecord() override;
    jint previousRecordId() override;
    jboolean hasNextElement() override;
    jboolean hasPreviousElement() override { return m_index > 0 ? 1 : 0; }
    void reset() override { m_index = 0; }
    void rebuild() override {}
    void keepUpdated(jboolean) override {}
    jboolean isKeptUpdated() override { return 0; }
    void destroy() override {}

    jint currentId();

    jint m_index;
    javax_microedition_rms_RecordStore* m_store;
};

// Static fields of the record store class (the shared-store utility).
struct RecordStore_Statics {
    javax_microedition_rms_RecordStore* sharedStore;
    ByteArray* sharedBytes;
};
extern StaticsContribution g_RecordStoreStatics;
