// Record stores over crash-safe file replacement, and their enumeration.
#include "io/recordstore.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "io/file.h"
#include "io/recordindex.h"
#include "javalib/inputstreams.h"
#include "javalib/io_support.h"
#include "javalib/vector.h"
#include "javalib/wrappers.h"
#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace pfs = platform::fs;
using javaio::pending;

StaticsContribution g_RecordStoreStatics = StaticsContribution::of<RecordStore_Statics>(
    "javax_microedition_rms_RecordStore", kClinitLibrary, nullptr,
    {offsetof(RecordStore_Statics, sharedStore), offsetof(RecordStore_Statics, sharedBytes)});


namespace {

RecordStore_Statics* shared() { return statics<RecordStore_Statics>(g_RecordStoreStatics); }

std::u16string pool(jint entry) {
    String* s = StaticClass::getStringConstant(entry);
    return s ? s->toUtf16() : std::u16string();
}

std::u16string decimal(jint v) {
    std::u16string out;
    for (char c : std::to_string(v)) out.push_back(static_cast<char16_t>(c));
    return out;
}

std::string deviceFileOf(const std::u16string& path) {
    const std::u16string lower = bramble::io::lowerCasePath(path);
    std::string out(lower.size(), '\0');
    for (size_t i = 0; i < lower.size(); ++i) out[i] = static_cast<char>(lower[i] & 0xFF);
    return out;
}

void throwInvalidId(jint value) {
    rt::throwNew(cid::javax_microedition_rms_InvalidRecordIDException, String::fromUtf16(decimal(value)));
}

void throwStoreException() {
    rt::throwNew(cid::javax_microedition_rms_RecordStoreException, StaticClass::getStringConstant(96));
}

enum class ReadResult { Ok, Missing, Failed };

// The whole file, read natively.
ReadResult readDeviceFile(const std::string& path, std::vector<uint8_t>& bytes) {
    BlockingRegion blocking;
    bytes.clear();
    pfs::File file = pfs::File::open(path, pfs::OpenMode::Read);
    if (!file) return pfs::exists(path) ? ReadResult::Failed : ReadResult::Missing;
    const int64_t size = file.size();
    if (size < 0 || size > (int64_t(1) << 30)) return ReadResult::Failed;
    bytes.resize(static_cast<size_t>(size));
    if (file.read(bytes.data(), bytes.size()) != bytes.size()) return ReadResult::Failed;
    return ReadResult::Ok;
}

// Replaces the file whole (temporary file, sync, rename) or leaves it as it was.
bool replaceDeviceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    BlockingRegion blocking;
    return pfs::replaceFile(path, bytes.data(), bytes.size());
}

// Copies data[offset, offset + numBytes) out; false (exception pending) when
// the range lies outside the array. A null array is an empty record.
bool copyRecordBytes(ByteArray* data, jint offset, jint numBytes, std::vector<uint8_t>& out) {
    out.clear();
    if (!data) return true;
    if (!javaio::checkRange(data, offset, numBytes)) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(data->data()) + offset;
    out.assign(p, p + numBytes);
    return true;
}

}  // namespace

// --- opening ------------------------------------------------------------------------

