// The file class and its streams over the device path layer: lower-cased
// paths found in mixed-case folders, paths that would leave the device,
// reading (EOF answers, seeks, mark/reset, large reads), writing with its
// failures reported, and the resource opener's ".bar" rule.
#include <filesystem>
#include <fstream>

#include "io/file.h"
#include "io/resource.h"
#include "javalib/vector.h"
#include "tests/io/io_fixture.h"

using namespace iotest;

namespace {

javax_microedition_io_File* fileOf(const char* path) { return newObject<javax_microedition_io_File>(str(path)); }

std::string appPath(const char* name) { return std::string(platform::fs::kAppFolder) + "\\" + name; }

}  // namespace

class FileTest : public IoTest {};

TEST_F(FileTest, ConstructorLowerCasesThePath) {
    EXPECT_EQ(toUtf8(fileOf("\\Data\\Save.DAT")->m_path), "\\data\\save.dat");
    // Each character cut to its low byte; Latin-1 capitals lowered too.
    auto* f = newObject<javax_microedition_io_File>(String::fromUtf16(u"\u00C9T\u0141"));
    EXPECT_EQ(f->m_path->toUtf16(), u"\u00E9ta");
}

TEST_F(FileTest, LowerCasedPathsReachMixedCaseFolders) {
    writeAppFile("Saved.Bin", {1, 2, 3});
    auto* f = newObject<javax_microedition_io_File>(String::fromLatin1(appPath("Saved.Bin")));
    EXPECT_EQ(f->exists(), 1);
    EXPECT_EQ(f->length(), 3);
    EXPECT_EQ(bytesOf(f->readAll()), (Bytes{1, 2, 3}));

    auto* missing = fileOf("\\temp\\nothing.dat");
    EXPECT_EQ(missing->exists(), 0);
    EXPECT_EQ(missing->length(), 0);
    EXPECT_EQ(missing->openInputStream(), nullptr);
    EXPECT_EQ(missing->readAll(), nullptr);
}

TEST_F(FileTest, PathsLeavingTheDeviceAreRefused) {
    std::ofstream(m_root + "/../outside.txt") << "secret";
    for (const char* path : {"..\\outside.txt", "\\temp\\..\\..\\outside.txt", "c:\\outside.txt"}) {
        SCOPED_TRACE(path);
        auto* f = fileOf(path);
        EXPECT_EQ(f->exists(), 0);
        EXPECT_EQ(f->openInputStream(), nullptr);
        EXPECT_EQ(f->openOutputStream(), nullptr);
        EXPECT_EQ(f->create(), 0);
    }
    auto* hostPath = newObject<javax_microedition_io_File>(String::fromUtf8(m_root + "/temp/x"));
    EXPECT_EQ(hostPath->create(), 0);
    std::filesystem::remove(m_root + "/../outside.txt");
}

TEST_F(FileTest, WriteCreateAndReadBack) {
    auto* f = fileOf("\\temp\\out.dat");
    auto* out = f->openOutputStream();
    ASSERT_NE(out, nullptr);
    const Bytes big = pattern(200000);
    out->write(0x41);
    out->write(byteArrayOf(big), 1, static_cast<jint>(big.size()) - 1);
    out->close();
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(f->length(), 200000);
    Bytes expected = big;
    expected[0] = 0x41;
    EXPECT_EQ(kit::readFile(hostFile("\\temp\\out.dat")), expected);

    EXPECT_EQ(f->create(), 1);
    EXPECT_EQ(f->length(), 0) << "create truncates";
    EXPECT_EQ(f->exists(), 1);
}

TEST_F(FileTest, InputStreamAnswersAtTheEndAndSeeks) {
    const Bytes data = pattern(20000);
    kit::writeFile(hostFile("\\temp\\in.dat"), data);
    auto* in = static_cast<FileInputStream*>(fileOf("\\temp\\in.dat")->openInputStream());
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->available(), 20000);
    EXPECT_EQ(in->read(), data[0]);
    EXPECT_EQ(in->skip(-5), -5);
    EXPECT_EQ(in->read(), data[1]) << "a negative skip moves nothing";
    EXPECT_EQ(in->skip(9998), 9998);
    EXPECT_EQ(in->read(), data[10000]);
    in->mark(0);
    ByteArray* b = newByteArray(9000);
    EXPECT_EQ(in->read(b, 0, 9000), 9000);
    EXPECT_EQ(bytesOf(b), Bytes(data.begin() + 10001, data.begin() + 19001));
    in->reset();
    EXPECT_EQ(in->read(), data[10001]);
    EXPECT_EQ(in->markSupported(), 1);
    EXPECT_EQ(in->skip(20000), 20000) << "a skip may pass the end";
    EXPECT_EQ(in->available(), 0);
    EXPECT_EQ(in->read(b, 0, 10), 0) << "a bulk read at the end answers 0";
    EXPECT_EQ(in->read(), -1);
    in->close();
    in->close();
    EXPECT_EQ(in->read(), -1) << "closed";
    EXPECT_EQ(takeException(), 0);

    // Bulk reads larger than the read-ahead and than one transfer chunk.
    const Bytes large = pattern(300000, 9);
    kit::writeFile(hostFile("\\temp\\large.dat"), large);
    auto* whole = fileOf("\\temp\\large.dat")->openInputStream();
    ByteArray* all = newByteArray(300000);
    EXPECT_EQ(whole->read(), large[0]);
    EXPECT_EQ(whole->read(all, 1, 299999), 299999);
    all->data()[0] = static_cast<jbyte>(large[0]);
    EXPECT_EQ(bytesOf(all), large);
    whole->read(all, -1, 2);
    EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
}

