// File natives and the file-backed streams over the device path layer.
#include "io/file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "javalib/io_support.h"
#include "javalib/vector.h"
#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/threads.h"

using javaio::checkRange;
using javaio::pending;
namespace pfs = platform::fs;

namespace {

// Native chunk for bulk transfers between files and Java arrays.
constexpr size_t kChunk = 64 * 1024;

pfs::File* openNative(const std::string& path, pfs::OpenMode mode) {
    pfs::File file;
    {
        BlockingRegion blocking;
        file = pfs::File::open(path, mode);
    }
    if (!file) return nullptr;
    return new pfs::File(std::move(file));
}

}  // namespace

namespace bramble::io {

std::u16string lowerCasePath(std::u16string_view path) {
    std::u16string out(path);
    for (char16_t& c : out) {
        c = static_cast<char16_t>(c & 0xFF);
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE)) c = static_cast<char16_t>(c + 32);
    }
    return out;
}

}  // namespace bramble::io

// --- FileInputStream ------------------------------------------------------------

FileInputStream::FileInputStream(pfs::File* file, int64_t size) : java_io_InputStream(cid::java_io_InputStream) {
    m_file = file;
    m_mark = 0;
    m_size = static_cast<jint>(std::clamp<int64_t>(size, 0, java::kIntMax));
    m_buffer = nullptr;
    m_bufPos = 0;
    m_bufLen = 0;
    m_filePos = 0;
}

void FileInputStream::release() {
    delete m_file;  // closes
    m_file = nullptr;
    delete[] m_buffer;
    m_buffer = nullptr;
    m_bufPos = m_bufLen = 0;
}

void FileInputStream::finalize() {
    release();
    java_io_InputStream::finalize();
}

void FileInputStream::close() {
    if (!m_file) return;
    pfs::File* file = m_file;
    m_file = nullptr;
    {
        BlockingRegion blocking;
        file->close();
        delete file;
    }
    release();
}

bool FileInputStream::refill() {
    if (!m_file) return false;
    if (!m_buffer) m_buffer = new uint8_t[kBufferSize];
    size_t got;
    {
        BlockingRegion blocking;
        got = m_file->read(m_buffer, kBufferSize);
    }
    m_bufPos = 0;
    m_bufLen = static_cast<jint>(got);
    m_filePos += static_cast<jlong>(got);
    return got > 0;
}

bool FileInputStream::seekTo(jlong target) {
    if (!m_file || target < 0) return false;
    // Inside the buffered bytes: no system call.
    const jlong bufferStart = m_filePos - m_bufLen;
    if (target >= bufferStart && target <= m_filePos) {
        m_bufPos = static_cast<jint>(target - bufferStart);
        return true;
    }
    bool ok;
    {
        BlockingRegion blocking;
        ok = m_file->seek(target, pfs::SeekFrom::Start);
    }
    if (!ok) return false;
    m_filePos = target;
    m_bufPos = m_bufLen = 0;
    return true;
}

jint FileInputStream::read() {
    if (m_bufPos >= m_bufLen && !refill()) return -1;
    return m_buffer[m_bufPos++];
}

jint FileInputStream::read(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len)) return 0;
    jint done = 0;
    // Buffered bytes first.
    if (m_bufPos < m_bufLen && len > 0) {
        const jint k = std::min(len, m_bufLen - m_bufPos);
        std::memcpy(b->data() + off, m_buffer + m_bufPos, static_cast<size_t>(k));
        m_bufPos += k;
        done = k;
    }
    if (done == len || !m_file) return done;
    // Small remainders through the buffer, large ones straight into a chunk.
    if (len - done < static_cast<jint>(kBufferSize)) {
        if (refill()) {
            const jint k = std::min(len - done, m_bufLen);
            std::memcpy(b->data() + off + done, m_buffer, static_cast<size_t>(k));
            m_bufPos = k;
            done += k;
        }
        return done;
    }
    std::unique_ptr<uint8_t[]> chunk(new uint8_t[kChunk]);
    while (done < len) {
        const size_t want = std::min(kChunk, static_cast<size_t>(len - done));
        size_t got;
        {
            BlockingRegion blocking;
            got = m_file->read(chunk.get(), want);
        }
        if (got == 0) break;
        std::memcpy(b->data() + off + done, chunk.get(), got);  // the array may have moved: fresh pointer
        m_filePos += static_cast<jlong>(got);
        done += static_cast<jint>(got);
        if (got < want) break;
    }
    return done;
}

jlong FileInputStream::skip(jlong n) {
    if (n < 1) return n;
    const jlong target = java::ladd(position(), n);
    if (target < 0 || !seekTo(target)) return 0;
    return n;
}

jint FileInputStream::available() {
    if (!m_file) return 0;
    return static_cast<jint>(std::clamp<jlong>(m_size - position(), 0, java::kIntMax));
}

void FileInputStream::mark(jint) { m_mark = static_cast<jint>(std::min<jlong>(position(), java::kIntMax)); }

void FileInputStream::reset() { seekTo(m_mark); }

// --- FileOutputStream -----------------------------------------------------------

FileOutputStream::FileOutputStream(pfs::File* file) : java_io_OutputStream(cid::java_io_OutputStream) { m_file = file; }

void FileOutputStream::finalize() {
    if (m_file) {
        if (!m_file->close()) logPrintf("FileOutputStream::finalize: data of a dropped stream could not be written");
        delete m_file;
        m_file = nullptr;
    }
    java_io_OutputStream::finalize();
}