javax_microedition_rms_RecordStore::javax_microedition_rms_RecordStore(String* path, jboolean exists)
    : Object(cid::javax_microedition_rms_RecordStore) {
    m_path = nullptr;
    m_ids = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_path, &m_ids});
    m_ids = newObject<java_util_Vector>(10, 0);
    m_path = path;
    m_open = 1;
    m_lastRecordId = 0;
    {
        // Saves cut short by a crash leave their temporary files behind.
        const std::string index = indexDevicePath();
        BlockingRegion blocking;
        pfs::removeStaleTemporaries(index);
    }
    if (!exists) {
        if (getSizeAvailable() < 0)
            rt::throwNew(cid::javax_microedition_rms_RecordStoreFullException, StaticClass::getStringConstant(92));
        return;
    }
    const std::string file = indexDevicePath();
    std::vector<uint8_t> bytes;
    if (readDeviceFile(file, bytes) != ReadResult::Ok) {
        logPrintf("javax_microedition_rms_RecordStore: cannot read the index %s; the store reads as empty", file.c_str());
        return;
    }
    const bramble::io::RecordIndexData index = bramble::io::parseRecordIndex(bytes);
    if (index.problems)
        logPrintf("javax_microedition_rms_RecordStore: the index %s is damaged (%d problems); keeping %zu ids",
                  file.c_str(), index.problems, index.ids.size());
    m_lastRecordId = index.lastRecordId;
    for (int32_t id : index.ids) m_ids->addElement(newObject<java_lang_Integer>(id));
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStoreByName(String* name,
                                                                                            jboolean createIfNecessary) {
    return openRecordStore(name, createIfNecessary, 0, 1);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore(String* name,
                                                                                      jboolean createIfNecessary, jint,
                                                                                      jboolean) {
    String* empty = StaticClass::getStringConstant(1);
    return openRecordStore(name, empty, empty, createIfNecessary);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore(String* name, String* vendor,
                                                                                      String* suite) {
    return openRecordStore(name, vendor, suite, 0);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore(String* name, String* vendor,
                                                                                      String* suite,
                                                                                      jboolean createIfNecessary) {
    MethodScope scope("javax_microedition_rms_RecordStore.openRecordStore");
    if (!name) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return nullptr;
    }
    const std::u16string separator = pool(93);
    std::u16string path;
    if (!vendor || !suite || vendor->length() == 0 || suite->length() == 0) {
        path = javax_microedition_io_File::getAppFolderPath()->toUtf16();
    } else {
        path = javax_microedition_io_File::getProgramFilesPath()->toUtf16() + separator + vendor->toUtf16() + separator +
               suite->toUtf16();
    }
    path += separator + pool(94) + name->toUtf16() + pool(95);
    for (char16_t c : std::u16string(u"/:*?<>|")) std::replace(path.begin(), path.end(), c, u'_');
    String* pathString = String::fromUtf16(path);

    bool exists;
    {
        const std::string file = deviceFileOf(path);
        BlockingRegion blocking;
        exists = pfs::File::open(file, pfs::OpenMode::Read).isOpen();
    }
    if (!exists && !createIfNecessary) {
        rt::throwNew(cid::javax_microedition_rms_RecordStoreNotFoundException, pathString);
        return nullptr;
    }
    return newObject<javax_microedition_rms_RecordStore>(pathString, exists ? 1 : 0);
}

void javax_microedition_rms_RecordStore::deleteRecordStore(String* name) {
    javax_microedition_rms_RecordStore* store = openRecordStoreByName(name, 0);
    if (pending() || !store) return;
    store->deleteAllRecords();
}

ObjectArray* javax_microedition_rms_RecordStore::listRecordStores() {
    auto* folder = newObject<javax_microedition_io_File>(javax_microedition_io_File::getAppFolderPath());
    String* prefix = StaticClass::getStringConstant(94);
    String* suffix = StaticClass::getStringConstant(95);
    ObjectArray* names = folder->listMatching(prefix, suffix);
    if (pending() || !names) return names;
    const jint head = prefix ? prefix->length() : 0;
    const jint tail = suffix ? suffix->length() : 0;
    for (jint i = 0; i < names->length(); ++i) {
        auto* n = static_cast<String*>(names->data()[i]);
        const std::u16string text = n->toUtf16();
        String* bare = String::fromUtf16(text.substr(static_cast<size_t>(head), text.size() - head - tail));
        names->data()[i] = bare;
    }
    return names;
}

// --- paths and ids ----------------------------------------------------------------------

std::string javax_microedition_rms_RecordStore::indexDevicePath() const {
    return deviceFileOf(m_path ? m_path->toUtf16() : std::u16string());
}

std::string javax_microedition_rms_RecordStore::recordDevicePath(jint id) const {
    return deviceFileOf((m_path ? m_path->toUtf16() : std::u16string()) + pool(97) + decimal(id) + pool(95));
}

String* javax_microedition_rms_RecordStore::getName() { return m_path; }

jint javax_microedition_rms_RecordStore::getNumRecords() { return m_ids->size(); }

jint javax_microedition_rms_RecordStore::idAt(jint index) {
    return static_cast<java_lang_Integer*>(m_ids->elementAt(index))->intValue();
}

bool javax_microedition_rms_RecordStore::holds(jint id) {
    const jint n = m_ids->size();
    for (jint i = 0; i < n; ++i)
        if (idAt(i) == id) return true;
    return false;
}

bool javax_microedition_rms_RecordStore::checkHeld(jint id) {
    if (holds(id)) return true;
    throwInvalidId(id);
    return false;
}

std::vector<uint8_t> javax_microedition_rms_RecordStore::indexBytes() {
    std::vector<int32_t> ids;
    const jint n = m_ids->size();
    ids.reserve(static_cast<size_t>(n));
    for (jint i = 0; i < n; ++i) ids.push_back(idAt(i));
    return bramble::io::encodeRecordIndex(m_lastRecordId, ids);
}

// --- reading --------------------------------------------------------------------------

jint javax_microedition_rms_RecordStore::getRecordSize(jint id) {
    if (!checkHeld(id)) return 0;
    return storedSize(id);
}

jint javax_microedition_rms_RecordStore::storedSize(jint id) {
    const std::string file = recordDevicePath(id);
    int64_t size;
    {
        BlockingRegion blocking;
        size = pfs::fileSize(file);
    }
    return static_cast<jint>(std::clamp<int64_t>(size, 0, java::kIntMax));
}

jint javax_microedition_rms_RecordStore::getSize() {
    jint total = 0;
    const jint n = m_ids->size();
    // Every id of the list is held: each size is read without looking it up.
    for (jint i = 0; i < n; ++i) total = java::iadd(total, storedSize(idAt(i)));
    return total;
}

ByteArray* javax_microedition_rms_RecordStore::getRecord(jint id) {
    if (!checkHeld(id)) return nullptr;
    const std::string file = recordDevicePath(id);
    std::vector<uint8_t> bytes;
    switch (readDeviceFile(file, bytes)) {
    case ReadResult::Missing:
        return nullptr;
    case ReadResult::Failed:
        logPrintf("javax_microedition_rms_RecordStore::getRecord: cannot read %s", file.c_str());
        throwStoreException();
        return nullptr;
    case ReadResult::Ok:
        break;
    }
    ByteArray* record = newByteArray(static_cast<jint>(bytes.size()));
    if (!bytes.empty()) std::memcpy(record->data(), bytes.data(), bytes.size());
    return record;
}

jint javax_microedition_rms_RecordStore::getRecord(jint id, ByteArray* buffer, jint offset) {
    if (!checkHeld(id)) return 0;
    const std::string file = recordDevicePath(id);
    std::vector<uint8_t> bytes;
    switch (readDeviceFile(file, bytes)) {
    case ReadResult::Missing:
        return 0;
    case ReadResult::Failed:
        logPrintf("javax_microedition_rms_RecordStore::getRecord: cannot read %s", file.c_str());
        throwStoreException();
        return 0;
    case ReadResult::Ok:
        break;
    }
    const jint length = static_cast<jint>(bytes.size());
    if (!buffer || offset < 0 || offset > buffer->length() - length) return 0;  // does not fit: nothing copied
    if (length > 0) std::memcpy(buffer->data() + offset, bytes.data(), bytes.size());
    return length;
}

// --- writing ----------------------------------------------------------------------------

void javax_microedition_rms_RecordStore::writeStoreFile() {
    const std::string file = indexDevicePath();
    if (!replaceDeviceFile(file, indexBytes())) {
        logPrintf("javax_microedition_rms_RecordStore::writeStoreFile: cannot write %s; the old index stays", file.c_str());
        throwStoreException();
    }
}

jint javax_microedition_rms_RecordStore::addRecord(ByteArray* data, jint offset, jint numBytes) {
    MethodScope scope("javax_microedition_rms_RecordStore.addRecord");
    if (getSizeAvailable() < numBytes) {
        rt::throwNew(cid::javax_microedition_rms_RecordStoreFullException, StaticClass::getStringConstant(92));
        return 0;
    }
    std::vector<uint8_t> bytes;
    if (!copyRecordBytes(data, offset, numBytes, bytes)) return 0;
    if (m_lastRecordId == java::kIntMax) {  // no id left to give out
        rt::throwNew(cid::javax_microedition_rms_RecordStoreFullException, StaticClass::getStringConstant(92));
        return 0;
    }
    const jint id = m_lastRecordId + 1;
    // The record's file first: until the index names it, it is not part of the store.
    const std::string file = recordDevicePath(id);
    if (!replaceDeviceFile(file, bytes)) {
        logPrintf("javax_microedition_rms_RecordStore::addRecord: cannot write %s", file.c_str());
        throwStoreException();
        return 0;
    }
    m_ids->addElement(newObject<java_lang_Integer>(id));
    if (pending()) return 0;
    m_lastRecordId = id;
    writeStoreFile();
    if (pending()) {
        m_ids->removeElementAt(m_ids->size() - 1);
        m_lastRecordId = id - 1;
        return 0;
    }
    return id;
}

void javax_microedition_rms_RecordStore::setRecord(jint id, ByteArray* data, jint offset, jint numBytes) {
    MethodScope scope("javax_microedition_rms_RecordStore.setRecord");
    if (!checkHeld(id)) return;
    const jint old = getRecordSize(id);
    if (pending()) return;
    if (static_cast<jlong>(getSizeAvailable()) < static_cast<jlong>(numBytes) - old) {
        rt::throwNew(cid::javax_microedition_rms_RecordStoreFullException, StaticClass::getStringConstant(92));
        return;
    }
    std::vector<uint8_t> bytes;
    if (!copyRecordBytes(data, offset, numBytes, bytes)) return;
    // The index names the same ids before and after; it is rewritten first so
    // that a failure reports before the record changes.
    writeStoreFile();
    if (pending()) return;
    const std::string file = recordDevicePath(id);
    if (!replaceDeviceFile(file, bytes)) {
        logPrintf("javax_microedition_rms_RecordStore::setRecord: cannot write %s; the old record stays", file.c_str());
        throwStoreException();
    }
}

void javax_microedition_rms_RecordStore::deleteRecord(jint id) {
    MethodScope scope("javax_microedition_rms_RecordStore.deleteRecord");
    jint at = -1;
    for (jint i = m_ids->size() - 1; i >= 0; --i) {
        if (idAt(i) == id) {
            at = i;
            break;
        }
    }
    if (at < 0) return;
    Object* element = m_ids->elementAt(at);
    m_ids->removeElementAt(at);
    // The index forgets the id first; only then is the record's file emptied.
    writeStoreFile();
    if (pending()) {
        m_ids->insertElementAt(element, at);
        return;
    }
    const std::string file = recordDevicePath(id);
    if (!replaceDeviceFile(file, {}))
        logPrintf("javax_microedition_rms_RecordStore::deleteRecord: cannot empty %s (no longer in the store)", file.c_str());
}

void javax_microedition_rms_RecordStore::deleteAllRecords() {
    for (jint i = m_ids->size() - 1; i >= 0; --i) {
        deleteRecord(idAt(i));
        if (pending()) return;
    }
    const std::string file = indexDevicePath();
    if (!replaceDeviceFile(file, {})) {
        logPrintf("javax_microedition_rms_RecordStore::deleteAllRecords: cannot empty %s", file.c_str());
        throwStoreException();
    }
}

Object* javax_microedition_rms_RecordStore::enumerateRecords(Object*, Object*, jboolean) {
    return newObject<javax_microedition_rms_RecordEnumerationImpl>(this);
}

// --- shared-store utility -------------------------------------------------------------------

void javax_microedition_rms_RecordStore::openSharedStore(String* name) {
    javax_microedition_rms_RecordStore* store = openRecordStoreByName(name, 1);
    if (!pending()) shared()->sharedStore = store;
}

void javax_microedition_rms_RecordStore::closeSharedStore() {
    javax_microedition_rms_RecordStore* store = shared()->sharedStore;
    if (!store) return;
    store->writeStoreFile();
    static const jint kHandlers[] = {cid::javax_microedition_rms_RecordStoreException, 1, 2, 0, 0, 0};
    if (Application::checkException(1)) Application::findHandler(kHandlers);
    shared()->sharedStore = nullptr;
}

ByteArray* javax_microedition_rms_RecordStore::readFirstRecord(String* name) {
    static const jint kHandlers[] = {cid::javax_microedition_rms_RecordStoreException, 1, 3, 0, 0, 0};
    openSharedStore(name);
    if (Application::checkException(1)) {
        if (Application::findHandler(kHandlers) < 0) return nullptr;
        closeSharedStore();
        return nullptr;
    }
    javax_microedition_rms_RecordStore* store = shared()->sharedStore;
    if (store->getNumRecords() == 0) {
        closeSharedStore();
        return nullptr;
    }
    ByteArray* bytes = store->getRecord(1);
    if (Application::checkException(2)) {
        if (Application::findHandler(kHandlers) < 0) return nullptr;
        closeSharedStore();
        return nullptr;
    }
    closeSharedStore();
    return bytes;
}

java_io_InputStream* javax_microedition_rms_RecordStore::openFirstRecordStream(String* name) {
    ByteArray* bytes = readFirstRecord(name);
    shared()->sharedBytes = bytes;
    if (pending() || !bytes) return nullptr;
    return newObject<java_io_ByteArrayInputStream>(bytes);
}

// --- enumeration ----------------------------------------------------------------------------

javax_microedition_rms_RecordEnumerationImpl::javax_microedition_rms_RecordEnumerationImpl(
    javax_microedition_rms_RecordStore* store)
    : Object(cid::javax_microedition_rms_RecordEnumerationImpl) {
    m_index = 0;
    m_store = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_store});
    m_store = store;
    reset();
}

