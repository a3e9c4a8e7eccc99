// Record stores: file names and both formats byte for byte after add, set
// and delete, exceptions and their messages, failures that leave the old
// data in place, damaged indexes, the shared-store utility and the
// enumeration over a store's ids.
#include <filesystem>

#include <unistd.h>

#include "io/recordindex.h"
#include "io/recordstore.h"
#include "javalib/inputstreams.h"
#include "javalib/vector.h"
#include "tools/kit/damage.h"
#include "tools/kit/recordstore.h"
#include "tests/io/io_fixture.h"

using namespace iotest;
namespace fs = std::filesystem;
using Store = javax_microedition_rms_RecordStore;

class RecordStoreTest : public IoTest {
protected:
    Store* open(const char* name, bool create = true) { return Store::openRecordStoreByName(str(name), create ? 1 : 0); }
    std::string indexFile(const char* name) { return appFolder() + "/" + kit::storeIndexFileName(name); }
    std::string recordFile(const char* name, int id) { return appFolder() + "/" + kit::recordFileName(name, id); }
    Bytes fileBytes(const std::string& path) { return fs::exists(path) ? kit::readFile(path) : Bytes{0xDE, 0xAD}; }
    ByteArray* arr(const Bytes& b) { return byteArrayOf(b); }
};