bool FileOutputStream::writeNative(const void* data, size_t size) {
    if (!m_file) {
        rt::throwNewDefault(cid::java_io_IOException);
        return false;
    }
    bool ok;
    {
        BlockingRegion blocking;
        ok = m_file->write(data, size);
    }
    if (!ok) {
        logPrintf("FileOutputStream::write: %zu bytes could not be written", size);
        rt::throwNewDefault(cid::java_io_IOException);
    }
    return ok;
}

void FileOutputStream::write(jint b) {
    const uint8_t byte = static_cast<uint8_t>(b);
    writeNative(&byte, 1);
}

void FileOutputStream::write(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len) || len == 0) return;
    std::unique_ptr<uint8_t[]> chunk(new uint8_t[std::min(kChunk, static_cast<size_t>(len))]);
    jint done = 0;
    while (done < len) {
        const size_t k = std::min(kChunk, static_cast<size_t>(len - done));
        std::memcpy(chunk.get(), b->data() + off + done, k);  // copied out before blocking
        if (!writeNative(chunk.get(), k)) return;
        done += static_cast<jint>(k);
    }
}

void FileOutputStream::flush() {
    if (!m_file) return;
    bool ok;
    {
        BlockingRegion blocking;
        ok = m_file->flush();
    }
    if (!ok) rt::throwNewDefault(cid::java_io_IOException);
}

void FileOutputStream::close() {
    if (!m_file) return;
    pfs::File* file = m_file;
    m_file = nullptr;
    bool ok;
    {
        BlockingRegion blocking;
        ok = file->close();
        delete file;
    }
    if (!ok) {
        logPrintf("FileOutputStream::close: buffered data could not be written");
        rt::throwNewDefault(cid::java_io_IOException);
    }
}

// --- javax_microedition_io_File -----------------------------------------------

javax_microedition_io_File::javax_microedition_io_File(String* path) : Object(cid::javax_microedition_io_File) {
    m_path = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_path});
    if (!path) {
        rt::logNullPointer();
        return;
    }
    m_path = String::fromUtf16(bramble::io::lowerCasePath(path->toUtf16()));
}

std::string javax_microedition_io_File::devicePath() const { return m_path ? m_path->toLatin1() : std::string(); }

jboolean javax_microedition_io_File::exists() {
    const std::string path = devicePath();
    BlockingRegion blocking;
    return pfs::File::open(path, pfs::OpenMode::Read).isOpen() ? 1 : 0;
}

java_io_InputStream* javax_microedition_io_File::openInputStream() {
    pfs::File* file = openNative(devicePath(), pfs::OpenMode::Read);
    if (!file) return nullptr;
    int64_t size;
    {
        BlockingRegion blocking;
        size = file->size();
    }
    return newObject<FileInputStream>(file, size);
}

java_io_OutputStream* javax_microedition_io_File::openOutputStream() {
    pfs::File* file = openNative(devicePath(), pfs::OpenMode::Write);
    if (!file) return nullptr;
    return newObject<FileOutputStream>(file);
}

jint javax_microedition_io_File::length() {
    const std::string path = devicePath();
    int64_t size;
    {
        BlockingRegion blocking;
        size = pfs::fileSize(path);
    }
    return static_cast<jint>(std::clamp<int64_t>(size, 0, java::kIntMax));
}

jboolean javax_microedition_io_File::create() {
    const std::string path = devicePath();
    BlockingRegion blocking;
    pfs::File file = pfs::File::open(path, pfs::OpenMode::Write);
    return file.isOpen() && file.close() ? 1 : 0;
}

java_util_Vector* javax_microedition_io_File::list() { return newObject<java_util_Vector>(); }

ObjectArray* javax_microedition_io_File::listMatching(String* prefix, String* suffix) {
    if (!prefix || !suffix) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return nullptr;
    }
    const std::u16string head = prefix->toUtf16();
    const std::u16string tail = suffix->toUtf16();
    java_util_Vector* names = list();
    for (jint i = names->size() - 1; i >= 0; --i) {
        auto* name = static_cast<String*>(names->elementAt(i));
        const std::u16string text = name ? name->toUtf16() : std::u16string();
        const bool keep = name && text.size() >= head.size() && text.size() >= tail.size() &&
                          text.compare(0, head.size(), head) == 0 &&
                          text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
        if (!keep) names->removeElementAt(i);
    }
    ObjectArray* result = newObjectArray(cid::String, names->size());
    names->copyInto(result);
    return result;
}

ByteArray* javax_microedition_io_File::readAll() {
    java_io_InputStream* in = openInputStream();
    if (!in) return nullptr;
    ByteArray* bytes = readStream(in);
    in->close();
    return bytes;
}

String* javax_microedition_io_File::getProgramFilesPath() { return String::fromLatin1(pfs::kProgramFilesFolder); }
String* javax_microedition_io_File::getAppFolderPath() { return String::fromLatin1(pfs::kAppFolder); }
String* javax_microedition_io_File::getDataArchivePath() {
    return String::fromLatin1(std::string(pfs::kAppFolder) + "\\data.bar");
}

ByteArray* javax_microedition_io_File::readStream(java_io_InputStream* in) {
    if (!in) return nullptr;
    auto* collected = newObject<java_io_ByteArrayOutputStream>();
    ByteArray* buffer = newByteArray(512);
    while (true) {
        const jint available = in->available();
        if (pending() || available <= 0) break;
        const jint n = in->read(buffer);
        if (pending() || n <= 0) break;
        collected->write(buffer, 0, n);
    }
    return collected->toByteArray();
}
