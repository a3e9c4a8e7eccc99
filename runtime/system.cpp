// java_lang_System natives other than arraycopy (which lives with arrays).
#include "runtime/system.h"

#include <atomic>
#include <chrono>

#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/string.h"

namespace {
std::atomic<java_lang_System::PropertyLookup> g_propertyLookup{nullptr};
}  // namespace

namespace {
std::atomic<uint32_t (*)()> g_tickSource{nullptr};
}  // namespace

void java_lang_System::setTickSource(uint32_t (*source)()) { g_tickSource = source; }

jlong java_lang_System::currentTimeMillis() {
    if (uint32_t (*source)() = g_tickSource.load()) return static_cast<jlong>(source());
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<jlong>(static_cast<uint32_t>(ms));
}

String* java_lang_System::getProperty(String* key) {
    if (!key) {
        rt::logNullPointer();
        return String::fromLatin1("PROPERTY VALUE EMPTY");
    }
    if (key->equalsC("microedition.media.version")) return String::fromLatin1("1.0");
    if (PropertyLookup lookup = g_propertyLookup.load()) {
        Object* value = lookup(key);
        if (value && value->classId() == cid::String) return static_cast<String*>(value);
        if (String* text = value ? value->toString() : nullptr) return text;
    }
    return String::fromLatin1("PROPERTY VALUE EMPTY");
}

void java_lang_System::gc() {
    if (ObjectManager* om = ObjectManager::instance()) om->gc(ObjectManager::kThrottled);
}

void java_lang_System::setPropertyLookup(PropertyLookup lookup) { g_propertyLookup.store(lookup); }
