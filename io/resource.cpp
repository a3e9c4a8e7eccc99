// The archive index, the bounded entry stream and the resource opener.
#include "io/resource.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "io/archive_index.h"
#include "javalib/io_support.h"
#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/resource.h"
#include "runtime/string.h"
#include "runtime/threads.h"

using javaio::checkRange;
using javaio::pending;

StaticsContribution g_ResourceInputStreamStatics = StaticsContribution::of<ResourceInputStream_Statics>(
    "javax_microedition_io_ResourceInputStream", kClinitLibrary, nullptr,
    {offsetof(ResourceInputStream_Statics, archiveFile), offsetof(ResourceInputStream_Statics, names),
     offsetof(ResourceInputStream_Statics, offsets), offsetof(ResourceInputStream_Statics, lengths)});

namespace {

namespace pfs = platform::fs;

ResourceInputStream_Statics* archive() { return statics<ResourceInputStream_Statics>(g_ResourceInputStreamStatics); }

// The archive's index as last read, with the bytes it was read from. The
// resource opener reads the archive anew at every call, and the Java index
// is read once per run besides: an index whose bytes (and file length) are
// those already read is taken from here, so a damaged one is checked and
// logged once, not at every read.
struct IndexCache {
    std::mutex lock;
    std::string path;  // case folded
    int64_t fileSize = -1;
    std::vector<uint8_t> bytes;
    std::shared_ptr<const bramble::io::ArchiveIndex> index;
};

IndexCache& indexCache() {
    static IndexCache* cache = new IndexCache();  // lives to the end of the process
    return *cache;
}

// The index of the open archive at `path`; the file's position afterwards is
// unspecified.
std::shared_ptr<const bramble::io::ArchiveIndex> archiveIndexOf(const std::string& path, pfs::File& file) {
    IndexCache& c = indexCache();
    std::lock_guard<std::mutex> guard(c.lock);
    const int64_t size = file.size();
    const std::string key = pfs::foldCase(path);  // device paths name files without regard to case
    if (c.index && c.path == key && c.fileSize == size && file.seek(0, pfs::SeekFrom::Start)) {
        std::vector<uint8_t> now(c.bytes.size());
        if (file.read(now.data(), now.size()) == now.size() && now == c.bytes) return c.index;
    }
    std::vector<uint8_t> seen;
    bramble::io::ArchiveReadFn read = [&](uint8_t* buffer, size_t n) {
        const size_t got = file.read(buffer, n);
        seen.insert(seen.end(), buffer, buffer + got);
        return got;
    };
    if (!file.seek(0, pfs::SeekFrom::Start)) seen.clear();
    auto index = std::make_shared<const bramble::io::ArchiveIndex>(bramble::io::readArchiveIndex(read, size));
    c.path = key;
    c.fileSize = size;
    c.bytes = std::move(seen);
    c.index = index;
    return index;
}

std::string printable(String* s) {
    std::string text = toUtf8(s);
    if (text.size() > 80) text = text.substr(0, 80) + "...";
    return text;
}

}  // namespace

// --- the index ---------------------------------------------------------------------

void javax_microedition_io_ResourceInputStream::loadArchiveIndex() {
    MethodScope scope("javax_microedition_io_ResourceInputStream.loadArchiveIndex");
    auto* file = newObject<javax_microedition_io_File>(javax_microedition_io_File::getDataArchivePath());
    archive()->archiveFile = file;
    const std::string path = file->devicePath();
    std::shared_ptr<const bramble::io::ArchiveIndex> read;
    {
        BlockingRegion blocking;  // the index is read natively; no Java object is touched here
        pfs::File in = pfs::File::open(path, pfs::OpenMode::Read);
        if (in.isOpen()) read = archiveIndexOf(path, in);
    }
    if (!read) {
        logPrintf("ResourceInputStream::loadArchiveIndex: cannot open the archive %s", path.c_str());
        return;
    }
    const bramble::io::ArchiveIndex& index = *read;
    const jint count = static_cast<jint>(index.entries.size());
    archive()->names = newObjectArray(cid::String, count);
    archive()->offsets = newIntArray(count);
    archive()->lengths = newIntArray(count);
    for (jint i = 0; i < count; ++i) {
        const bramble::io::ArchiveIndexEntry& e = index.entries[static_cast<size_t>(i)];
        if (!e.present) continue;  // left out: its name stays null
        String* name = String::fromUtf16(e.name);
        archive()->names->data()[i] = name;
        archive()->offsets->data()[i] = e.offset;
        archive()->lengths->data()[i] = e.length;
    }
}

