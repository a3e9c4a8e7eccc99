// Object's slots, class records and type tests.
#include "runtime/object.h"

#include <cstdio>
#include <string>

#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"

Object::Object(uint16_t classId) {
    m_classId = classId;
    m_collectable = classId == cid::java_lang_Thread ? 0 : 1;
    m_mark = 1;
}

void Object::finalize() {
    if (!hasMonitor()) return;
    if (Application* app = Application::instance()) app->monitors().release(this);
}

jboolean Object::equals(Object* other) { return other == this ? 1 : 0; }

Object* Object::clone() {
    rt::logWithStackTrace("clone");
    return nullptr;
}

String* Object::toString() {
    char text[64];
    snprintf(text, sizeof text, "Object_id=%d @0x%llx", static_cast<int16_t>(m_classId),
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this)));
    return String::fromLatin1(text);
}

jint Object::hashCode() { return static_cast<jint>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this))); }

void* Object::getInterface(jint) { return nullptr; }

bool isSubclassOf(const Class* a, const Class* b) {
    if (!a || !b) return false;
    StaticClass* statics = StaticClass::instance();
    for (int guard = 0; a && guard <= cid::kCount; ++guard) {
        if (a->m_id == b->m_id) return true;
        if (a->m_superId == cid::kNoSuper || !statics) return false;
        a = statics->classById(a->m_superId);
    }
    return false;
}

bool instanceOf(Object* object, jint classId) {
    if (!object) return false;
    if (object->getInterface(classId)) return true;
    StaticClass* statics = StaticClass::instance();
    return statics && isSubclassOf(statics->classOf(object), statics->classById(classId));
}

Class* Class::forName(String* name) {
    if (!name) {
        rt::logNullPointer();
        return nullptr;
    }
    StaticClass* statics = StaticClass::instance();
    if (!statics) return nullptr;
    // The Java name with '.' turned into '_', compared as a prefix of each
    // registry name in id order.
    std::u16string units = name->toUtf16();
    for (char16_t& u : units)
        if (u == u'.') u = u'_';
    for (int id = 0; id < cid::kCount; ++id) {
        const char* registry = statics->m_classes[id].m_name;
        if (!registry) continue;
        bool match = true;
        for (size_t i = 0; i < units.size(); ++i) {
            const jbyte b = static_cast<jbyte>(registry[i]);
            if (b == 0 || units[i] != static_cast<char16_t>(static_cast<jint>(b))) {
                match = false;
                break;
            }
        }
        if (match) return &statics->m_classes[id];
    }
    return nullptr;
}

String* Class::getName(Class* record) {
    if (!record) {
        rt::logNullPointer();
        return nullptr;
    }
    return String::fromCString(record->m_name);
}

bool Class::isInstance(Class* record, Object* object) { return record && instanceOf(object, record->m_id); }