void* javax_microedition_rms_RecordEnumerationImpl::getInterface(jint interfaceId) {
    return interfaceId == cid::javax_microedition_rms_RecordEnumeration
               ? static_cast<javax_microedition_rms_RecordEnumeration*>(this)
               : nullptr;
}

jint javax_microedition_rms_RecordEnumerationImpl::numRecords() { return m_store ? m_store->getNumRecords() : 0; }

jboolean javax_microedition_rms_RecordEnumerationImpl::hasNextElement() { return m_index < numRecords() ? 1 : 0; }

jint javax_microedition_rms_RecordEnumerationImpl::currentId() {
    if (m_index < 0 || m_index >= numRecords()) {
        throwInvalidId(m_index);
        return 0;
    }
    return m_store->idAt(m_index);
}

jint javax_microedition_rms_RecordEnumerationImpl::nextRecordId() {
    const jint id = currentId();
    if (pending()) return 0;
    m_index += 1;
    return id;
}

jint javax_microedition_rms_RecordEnumerationImpl::previousRecordId() {
    const jint id = currentId();
    if (pending()) return 0;
    m_index -= 1;
    return id;
}

ByteArray* javax_microedition_rms_RecordEnumerationImpl::nextRecord() {
    if (m_index >= numRecords()) {
        throwInvalidId(m_index);
        return nullptr;
    }
    const jint id = currentId();
    if (pending()) return nullptr;
    // The cursor moves on also past a record that cannot be read, so a
    // caller that catches the exception and goes on is not stuck on it.
    m_index += 1;
    return m_store->getRecord(id);
}

ByteArray* javax_microedition_rms_RecordEnumerationImpl::previousRecord() {
    if (m_index < 0) {
        throwInvalidId(m_index);
        return nullptr;
    }
    const jint id = currentId();
    if (pending()) return nullptr;
    m_index -= 1;
    return m_store->getRecord(id);
}