javax_microedition_io_ResourceInputStream* javax_microedition_io_ResourceInputStream::openFromArchive(String* name) {
    MethodScope scope("javax_microedition_io_ResourceInputStream.openFromArchive");
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    if (!archive()->archiveFile) loadArchiveIndex();
    ObjectArray* names = archive()->names;
    if (!names || names->length() < 1) return nullptr;

    const std::u16string request = name->toUtf16();
    jint found = -1;
    for (jint i = 0; i < names->length(); ++i) {
        auto* entry = static_cast<String*>(names->data()[i]);
        if (!entry) continue;
        const std::u16string_view entryName(reinterpret_cast<const char16_t*>(entry->chars()),
                                            static_cast<size_t>(entry->length()));
        if (bramble::io::archiveNameMatches(entryName, request)) {
            found = i;
            break;
        }
    }
    if (found < 0) return nullptr;
    const jint offset = archive()->offsets->data()[found];
    const jint entryLength = archive()->lengths->data()[found];

    java_io_InputStream* in = archive()->archiveFile->openInputStream();
    if (!in) {
        logPrintf("ResourceInputStream::openFromArchive: cannot open the archive for \"%s\"", printable(name).c_str());
        return nullptr;
    }
    const jlong skipped = in->skip(static_cast<jlong>(offset));
    if (pending()) return nullptr;
    if (skipped != offset) {
        logPrintf("ResourceInputStream::openFromArchive: cannot reach offset %d of \"%s\"", offset, printable(name).c_str());
        in->close();
        return nullptr;
    }
    return newObject<javax_microedition_io_ResourceInputStream>(in, entryLength);
}

// --- the entry stream -----------------------------------------------------------

javax_microedition_io_ResourceInputStream::javax_microedition_io_ResourceInputStream(java_io_InputStream* in, jint length)
    : java_io_InputStream(cid::javax_microedition_io_ResourceInputStream) {
    m_in = in;
    m_length = length;
    m_consumed = 0;
    m_markConsumed = 0;
    StaticClass::setRefFieldOffsets(this, {&m_in});
}

jint javax_microedition_io_ResourceInputStream::read() {
    if (m_consumed >= m_length) return -1;
    ++m_consumed;
    return m_in->read();
}

jint javax_microedition_io_ResourceInputStream::read(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len)) return 0;
    if (m_consumed >= m_length) {
        rt::throwNewDefault(cid::java_io_EOFException);
        return 0;
    }
    const jint k = std::min(len, m_length - m_consumed);
    const jint got = m_in->read(b, off, k);
    if (pending()) return 0;
    m_consumed += std::clamp(got, 0, k);
    return got;
}

jint javax_microedition_io_ResourceInputStream::read(ByteArray* b) {
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return 0;
    }
    return read(b, 0, b->length());
}

jlong javax_microedition_io_ResourceInputStream::skip(jlong n) {
    if (n <= 0) return 0;
    n = std::min<jlong>(n, m_length - m_consumed);
    if (n <= 0) return 0;
    const jlong got = m_in->skip(n);
    if (pending()) return 0;
    m_consumed += static_cast<jint>(std::clamp<jlong>(got, 0, n));
    return got;
}

jint javax_microedition_io_ResourceInputStream::available() { return m_length - m_consumed; }

void javax_microedition_io_ResourceInputStream::close() { m_in->close(); }

void javax_microedition_io_ResourceInputStream::mark(jint readlimit) {
    m_in->mark(readlimit);
    m_markConsumed = m_consumed;
}

void javax_microedition_io_ResourceInputStream::reset() {
    m_in->reset();
    if (!pending()) m_consumed = m_markConsumed;
}