TEST_F(RecordStoreTest, AddSetDeleteWriteTheFormatsByteForByte) {
    Store* s = open("Game");
    EXPECT_FALSE(fs::exists(indexFile("game"))) << "a new store reaches the disk at its first change";
    EXPECT_EQ(s->addRecord(arr({1, 2, 3}), 0, 3), 1);
    EXPECT_EQ(s->addRecord(arr({9, 8, 7, 6}), 1, 2), 2);
    EXPECT_EQ(fileBytes(indexFile("game")), (Bytes{0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(fileBytes(recordFile("game", 1)), (Bytes{1, 2, 3}));
    EXPECT_EQ(fileBytes(recordFile("game", 2)), (Bytes{8, 7}));
    EXPECT_EQ(toUtf8(s->getName()), "\\Program Files\\Tindrell\\Bramble Hollow Saga\\rs_Game.rms");

    s->setRecord(2, arr({5, 5, 5, 5, 5}), 0, 5);
    EXPECT_EQ(fileBytes(recordFile("game", 2)), (Bytes{5, 5, 5, 5, 5}));
    EXPECT_EQ(fileBytes(indexFile("game")), (Bytes{0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));

    s->deleteRecord(1);
    EXPECT_EQ(fileBytes(indexFile("game")), (Bytes{0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(fileBytes(recordFile("game", 1)), Bytes{}) << "a deleted record leaves a zero-length file";
    EXPECT_EQ(s->getNextRecordID(), 3);
    EXPECT_EQ(s->getNumRecords(), 1);
    s->deleteRecord(1);  // not held: silent
    EXPECT_EQ(takeException(), 0);

    EXPECT_EQ(s->addRecord(nullptr, 0, 0), 3);
    EXPECT_EQ(fileBytes(recordFile("game", 3)), Bytes{});
    EXPECT_EQ(s->getSize(), 5);

    // The kit's strict reader agrees with every file.
    kit::RecordStoreContents read = kit::readRecordStore(appFolder(), "Game");
    EXPECT_EQ(read.lastRecordId, 3);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].id, 2);
    EXPECT_EQ(read.records[1].id, 3);

    // A fresh object sees what was saved.
    Store* again = open("game", false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getNumRecords(), 2);
    EXPECT_EQ(again->getNextRecordID(), 4);
    EXPECT_EQ(bytesOf(again->getRecord(2)), (Bytes{5, 5, 5, 5, 5}));
    EXPECT_EQ(takeException(), 0);
}

TEST_F(RecordStoreTest, OpeningNamingAndDeletingStores) {
    Store* created = open("fresh");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(open("fresh", false), nullptr) << "nothing written yet";
    EXPECT_EQ(pendingMessage(), "\\Program Files\\Tindrell\\Bramble Hollow Saga\\rs_fresh.rms");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreNotFoundException);
    created->closeRecordStore();
    EXPECT_EQ(fileBytes(indexFile("fresh")), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_NE(open("fresh", false), nullptr);

    // ':' and '?' become '_'; letter case does not matter.
    Store* odd = open("a:b?C");
    odd->addRecord(arr({4}), 0, 1);
    EXPECT_TRUE(fs::exists(indexFile("a_b_c")));
    EXPECT_EQ(open("A_B_c", false)->getNumRecords(), 1);
    EXPECT_EQ(toUtf8(odd->getName()), "\\Program Files\\Tindrell\\Bramble Hollow Saga\\rs_a_b_C.rms");

    // With vendor and suite the store lives under Program Files.
    Store* vendor = Store::openRecordStore(str("v"), str("Maker"), str("Suite"), 1);
    EXPECT_EQ(toUtf8(vendor->getName()), "\\Program Files\\Maker\\Suite\\rs_v.rms");
    Store::openRecordStore(str("v"), str("Maker"), str("Suite"));
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreNotFoundException);

    // Deleting empties every file and the index; reopening starts over.
    Store::deleteRecordStore(str("a:b?C"));
    EXPECT_EQ(fileBytes(indexFile("a_b_c")), Bytes{});
    EXPECT_EQ(fileBytes(kit::recordFileName("a:b?C", 1).insert(0, appFolder() + "/")), Bytes{});
    Store* reopened = open("a_b_c", false);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->getNumRecords(), 0);
    EXPECT_EQ(reopened->getNextRecordID(), 1);
    Store::deleteRecordStore(str("never"));
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreNotFoundException);

    EXPECT_EQ(Store::listRecordStores()->length(), 0) << "folders are not listed";
    EXPECT_EQ(Store::getSizeAvailable(), 2147483647);
}

TEST_F(RecordStoreTest, ReadingRecordsAndUnknownIds) {
    Store* s = open("r");
    s->addRecord(arr({1, 2, 3, 4}), 0, 4);
    ByteArray* buffer = newByteArray(6);
    EXPECT_EQ(s->getRecord(1, buffer, 2), 4);
    EXPECT_EQ(bytesOf(buffer), (Bytes{0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(s->getRecord(1, newByteArray(3), 0), 0) << "a buffer too short";
    EXPECT_EQ(s->getRecord(1, buffer, 3), 0);
    EXPECT_EQ(s->getRecord(1, buffer, -1), 0);
    EXPECT_EQ(s->getRecordSize(1), 4);

    struct Call {
        const char* what;
        std::function<void()> call;
    };
    const Call calls[] = {
        {"getRecord", [&] { s->getRecord(7); }},
        {"getRecord into", [&] { s->getRecord(7, buffer, 0); }},
        {"getRecordSize", [&] { s->getRecordSize(7); }},
        {"setRecord", [&] { s->setRecord(7, buffer, 0, 1); }},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.what);
        c.call();
        EXPECT_EQ(pendingMessage(), "7");
        EXPECT_EQ(takeException(), cid::javax_microedition_rms_InvalidRecordIDException);
    }
    // Ranges outside the array are refused before anything is written.
    s->addRecord(arr({1, 2}), 1, 2);
    EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
    s->setRecord(1, arr({1, 2}), -1, 1);
    EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
    EXPECT_EQ(s->getNumRecords(), 1);
    EXPECT_EQ(bytesOf(s->getRecord(1)), (Bytes{1, 2, 3, 4}));

    // A missing record file reads as nothing.
    fs::remove(recordFile("r", 1));
    EXPECT_EQ(s->getRecord(1), nullptr);
    EXPECT_EQ(s->getRecordSize(1), 0);
    EXPECT_EQ(s->getRecord(1, buffer, 0), 0);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(RecordStoreTest, FailedWritesAndReadsRaiseAndKeepTheOldData) {
    Store* s = open("f");
    s->addRecord(arr({1}), 0, 1);
    s->addRecord(arr({2}), 0, 1);
    const Bytes index = fileBytes(indexFile("f"));

    // The next record's file cannot be written (a folder stands in its place).
    fs::create_directory(recordFile("f", 3));
    EXPECT_EQ(s->addRecord(arr({3}), 0, 1), 0);
    EXPECT_EQ(pendingMessage(), "Cannot write the record store");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(s->getNumRecords(), 2);
    EXPECT_EQ(s->getNextRecordID(), 3);
    EXPECT_EQ(fileBytes(indexFile("f")), index);
    fs::remove(recordFile("f", 3));

    // A record that cannot be read is an exception, not zeros.
    fs::remove(recordFile("f", 2));
    fs::create_directory(recordFile("f", 2));
    EXPECT_EQ(s->getRecord(2), nullptr);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    ByteArray* buffer = byteArrayOf({7, 7});
    EXPECT_EQ(s->getRecord(2, buffer, 0), 0);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(bytesOf(buffer), (Bytes{7, 7}));
    s->setRecord(2, arr({9}), 0, 1);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    fs::remove(recordFile("f", 2));

    // The index cannot be replaced: add, set and delete report it and the
    // store object stays as the disk has it.
    fs::remove(indexFile("f"));
    fs::create_directory(indexFile("f"));
    fs::create_directory(indexFile("f") + "/keep");
    EXPECT_EQ(s->addRecord(arr({3}), 0, 1), 0);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(s->getNumRecords(), 2);
    EXPECT_EQ(s->getNextRecordID(), 3);
    s->setRecord(1, arr({8}), 0, 1);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(fileBytes(recordFile("f", 1)), (Bytes{1})) << "the record is untouched";
    s->deleteRecord(1);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(s->getNumRecords(), 2);
    EXPECT_EQ(fileBytes(recordFile("f", 1)), (Bytes{1}));
    s->closeRecordStore();
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
}

TEST_F(RecordStoreTest, DamagedIndexesOpenWithTheReadableIds) {
    kit::RecordStoreContents contents;
    contents.lastRecordId = 9;
    for (int id : {2, 4, 5, 9}) contents.records.push_back({id, pattern(id * 3, id), false});
    kit::writeRecordStore(appFolder(), "d", contents);
    const Bytes valid = kit::readFile(indexFile("d"));
    auto variants = kit::damageFile(kit::FileKind::RecordIndex, valid);
    variants.push_back({"cut mid-id", Bytes(valid.begin(), valid.end() - 2)});
    variants.push_back({"huge count", Bytes{0, 0, 0, 9, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2}});
    variants.push_back({"repeated id", Bytes{0, 0, 0, 9, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 4}});
    variants.push_back({"id above last", Bytes{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 5}});
    for (const kit::DamagedFile& damaged : variants) {
        SCOPED_TRACE(damaged.name);
        kit::writeFile(indexFile("d"), damaged.bytes);
        Store* s = open("d", false);
        ASSERT_NE(s, nullptr);
        std::set<jint> ids;
        for (jint i = 0; i < s->getNumRecords(); ++i) {
            const jint id = s->idAt(i);
            EXPECT_TRUE(ids.insert(id).second) << "ids are distinct";
            EXPECT_GT(id, 0);
            EXPECT_LE(id, s->m_lastRecordId);
        }
        // The store stays usable and its next save is a sound index.
        const jint next = s->addRecord(arr({1}), 0, 1);
        if (s->m_lastRecordId == java::kIntMax && next == 0) {
            EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreFullException) << "no id left";
            s->closeRecordStore();
        }
        EXPECT_EQ(takeException(), 0);
        EXPECT_FALSE(ids.count(next));
        EXPECT_NO_THROW(kit::decodeRecordIndex(kit::readFile(indexFile("d"))));
    }
}

TEST_F(RecordStoreTest, SharedStoreUtility) {
    EXPECT_EQ(Store::readFirstRecord(str("shared")), nullptr) << "a new store has no record";
    Store* s = open("shared");
    s->addRecord(arr({6, 7}), 0, 2);
    EXPECT_EQ(bytesOf(Store::readFirstRecordBytes(str("shared"))), (Bytes{6, 7}));
    java_io_InputStream* in = Store::openFirstRecordStream(str("shared"));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->read(), 6);
    s->deleteRecord(1);
    s->addRecord(arr({8}), 0, 1);
    EXPECT_EQ(Store::readFirstRecord(str("shared")), nullptr) << "record 1 is gone: caught, null";
    EXPECT_EQ(takeException(), 0);
    Store::openSharedStore(str("other"));
    Store::closeSharedStore();
    EXPECT_TRUE(fs::exists(indexFile("other")));
}

// ---------------------------------------------------------------------------
// Enumeration

TEST_F(RecordStoreTest, EnumerationWalksTheIdsInOrder) {
    kit::RecordStoreContents contents;
    for (int id : {4, 7, 9}) contents.records.push_back({id, Bytes{static_cast<uint8_t>(id)}, false});
    kit::writeRecordStore(appFolder(), "walk", contents);
    Store* s = open("walk", false);
    Object* object = s->enumerateRecords(nullptr, nullptr, 1);
    auto* e = interfaceOf<javax_microedition_rms_RecordEnumeration>(object, cid::javax_microedition_rms_RecordEnumeration);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->numRecords(), 3);
    EXPECT_EQ(e->nextRecordId(), 4);
    EXPECT_EQ(e->nextRecordId(), 7);
    EXPECT_EQ(e->previousRecordId(), 9) << "the cursor names the element either direction returns";
    EXPECT_EQ(e->hasPreviousElement(), 1);
    EXPECT_EQ(e->nextRecordId(), 7);
    EXPECT_EQ(e->nextRecordId(), 9);
    EXPECT_EQ(e->hasNextElement(), 0);
    EXPECT_EQ(e->nextRecordId(), 0);
    EXPECT_EQ(pendingMessage(), "3");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_InvalidRecordIDException);
    EXPECT_EQ(e->nextRecord(), nullptr);
    EXPECT_EQ(pendingMessage(), "3");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_InvalidRecordIDException);

    e->reset();
    EXPECT_EQ(bytesOf(e->nextRecord()), (Bytes{4}));
    EXPECT_EQ(bytesOf(e->nextRecord()), (Bytes{7}));
    EXPECT_EQ(bytesOf(e->previousRecord()), (Bytes{9}));
    EXPECT_EQ(bytesOf(e->previousRecord()), (Bytes{7}));
    EXPECT_EQ(bytesOf(e->previousRecord()), (Bytes{4}));
    EXPECT_EQ(e->previousRecord(), nullptr) << "index -1";
    EXPECT_EQ(pendingMessage(), "-1");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_InvalidRecordIDException);

    // The live id list: a record added now shows up.
    s->addRecord(arr({10}), 0, 1);
    EXPECT_EQ(e->numRecords(), 4);
    e->keepUpdated(1);
    EXPECT_EQ(e->isKeptUpdated(), 0);
    e->rebuild();
    e->destroy();
}

