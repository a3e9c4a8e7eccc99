// MIDlet properties from the descriptor, and the MIDlet natives.
#include "io/midlet.h"

#include <mutex>

#include "io/file.h"
#include "io/jad.h"
#include "io/resource.h"
#include "javalib/hashtable.h"
#include "javalib/io_support.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/threads.h"

StaticsContribution g_MIDletStatics = StaticsContribution::of<MIDlet_Statics>(
    "javax_microedition_midlet_MIDlet", kClinitLibrary, nullptr, {offsetof(MIDlet_Statics, running)});

namespace {

std::mutex g_hookLock;
bramble::io::PlatformRequestHandler g_platformRequest;
bramble::io::NotifyDestroyedHandler g_notifyDestroyed;


}  // namespace

namespace bramble::io {

String* loadJadProperties() {
    ByteArray* bytes = readResource(String::fromLatin1("app.jad"));
    if (javaio::pending() || !bytes) {
        Application::clearPendingException();
        return nullptr;
    }
    std::string text(reinterpret_cast<const char*>(bytes->data()), static_cast<size_t>(bytes->length()));
    return String::fromLatin1(text);
}

void setPlatformRequestHandler(PlatformRequestHandler handler) {
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_platformRequest = std::move(handler);
}

void setNotifyDestroyedHandler(NotifyDestroyedHandler handler) {
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_notifyDestroyed = std::move(handler);
}

}  // namespace bramble::io

javax_microedition_midlet_MIDlet::javax_microedition_midlet_MIDlet(uint16_t classId) : Object(classId) {
    m_properties = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_properties});
    MethodScope scope("javax_microedition_midlet_MIDlet.<init>");
    m_properties = newObject<java_util_Hashtable>(java_util_Hashtable::kDefaultCapacity);
    String* text = bramble::io::loadJadProperties();
    if (!text || text->length() == 0) return;
    size_t dropped = 0;
    const auto pairs = bramble::io::parseJad(text->toUtf16(), &dropped);
    if (dropped)
        logPrintf("javax_microedition_midlet_MIDlet: the descriptor has more than %zu properties; %zu line(s) dropped",
                  bramble::io::kMaxJadProperties, dropped);
    for (const auto& [key, value] : pairs) {
        String* k = String::fromUtf16(key);
        String* v = String::fromUtf16(value);
        m_properties->put(k, v);
        if (javaio::pending()) return;
    }
}

String* javax_microedition_midlet_MIDlet::getAppProperty(String* key) {
    if (!key) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return nullptr;
    }
    if (key->toUtf16() == u"microedition.platform") return String::fromLatin1("windows mobile");
    if (!m_properties) return nullptr;
    return static_cast<String*>(m_properties->get(key));
}

jboolean javax_microedition_midlet_MIDlet::platformRequest(String* url) {
    if (!url) {
        rt::logNullPointer();
        return 0;
    }
    std::u16string units = url->toUtf16();
    if (units.size() > 255) units.resize(255);
    const std::string text = toUtf8(String::fromUtf16(units));
    bramble::io::PlatformRequestHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_hookLock);
        handler = g_platformRequest;
    }
    if (!handler) {
        logPrintf("javax_microedition_midlet_MIDlet::platformRequest: no browser hand-off available for %s", text.c_str());
        return 0;
    }
    BlockingRegion blocking;  // message box and browser start wait for the user and other processes
    handler(text);
    return 0;
}

void javax_microedition_midlet_MIDlet::notifyDestroyed() {
    bramble::io::NotifyDestroyedHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_hookLock);
        handler = g_notifyDestroyed;
    }
    if (handler)
        handler();
    else
        logPrintf("javax_microedition_midlet_MIDlet::notifyDestroyed: no application to end");
}

javax_microedition_midlet_MIDlet* javax_microedition_midlet_MIDlet::getRunning() {
    return statics<MIDlet_Statics>(g_MIDletStatics)->running;
}

void javax_microedition_midlet_MIDlet::setRunning(javax_microedition_midlet_MIDlet* midlet) {
    statics<MIDlet_Statics>(g_MIDletStatics)->running = midlet;
}
