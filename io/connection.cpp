// Connector's static operations and the file connection.
#include "io/connection.h"

#include <mutex>
#include <string>

#include "io/file.h"
#include "javalib/inputstreams.h"
#include "javalib/io_support.h"
#include "javalib/outputstreams.h"
#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace pfs = platform::fs;
using javaio::pending;

namespace {

std::mutex g_openerLock;
bramble::io::ConnectionOpener g_opener;

std::string deviceText(String* s) { return s ? s->toLatin1() : std::string(); }

}  // namespace

namespace bramble::io {
void setConnectionOpener(ConnectionOpener opener) {
    std::lock_guard<std::mutex> lock(g_openerLock);
    g_opener = std::move(opener);
}
}  // namespace bramble::io

// --- Connector ------------------------------------------------------------------

Object* javax_microedition_io_Connector::open(String* name) { return open(name, READ_WRITE); }

Object* javax_microedition_io_Connector::open(String* name, jint mode) {
    bramble::io::ConnectionOpener opener;
    {
        std::lock_guard<std::mutex> lock(g_openerLock);
        opener = g_opener;
    }
    if (!opener) {
        logPrintf("javax_microedition_io_Connector::open: no connections available for %s", toUtf8(name).c_str());
        return nullptr;
    }
    return opener(name, mode, 0);
}

java_io_DataInputStream* javax_microedition_io_Connector::openDataInputStream(String* name) {
    Object* c = open(name, READ);
    if (pending()) return nullptr;
    auto* in = interfaceOf<javax_microedition_io_InputConnection>(c, cid::javax_microedition_io_InputConnection);
    if (!in) {
        rt::logNullPointer();
        return nullptr;
    }
    return in->openDataInputStream();
}

java_io_InputStream* javax_microedition_io_Connector::openInputStream(String* name) { return openDataInputStream(name); }

java_io_DataOutputStream* javax_microedition_io_Connector::openDataOutputStream(String* name) {
    Object* c = open(name, WRITE);
    if (pending()) return nullptr;
    auto* out = interfaceOf<javax_microedition_io_OutputConnection>(c, cid::javax_microedition_io_OutputConnection);
    if (!out) {
        rt::logNullPointer();
        return nullptr;
    }
    return out->openDataOutputStream();
}

java_io_OutputStream* javax_microedition_io_Connector::openOutputStream(String* name) { return openDataOutputStream(name); }

// --- FileConnectionImpl -----------------------------------------------------------

javax_microedition_io_file_FileConnectionImpl* javax_microedition_io_file_FileConnectionImpl::open(String* url, jint mode,
                                                                                                  jboolean timeouts) {
    return newObject<javax_microedition_io_file_FileConnectionImpl>(url, mode, timeouts);
}

javax_microedition_io_file_FileConnectionImpl::javax_microedition_io_file_FileConnectionImpl(String* url, jint mode,
                                                                                             jboolean timeouts)
    : Object(cid::javax_microedition_io_file_FileConnectionImpl) {
    m_spare = m_parentPath = m_fullPath = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_spare, &m_parentPath, &m_fullPath});
    m_mode = mode;
    m_timeouts = timeouts;
    if (!url) {
        rt::logNullPointer();
        return;
    }
    const std::u16string text = url->toUtf16();
    static const std::u16string kPrefix = u"file:///";
    if (text.compare(0, kPrefix.size(), kPrefix) != 0) {
        m_fullPath = url;
        return;
    }
    // From the second slash of "file:///" on, '/' turned into '\'.
    const std::string appFolder(pfs::kAppFolder);
    std::string rest;
    for (size_t i = kPrefix.size() - 2; i < text.size(); ++i) rest.push_back(text[i] == u'/' ? '\\' : char(text[i] & 0xFF));
    // Every folder on the way exists after opening.
    for (size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] != '\\') continue;
        const std::string parent = appFolder + rest.substr(0, i);
        m_parentPath = String::fromLatin1(parent);
        BlockingRegion blocking;
        pfs::makeFolder(parent);
    }
    m_fullPath = String::fromLatin1(appFolder + rest);
}

void* javax_microedition_io_file_FileConnectionImpl::getInterface(jint interfaceId) {
    if (interfaceId == cid::javax_microedition_io_file_FileConnection)
        return static_cast<javax_microedition_io_file_FileConnection*>(this);
    if (interfaceId == cid::javax_microedition_io_Connection)
        return static_cast<javax_microedition_io_Connection*>(static_cast<javax_microedition_io_file_FileConnection*>(this));
    return nullptr;
}

void javax_microedition_io_file_FileConnectionImpl::close() { m_spare = m_parentPath = m_fullPath = nullptr; }

java_io_InputStream* javax_microedition_io_file_FileConnectionImpl::openInputStream() {
    const std::string path = deviceText(m_fullPath);
    pfs::File file;
    int64_t size = 0;
    {
        BlockingRegion blocking;
        file = pfs::File::open(path, pfs::OpenMode::Read);
        if (file) size = file.size();
    }
    if (!file) {
        rt::throwNewDefault(cid::java_io_IOException);
        return nullptr;
    }
    return newObject<FileInputStream>(new pfs::File(std::move(file)), size);
}