// Saves cut short by a crash leave hidden temporary files beside the
// store's files; opening the store removes those of dead writers and no
// other file.
TEST_F(RecordStoreTest, OpeningRemovesTemporaryFilesOfDeadWriters) {
    Store* s = open("crash");
    s->addRecord(arr({1}), 0, 1);
    const std::string folder = appFolder() + "/";
    const std::string index = fs::path(indexFile("crash")).filename().string();
    const std::string record = fs::path(recordFile("crash", 1)).filename().string();
    const int live = static_cast<int>(getpid());
    struct Case {
        std::string name;
        bool removed;
    } cases[] = {
        {"." + index + ".999999999.3.1a2b.tmp", true},     // a writer that is gone
        {"." + record + ".999999998.0.ff.tmp", true},      // beside a record file
        {"." + index + "." + std::to_string(live) + ".1.2.tmp", false},  // this process: in flight
        {"." + index + ".1.0.0.tmp", false},               // a process that runs (init)
        {"." + index + ".x.0.0.tmp", false},               // not of the temporary shape
        {".other.rms.999999999.0.0.tmp", false},           // another store's
        {index + ".999999999.0.0.tmp", false},             // not hidden
    };
    for (const Case& c : cases) kit::writeFile(folder + c.name, Bytes{1, 2, 3});
    Store* again = open("crash", false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getNumRecords(), 1);
    for (const Case& c : cases) EXPECT_EQ(fs::exists(folder + c.name), !c.removed) << c.name;
    EXPECT_EQ(fileBytes(recordFile("crash", 1)), (Bytes{1}));
}

