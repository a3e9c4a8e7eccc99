// The archive index, the bounded entry stream and the resource opener.
#include "io/resource.h"

#include <algorithm>
#include <string>

#include "javalib/io_support.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"

using javaio::checkRange;
using javaio::pending;

StaticsContribution g_ResourceInputStreamStatics = StaticsContribution::of<ResourceInputStream_Statics>(
    "javax_microedition_io_ResourceInputStream", kClinitLibrary, nullptr,
    {offsetof(ResourceInputStream_Statics, archiveFile), offsetof(ResourceInputStream_Statics, names),
     offsetof(ResourceInputStream_Statics, offsets), offsetof(ResourceInputStream_Statics, lengths)});

namespace {

ResourceInputStream_Statics* archive() { return statics<ResourceInputStream_Statics>(g_ResourceInputStreamStatics); }

// Smallest index entry: empty name (2), offset (4), length (4).
constexpr jint kMinEntryBytes = 10;

uint32_t foldUpper(uint32_t b) { return ((b >= 97 && b <= 122) || (b >= 224 && b <= 254)) ? b - 32 : b; }
uint32_t foldLower(uint32_t b) { return ((b >= 65 && b <= 90) || (b >= 192 && b <= 222)) ? b + 32 : b; }

// regionMatches(ignoreCase) over the whole of both names: equal lengths,
// and units equal or equal after folding their low bytes.
bool nameMatches(const String* entry, const jchar* request, jint length) {
    if (entry->length() != length) return false;
    const jchar* e = entry->chars();
    for (jint i = 0; i < length; ++i) {
        const uint32_t a = e[i], b = request[i];
        if (a == b) continue;
        const uint32_t la = a & 0xFF, lb = b & 0xFF;
        if (foldUpper(la) == foldUpper(lb) || foldLower(la) == foldLower(lb)) continue;
        return false;
    }
    return true;
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
    auto* in = static_cast<FileInputStream*>(file->openInputStream());
    if (!in) {
        logPrintf("ResourceInputStream::loadArchiveIndex: cannot open the archive %s", file->devicePath().c_str());
        return;
    }
    const jint fileSize = in->size();
    auto* data = newObject<java_io_DataInputStream>(in);

    jint count = data->readShort();
    if (pending()) {
        logPrintf("ResourceInputStream::loadArchiveIndex: the archive (%d bytes) has no entry count", fileSize);
        Application::clearPendingException();
        in->close();
        count = 0;
    } else if (count < 0) {
        logPrintf("ResourceInputStream::loadArchiveIndex: negative entry count %d; the archive is treated as empty", count);
        count = 0;
    } else if (count > (fileSize - 2) / kMinEntryBytes) {
        const jint fits = std::max(0, (fileSize - 2) / kMinEntryBytes);
        logPrintf("ResourceInputStream::loadArchiveIndex: entry count %d cannot fit in %d bytes; reading at most %d",
                  count, fileSize, fits);
        count = fits;
    }

    archive()->names = newObjectArray(cid::String, count);
    archive()->offsets = newIntArray(count);
    archive()->lengths = newIntArray(count);

    for (jint i = 0; i < count; ++i) {
        String* name = data->readUTF();
        const jint offset = pending() ? 0 : data->readInt();
        const jint length = pending() ? 0 : data->readInt();
        if (pending()) {
            logPrintf("ResourceInputStream::loadArchiveIndex: the index ends inside entry %d of %d; the rest is left out",
                      i, count);
            Application::clearPendingException();
            break;
        }
        if (offset < 0 || length < 0 || static_cast<int64_t>(offset) + length > fileSize) {
            logPrintf("ResourceInputStream::loadArchiveIndex: entry %d \"%s\" (offset %d, length %d) lies outside the "
                      "archive of %d bytes; left out",
                      i, printable(name).c_str(), offset, length, fileSize);
            continue;
        }
        archive()->names->data()[i] = name;
        archive()->offsets->data()[i] = offset;
        archive()->lengths->data()[i] = length;
    }
    data->close();
    Application::clearPendingException();
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
    const jint slash = !request.empty() && request[0] == u'/' ? 1 : 0;
    const jint length = static_cast<jint>(request.size()) - slash;
    const jchar* wanted = reinterpret_cast<const jchar*>(request.data()) + slash;
    jint found = -1;
    for (jint i = 0; i < names->length(); ++i) {
        auto* entry = static_cast<String*>(names->data()[i]);
        if (entry && nameMatches(entry, wanted, length)) {
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
    return javax_microedition_io_ResourceInputStream::openFromArchive(name);
}

ByteArray* readResource(String* name) {
    java_io_InputStream* in = getResourceAsStream(name);
    if (!in) return nullptr;
    ByteArray* bytes = javax_microedition_io_File::readStream(in);
    in->close();
    return bytes;
}

}  // namespace bramble::io