jboolean javax_microedition_io_ResourceInputStream::markSupported() { return m_in->markSupported(); }

// --- the resource opener -----------------------------------------------------------

namespace bramble::io {

namespace {

bool readWholeFile(pfs::File& file, std::vector<uint8_t>& bytes, int64_t offset, int64_t length) {
    if (!file.seek(offset, pfs::SeekFrom::Start)) return false;
    bytes.resize(static_cast<size_t>(length));
    return file.read(bytes.data(), bytes.size()) == bytes.size();
}

bool readResourceNative(std::string_view name, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (name.size() >= 4 && name.substr(name.size() - 4) == ".bar") {
        std::string lower(name);
        for (char& c : lower)
            if ((c >= 'A' && c <= 'Z') || (static_cast<uint8_t>(c) >= 0xC0 && static_cast<uint8_t>(c) <= 0xDE)) c = static_cast<char>(c + 32);
        pfs::File file = pfs::File::open(lower, pfs::OpenMode::Read);
        if (file) {
            const int64_t size = file.size();
            return size >= 0 && readWholeFile(file, bytes, 0, size);
        }
    }
    const std::string archivePath = std::string(pfs::kAppFolder) + "\\data.bar";
    pfs::File archive = pfs::File::open(archivePath, pfs::OpenMode::Read);
    if (!archive) {
        logPrintf("ResourceInputStream::loadArchiveIndex: cannot open the archive %s", archivePath.c_str());
        return false;
    }
    const std::shared_ptr<const ArchiveIndex> cached = archiveIndexOf(archivePath, archive);
    const ArchiveIndex& index = *cached;
    std::u16string request;
    for (char c : name) request.push_back(static_cast<unsigned char>(c));
    const int found = findArchiveEntry(index, request);
    if (found < 0) return false;
    const ArchiveIndexEntry& e = index.entries[static_cast<size_t>(found)];
    if (!readWholeFile(archive, bytes, e.offset, e.length)) {
        logPrintf("ResourceInputStream: entry \"%s\" could not be read whole", printableName(e.name).c_str());
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

bool readResourceBytes(std::string_view name, std::vector<uint8_t>& bytes) {
    BlockingRegion blocking;  // touches no Java object
    return readResourceNative(name, bytes);
}

void installResourceReader() {
    rt::setResourceReader([](const char* name, std::vector<uint8_t>& bytes) {
        return name && readResourceBytes(name, bytes);
    });
}

java_io_InputStream* getResourceAsStream(String* name) {
    MethodScope scope("Class::getResourceAsStream");
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    const std::u16string text = name->toUtf16();
    static const std::u16string kBar = u".bar";
    if (text.size() >= kBar.size() && text.compare(text.size() - kBar.size(), kBar.size(), kBar) == 0) {
        auto* file = newObject<javax_microedition_io_File>(name);
        if (java_io_InputStream* in = file->openInputStream()) return in;
    }
    const std::string language = resourceLanguage();
    if (!language.empty()) {
        std::u16string localized(language.begin(), language.end());  // an ASCII code
        localized += u'/';
        localized += text.size() && text[0] == u'/' ? text.substr(1) : text;
        String* localizedName = String::fromUtf16(localized);
        if (auto* in = javax_microedition_io_ResourceInputStream::openFromArchive(localizedName)) return in;
    }
    return javax_microedition_io_ResourceInputStream::openFromArchive(name);
}

namespace {
std::mutex g_languageLock;
std::string g_language;
}  // namespace

void setResourceLanguage(std::string_view code) {
    std::lock_guard<std::mutex> lock(g_languageLock);
    g_language.assign(code);
}

std::string resourceLanguage() {
    std::lock_guard<std::mutex> lock(g_languageLock);
    return g_language;
}

ByteArray* readResource(String* name) {
    java_io_InputStream* in = getResourceAsStream(name);
    if (!in) return nullptr;
    ByteArray* bytes = javax_microedition_io_File::readStream(in);
    in->close();
    return bytes;
}

}  // namespace bramble::io
