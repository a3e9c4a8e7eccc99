// java.util.Hashtable, its entries and its enumerator. Keys' hashCode and
// equals may run Java code that allocates, so bucket-array elements are
// always read through the array again, never through a kept pointer.
#include "javalib/hashtable.h"

#include <string>

#include "javalib/synchronized.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/statics.h"
#include "runtime/string.h"

namespace {

java_util_HashtableEntry* bucketHead(ObjectArray* table, jint i) {
    return static_cast<java_util_HashtableEntry*>(table->data()[i]);
}

void appendText(std::u16string& out, String* s) {
    if (s) out += s->toUtf16();
    else out += u"null";
}

void appendConstant(std::u16string& out, jint index) {
    if (String* s = StaticClass::getStringConstant(index)) out += s->toUtf16();
}

}  // namespace

java_util_HashtableEntry::java_util_HashtableEntry(jint hash, Object* key, Object* value,
                                                   java_util_HashtableEntry* next)
    : Object(cid::java_util_HashtableEntry) {
    StaticClass::setRefFieldOffsets(this, {&m_key, &m_value, &m_next});
    m_hash = hash;
    m_key = key;
    m_value = value;
    m_next = next;
}

// --- Hashtable -------------------------------------------------------------

java_util_Hashtable::java_util_Hashtable(jint initialCapacity) : Object(cid::java_util_Hashtable) {
    m_table = nullptr;
    m_count = 0;
    m_threshold = 0;
    StaticClass::setRefFieldOffsets(this, {&m_table});
    if (initialCapacity < 0) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return;
    }
    if (initialCapacity == 0) initialCapacity = 1;
    ObjectArray* table = newObjectArray(cid::java_util_HashtableEntry, initialCapacity);
    if (table->length() != initialCapacity) {
        // No room for the buckets (the array logged why): the table stays
        // without any, and every operation answers as for an empty one.
        rt::throwNewDefault(cid::java_lang_OutOfMemoryError);
        return;
    }
    m_table = table;
    m_threshold = static_cast<jint>(static_cast<jlong>(initialCapacity) * 75 / 100);
}

jint java_util_Hashtable::size() { return m_count; }

jboolean java_util_Hashtable::isEmpty() { return m_count == 0 ? 1 : 0; }

java_util_HashtableEntry* java_util_Hashtable::find(Object* key, jint hash) {
    for (java_util_HashtableEntry* e = bucketHead(m_table, bucketOf(hash)); e; e = e->m_next)
        if (e->m_hash == hash && e->m_key && e->m_key->equals(key)) return e;
    return nullptr;
}

Object* java_util_Hashtable::get(Object* key) {
    JavaMonitorScope lock(this);
    if (!key) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return nullptr;
    }
    if (!m_table) return nullptr;
    java_util_HashtableEntry* e = find(key, key->hashCode());
    return e ? e->m_value : nullptr;
}

jboolean java_util_Hashtable::containsKey(Object* key) {
    JavaMonitorScope lock(this);
    if (!key) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return 0;
    }
    if (!m_table) return 0;
    return find(key, key->hashCode()) ? 1 : 0;
}

jboolean java_util_Hashtable::contains(Object* value) {
    JavaMonitorScope lock(this);
    if (!value) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return 0;
    }
    if (!m_table) return 0;
    for (jint i = m_table->length() - 1; i >= 0; --i)
        for (java_util_HashtableEntry* e = bucketHead(m_table, i); e; e = e->m_next)
            if (e->m_value && e->m_value->equals(value)) return 1;
    return 0;
}

Object* java_util_Hashtable::put(Object* key, Object* value) {
    for (;;) {
        JavaMonitorScope lock(this);
        if (!value || !key) {
            rt::throwNewDefault(cid::java_lang_NullPointerException);
            return nullptr;
        }
        if (!m_table) return nullptr;  // construction failed
        const jint hash = key->hashCode();
        if (java_util_HashtableEntry* e = find(key, hash)) {
            Object* old = e->m_value;
            e->m_value = value;
            return old;
        }
        if (m_count >= m_threshold) {
            if (!rehash()) return nullptr;  // OutOfMemoryError pending, nothing put
            continue;  // monitor released, the insertion starts again
        }
        // The entry is made before the bucket is read: the allocation may
        // move the bucket array's storage.
        auto* entry = newObject<java_util_HashtableEntry>(hash, key, value, nullptr);
        const jint index = bucketOf(hash);
        entry->m_next = bucketHead(m_table, index);
        m_table->data()[index] = entry;
        ++m_count;
        return nullptr;
    }
}