// A record that cannot be read raises, and the cursor still moves past it:
// a caller that catches and goes on reaches the next record.
TEST_F(RecordStoreTest, EnumerationMovesPastAnUnreadableRecord) {
    kit::RecordStoreContents contents;
    for (int id : {1, 2, 3}) contents.records.push_back({id, Bytes{static_cast<uint8_t>(id)}, false});
    kit::writeRecordStore(appFolder(), "bad", contents);
    fs::remove(recordFile("bad", 2));
    fs::create_directory(recordFile("bad", 2));
    Store* s = open("bad", false);
    auto* e = static_cast<javax_microedition_rms_RecordEnumerationImpl*>(s->enumerateRecords(nullptr, nullptr, 0));
    EXPECT_EQ(bytesOf(e->nextRecord()), (Bytes{1}));
    EXPECT_EQ(e->nextRecord(), nullptr);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(bytesOf(e->nextRecord()), (Bytes{3}));
    EXPECT_EQ(e->hasNextElement(), 0);
    e->reset();
    e->nextRecordId();
    e->nextRecordId();  // the cursor on the last record
    EXPECT_EQ(bytesOf(e->previousRecord()), (Bytes{3}));
    EXPECT_EQ(e->previousRecord(), nullptr);
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_RecordStoreException);
    EXPECT_EQ(bytesOf(e->previousRecord()), (Bytes{1}));
}

