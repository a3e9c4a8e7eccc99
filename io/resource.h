// Resources: the index of the data archive "data.bar" (loaded once, checked
// as it is read), the stream bounded to one archive entry, and the resource
// opener that tries ".bar" names as files first.
//
// The index is read natively (io/archive_index.h: layout and checks) and
// kept in the class's static arrays.
//
// Invariants:
//  - Every entry left in the index lies inside the archive file as it was
//    when the index was read. A negative or impossible count, an entry that
//    lies outside the file, or an index cut short leaves those entries out
//    (logged); their names are null and never match.
//  - A resource stream never delivers more than its entry's length; the
//    archive position is reached by a seek, not by reading.
//  - The index is loaded at the first lookup and kept for the run; the
//    archive File static is set before loading, so a failed load is not
//    retried.
//  - The index is checked (and its faults logged) once per version of the
//    archive: the resource opener, which opens the archive at every call,
//    takes an index whose bytes were read before from that reading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/file.h"
#include "runtime/statics.h"

class javax_microedition_io_ResourceInputStream : public java_io_InputStream {
public:
    javax_microedition_io_ResourceInputStream(java_io_InputStream* in, jint length);

    // The entry's stream, positioned at its first byte; null when no entry
    // matches (or the archive cannot be opened).
    static javax_microedition_io_ResourceInputStream* openFromArchive(String* name);
    // Reads the index into the statics (called by openFromArchive).
    static void loadArchiveIndex();

    // -1 at the end of the entry.
    jint read() override;
    // java_io_EOFException once the entry is used up; otherwise at most the
    // rest of the entry.
    jint read(ByteArray* b, jint off, jint len) override;
    jint read(ByteArray* b) override;
    // Never past the end of the entry; n <= 0 answers 0 and moves nothing.
    jlong skip(jlong n) override;
    jint available() override;
    void close() override;
    // Handed to the file stream; the consumed count is kept with the mark.
    void mark(jint readlimit) override;
    void reset() override;
    jboolean markSupported() override;

    java_io_InputStream* m_in;
    jint m_length;
    jint m_consumed;
    jint m_markConsumed;
};

// Static fields of javax_microedition_io_ResourceInputStream.
struct ResourceInputStream_Statics {
    javax_microedition_io_File* archiveFile;
    ObjectArray* names;  // String per entry; null for an entry left out
    IntArray* offsets;
    IntArray* lengths;
};
extern StaticsContribution g_ResourceInputStreamStatics;

namespace bramble::io {

// Class::getResourceAsStream: a name ending ".bar" opens as a file when it
// exists; every other name (and a missing ".bar" file) is looked up in the
// archive, as "<language>/<name>" first while a resource language is set.
// Null when nothing is found.
java_io_InputStream* getResourceAsStream(String* name);

// The language of localized resources (a short code such as "de"; empty:
// none, the plain names only). Set once at start-up by the shell.
void setResourceLanguage(std::string_view code);
std::string resourceLanguage();

// The whole resource, or nothing (for runtime code that wants bytes).
ByteArray* readResource(String* name);

// A resource's bytes without Java objects: a name ending ".bar" is read as
// a file when it exists, other names from the archive (read anew each
// call). False when there is no such resource. Runs the disk access inside
// a BlockingRegion when the caller is a Java thread.
bool readResourceBytes(std::string_view name, std::vector<uint8_t>& bytes);

// Makes readResourceBytes the runtime's resource reader (the string pool's
// "/constants.bin" at start-up).
void installResourceReader();

}  // namespace bramble::io