TEST_F(FileTest, OutputFailuresRaiseIoException) {
    auto* out = fileOf("\\temp\\full.dat")->openOutputStream();
    ASSERT_NE(out, nullptr);
    platform::fs::setDeviceFullForTesting(true);
    // Buffered bytes fail at the latest when they are handed to the system.
    out->write(newByteArray(100), 0, 100);
    jint first = takeException();
    if (first == 0) {
        out->flush();
        first = takeException();
    }
    EXPECT_EQ(first, cid::java_io_IOException);
    out->write(newByteArray(10), 0, 10);
    Application::clearPendingException();
    out->close();
    EXPECT_EQ(takeException(), cid::java_io_IOException) << "a failing close is reported";
    out->write(1);
    EXPECT_EQ(takeException(), cid::java_io_IOException) << "writing after close";
    platform::fs::setDeviceFullForTesting(false);
}

TEST_F(FileTest, ReadStreamCollectsEverything) {
    const Bytes data = pattern(1500);
    auto* in = newObject<java_io_ByteArrayInputStream>(byteArrayOf(data));
    EXPECT_EQ(bytesOf(javax_microedition_io_File::readStream(in)), data);
    EXPECT_EQ(javax_microedition_io_File::readStream(nullptr), nullptr);
    EXPECT_EQ(bytesOf(javax_microedition_io_File::readStream(newObject<java_io_ByteArrayInputStream>(newByteArray(0)))),
              Bytes{});
}

TEST_F(FileTest, FolderPathsAndListing) {
    EXPECT_EQ(toUtf8(javax_microedition_io_File::getProgramFilesPath()), "\\Program Files");
    EXPECT_EQ(toUtf8(javax_microedition_io_File::getAppFolderPath()), "\\Program Files\\Tindrell\\Bramble Hollow Saga");
    EXPECT_EQ(toUtf8(javax_microedition_io_File::getDataArchivePath()),
              "\\Program Files\\Tindrell\\Bramble Hollow Saga\\data.bar");
    writeAppFile("rs_a.rms", {});
    auto* folder = newObject<javax_microedition_io_File>(javax_microedition_io_File::getAppFolderPath());
    EXPECT_EQ(folder->list()->size(), 0) << "no folder is read";
    EXPECT_EQ(folder->listMatching(str("rs_"), str(".rms"))->length(), 0);
}

TEST_F(FileTest, BarNamesAreFilesFirstThenArchiveEntries) {
    kit::ArchiveWriter archive;
    archive.add("levels.bar", {9, 9});
    archive.add("app.jad", {'A', ':', 'B'});
    writeArchive(archive);
    writeAppFile("levels.bar", {1, 2, 3, 4});
    writeAppFile("app.jad", {'X', ':', 'Y'});

    // A ".bar" file that exists is read as a file.
    java_io_InputStream* file = bramble::io::getResourceAsStream(String::fromLatin1(appPath("levels.bar")));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->classId(), cid::java_io_InputStream);
    EXPECT_EQ(bytesOf(javax_microedition_io_File::readStream(file)), (Bytes{1, 2, 3, 4}));

    // A ".bar" name without a file falls back to the archive.
    java_io_InputStream* entry = bramble::io::getResourceAsStream(str("/levels.bar"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->classId(), cid::javax_microedition_io_ResourceInputStream);
    EXPECT_EQ(bytesOf(javax_microedition_io_File::readStream(entry)), (Bytes{9, 9}));

    // Other names never open a file, even when one of that name exists.
    EXPECT_EQ(bytesOf(bramble::io::readResource(str("app.jad"))), (Bytes{'A', ':', 'B'}));
    EXPECT_EQ(bramble::io::getResourceAsStream(str("/missing.png")), nullptr);
    EXPECT_EQ(takeException(), 0);
}