java_io_DataInputStream* javax_microedition_io_file_FileConnectionImpl::openDataInputStream() {
    java_io_InputStream* in = openInputStream();
    if (!in) return nullptr;
    return newObject<java_io_DataInputStream>(in);
}

java_io_OutputStream* javax_microedition_io_file_FileConnectionImpl::openOutput(jlong byteOffset) {
    if (byteOffset < 0) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return nullptr;
    }
    const std::string path = deviceText(m_fullPath);
    pfs::File file;
    bool placed = false;
    {
        BlockingRegion blocking;
        file = pfs::File::open(path, pfs::OpenMode::Update);
        if (file) {
            const int64_t size = file.size();
            placed = size >= 0 && file.seek(byteOffset < size ? byteOffset : size, pfs::SeekFrom::Start);
        }
    }
    if (!file || !placed) {
        rt::throwNewDefault(cid::java_io_IOException);
        return nullptr;
    }
    return newObject<FileOutputStream>(new pfs::File(std::move(file)));
}

java_io_OutputStream* javax_microedition_io_file_FileConnectionImpl::openOutputStream() { return openOutput(0); }

java_io_OutputStream* javax_microedition_io_file_FileConnectionImpl::openOutputStream(jlong byteOffset) {
    return openOutput(byteOffset);
}

java_io_DataOutputStream* javax_microedition_io_file_FileConnectionImpl::openDataOutputStream() {
    java_io_OutputStream* out = openOutput(0);
    if (!out) return nullptr;
    return newObject<java_io_DataOutputStream>(out);
}

jlong javax_microedition_io_file_FileConnectionImpl::fileSize() {
    const std::string path = deviceText(m_fullPath);
    BlockingRegion blocking;
    return pfs::fileSize(path);
}

Object* javax_microedition_io_file_FileConnectionImpl::list() { return newObject<Object>(cid::Object); }

Object* javax_microedition_io_file_FileConnectionImpl::list(String*, jboolean) { return newObject<Object>(cid::Object); }

void javax_microedition_io_file_FileConnectionImpl::create() {
    const std::string path = deviceText(m_fullPath);
    bool ok;
    {
        BlockingRegion blocking;
        pfs::File file = pfs::File::open(path, pfs::OpenMode::Write);
        ok = file.isOpen() && file.close();
    }
    if (!ok) rt::throwNewDefault(cid::java_io_IOException);
}

void javax_microedition_io_file_FileConnectionImpl::mkdir() {
    if (!m_parentPath) return;
    const std::string path = deviceText(m_parentPath);
    BlockingRegion blocking;
    pfs::makeFolder(path);
}

jboolean javax_microedition_io_file_FileConnectionImpl::exists() {
    const std::string path = deviceText(m_fullPath);
    BlockingRegion blocking;
    return pfs::File::open(path, pfs::OpenMode::Read).isOpen() ? 1 : 0;
}

void javax_microedition_io_file_FileConnectionImpl::fileDelete() {
    const std::string path = deviceText(m_fullPath);
    bool ok;
    {
        BlockingRegion blocking;
        ok = !path.empty() && !pfs::isFolder(path) && pfs::remove(path);
    }
    if (!ok) {
        logPrintf("FileConnectionImpl::delete: cannot delete %s", path.c_str());
        rt::throwNewDefault(cid::java_io_IOException);
    }
}

void javax_microedition_io_file_FileConnectionImpl::rename(String* newName) {
    if (!newName) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    const std::string name = newName->toLatin1();
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return;
    }
    const std::string path = deviceText(m_fullPath);
    const size_t cut = path.find_last_of('\\');
    const std::string target = (cut == std::string::npos ? std::string() : path.substr(0, cut + 1)) + name;
    bool ok;
    {
        BlockingRegion blocking;
        ok = !path.empty() && pfs::exists(path) && !pfs::exists(target) && pfs::rename(path, target);
    }
    if (!ok) {
        logPrintf("FileConnectionImpl::rename: cannot rename %s to %s", path.c_str(), name.c_str());
        rt::throwNewDefault(cid::java_io_IOException);
        return;
    }
    m_fullPath = String::fromLatin1(target);
}

void javax_microedition_io_file_FileConnectionImpl::truncate(jlong byteOffset) {
    if (byteOffset < 0) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return;
    }
    const std::string path = deviceText(m_fullPath);
    bool ok;
    {
        BlockingRegion blocking;
        const int64_t size = pfs::fileSize(path);
        ok = size >= 0 && (byteOffset >= size || pfs::truncate(path, byteOffset));
    }
    if (!ok) {
        logPrintf("FileConnectionImpl::truncate: cannot truncate %s", path.c_str());
        rt::throwNewDefault(cid::java_io_IOException);
    }
}
