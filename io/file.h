// The runtime's file class and its natives: javax_microedition_io_File (a
// lower-cased device path), the two file-backed streams it opens, the
// device folder paths, and readStream (a whole stream into a byte array).
//
// Every path goes through the device path layer (platform/fs), so nothing
// outside the device root is ever touched. Every call that reaches the disk
// runs inside a BlockingRegion: data is read into native buffers and copied
// into Java arrays afterwards, never while the collector may run.
//
// Invariants:
//  - A FileInputStream keeps its logical position inside [0, size] as far
//    as reads go (skip may seek past the end, as the C library allows); its
//    read-ahead buffer is native memory freed by close or finalize.
//  - A FileOutputStream never reports success for bytes that did not reach
//    the file: a short write, a failing flush or close raises
//    java_io_IOException.
#pragma once

#include <cstdint>
#include <string>

#include "javalib/inputstreams.h"
#include "javalib/outputstreams.h"

namespace platform::fs {
class File;
}

class java_util_Vector;

// File input stream (class id 21): what File.openInputStream hands out.
class FileInputStream : public java_io_InputStream {
public:
    static constexpr size_t kBufferSize = 8192;

    // Takes the open file (positioned at its start) and its size.
    FileInputStream(platform::fs::File* file, int64_t size);

    void finalize() override;  // closes
    // Up to len bytes; 0 at the end of the file (never -1).
    jint read(ByteArray* b, jint off, jint len) override;
    using java_io_InputStream::read;
    jint read() override;  // -1 at the end
    // n < 1 does nothing and answers n; else moves the position by n
    // (a seek, never a read) and answers n, or 0 when the seek fails.
    jlong skip(jlong n) override;
    jint available() override;  // size - position, never negative
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    jboolean markSupported() override { return 1; }

    jlong position() const { return m_filePos - (m_bufLen - m_bufPos); }
    jint size() const { return m_size; }

    platform::fs::File* m_file;
    jint m_mark;
    jint m_size;

private:
    bool refill();
    bool seekTo(jlong position);
    void release();

    uint8_t* m_buffer;
    jint m_bufPos;
    jint m_bufLen;
    jlong m_filePos;  // file position at the end of the buffered bytes
};

// File output stream (class id 23).
class FileOutputStream : public java_io_OutputStream {
public:
    explicit FileOutputStream(platform::fs::File* file);

    void finalize() override;  // closes; a failure can only be logged here
    void close() override;     // java_io_IOException when buffered data could not be written
    void flush() override;     // hands buffered bytes to the system; IOException on failure
    void write(jint b) override;
    void write(ByteArray* b, jint off, jint len) override;
    using java_io_OutputStream::write;

    platform::fs::File* m_file;

private:
    bool writeNative(const void* data, size_t size);
};

class javax_microedition_io_File : public Object {
public:
    // Stores the path lower-cased, every character cut to its low byte.
    explicit javax_microedition_io_File(String* path);

    // Slot 6: the file opens for reading.
    virtual jboolean exists();

    // A FileInputStream, or null when the file does not open.
    java_io_InputStream* openInputStream();
    // Creates or truncates; a FileOutputStream, or null.
    java_io_OutputStream* openOutputStream();
    // Length in bytes; 0 when the file does not open.
    jint length();
    // Creates or truncates an empty file; 1 on success.
    jboolean create();
    // The names in the folder (nothing is listed: always an empty Vector).
    java_util_Vector* list();
    // list() without the names that lack prefix or suffix, as an array.
    ObjectArray* listMatching(String* prefix, String* suffix);
    // The whole file, or null.
    ByteArray* readAll();

    // Device folders, each a new String.
    static String* getProgramFilesPath();
    static String* getAppFolderPath();
    static String* getDataArchivePath();

    // Every byte the stream reports available, read in 512-byte steps; null
    // for a null stream.
    static ByteArray* readStream(java_io_InputStream* in);

    // The device path the natives open (the path's low bytes).
    std::string devicePath() const;

    String* m_path;
};

namespace bramble::io {
// Lower-cases the way the File constructor does: each unit cut to its low
// byte, 'A'-'Z' and 0xC0-0xDE raised by 32.
std::u16string lowerCasePath(std::u16string_view path);
}  // namespace bramble::io