bool java_util_Hashtable::rehash() {
    ObjectArray* old = m_table;
    const jint oldCapacity = old->length();
    const jint capacity = java::iadd(java::imul(oldCapacity, 2), 1);
    ObjectArray* fresh = capacity > oldCapacity ? newObjectArray(cid::java_util_HashtableEntry, capacity) : nullptr;
    if (!fresh || fresh->length() != capacity) {
        // No larger bucket array: the entries stay where they are.
        rt::throwNewDefault(cid::java_lang_OutOfMemoryError);
        return false;
    }
    m_threshold = static_cast<jint>(static_cast<jlong>(capacity) * 75 / 100);
    m_table = fresh;
    for (jint i = oldCapacity - 1; i >= 0; --i) {
        java_util_HashtableEntry* e = bucketHead(old, i);
        while (e) {
            java_util_HashtableEntry* next = e->m_next;
            const jint index = bucketOf(e->m_hash);
            e->m_next = bucketHead(fresh, index);
            fresh->data()[index] = e;
            e = next;
        }
    }
    return true;
}

Object* java_util_Hashtable::remove(Object* key) {
    JavaMonitorScope lock(this);
    if (!key) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return nullptr;
    }
    if (!m_table) return nullptr;
    const jint hash = key->hashCode();
    const jint index = bucketOf(hash);
    java_util_HashtableEntry* prev = nullptr;
    for (java_util_HashtableEntry* e = bucketHead(m_table, index); e; prev = e, e = e->m_next) {
        if (e->m_hash != hash || !e->m_key || !e->m_key->equals(key)) continue;
        if (prev) prev->m_next = e->m_next;
        else m_table->data()[index] = e->m_next;
        --m_count;
        return e->m_value;
    }
    return nullptr;
}

void java_util_Hashtable::clear() {
    JavaMonitorScope lock(this);
    if (m_table)
        for (jint i = m_table->length() - 1; i >= 0; --i) m_table->data()[i] = nullptr;
    m_count = 0;
}

Object* java_util_Hashtable::keys() {
    JavaMonitorScope lock(this);
    return newObject<java_util_Hashtable_HashtableEnumerator>(this, m_table, true);
}

Object* java_util_Hashtable::elements() {
    JavaMonitorScope lock(this);
    return newObject<java_util_Hashtable_HashtableEnumerator>(this, m_table, false);
}

String* java_util_Hashtable::toString() {
    JavaMonitorScope lock(this);
    const jint max = size() - 1;
    Object* keyEnum = keys();
    Object* valueEnum = elements();
    auto* k = interfaceOf<java_util_Enumeration>(keyEnum, cid::java_util_Enumeration);
    auto* v = interfaceOf<java_util_Enumeration>(valueEnum, cid::java_util_Enumeration);
    std::u16string text;
    appendConstant(text, 162);
    for (jint i = 0; i <= max; ++i) {
        Object* key = k->nextElement();
        if (Application::checkException(0)) return nullptr;
        Object* value = v->nextElement();
        if (Application::checkException(0)) return nullptr;
        appendText(text, key ? key->toString() : nullptr);
        appendConstant(text, 14);
        appendText(text, value ? value->toString() : nullptr);
        if (i < max) appendConstant(text, 163);
    }
    appendConstant(text, 164);
    return String::fromUtf16(text);
}

// --- enumerator ---------------------------------------------------------------

java_util_Hashtable_HashtableEnumerator::java_util_Hashtable_HashtableEnumerator(java_util_Hashtable* owner,
                                                                                 ObjectArray* table, bool keys)
    : Object(cid::java_util_Hashtable_HashtableEnumerator) {
    StaticClass::setRefFieldOffsets(this, {&m_table, &m_entry, &m_owner});
    m_keys = keys ? 1 : 0;
    m_table = table;
    m_index = table ? table->length() : 0;
    m_entry = nullptr;
    m_owner = owner;
}

void* java_util_Hashtable_HashtableEnumerator::getInterface(jint interfaceId) {
    return interfaceId == cid::java_util_Enumeration ? static_cast<java_util_Enumeration*>(this) : nullptr;
}

bool java_util_Hashtable_HashtableEnumerator::advanceToBucket() {
    while (!m_entry && m_index > 0) {
        --m_index;
        m_entry = bucketHead(m_table, m_index);
    }
    return m_entry != nullptr;
}

jboolean java_util_Hashtable_HashtableEnumerator::hasMoreElements() { return advanceToBucket() ? 1 : 0; }

Object* java_util_Hashtable_HashtableEnumerator::nextElement() {
    if (!advanceToBucket()) {
        rt::throwNew(cid::java_util_NoSuchElementException, StaticClass::getStringConstant(165));
        return nullptr;
    }
    java_util_HashtableEntry* e = m_entry;
    m_entry = e->m_next;
    return m_keys ? e->m_key : e->m_value;
}