// The size of a store with many ids: the sum of its record files.
TEST_F(RecordStoreTest, SizeOfAStoreWithManyIds) {
    kit::RecordStoreContents contents;
    for (int id = 1; id <= 20000; ++id) contents.records.push_back({id, Bytes{}, false});
    contents.records[6].data = Bytes{1, 2, 3};
    contents.records[19999].data = Bytes{4, 5};
    kit::writeRecordStore(appFolder(), "many", contents);
    Store* s = open("many", false);
    ASSERT_EQ(s->getNumRecords(), 20000);
    EXPECT_EQ(s->getSize(), 5);
}

TEST_F(RecordStoreTest, EnumerationOfAnEmptyStore) {
    Store* s = open("none");
    auto* e = static_cast<javax_microedition_rms_RecordEnumerationImpl*>(s->enumerateRecords(nullptr, nullptr, 0));
    EXPECT_EQ(e->hasNextElement(), 0);
    EXPECT_EQ(e->hasPreviousElement(), 0);
    EXPECT_EQ(e->nextRecord(), nullptr);
    EXPECT_EQ(pendingMessage(), "0");
    EXPECT_EQ(takeException(), cid::javax_microedition_rms_InvalidRecordIDException);
    EXPECT_EQ(e->m_index, 0) << "the cursor is left unchanged";
}
