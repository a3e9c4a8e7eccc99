// java.util.Hashtable (class id 63), its chain entries (class id 64) and its
// enumerator (class id 62, the java.util.Enumeration face, id 60).
//
// Separate chaining over a bucket array; bucket = (hashCode & 0x7FFFFFFF)
// modulo the bucket count; new entries head their chain. The table grows
// to 2c + 1 buckets when an insertion of a new key finds count >= threshold
// (threshold = capacity * 75 / 100). Keyed operations, clear, keys,
// elements and toString hold the table's monitor; size/isEmpty and the
// enumerators take none. Null keys and values raise NullPointerException
// and leave the table unchanged.
#pragma once

#include "javalib/enumeration.h"
#include "runtime/array.h"
#include "runtime/object.h"

class java_util_HashtableEntry : public Object {
public:
    java_util_HashtableEntry(jint hash, Object* key, Object* value, java_util_HashtableEntry* next);

    jint m_hash;
    Object* m_key;
    Object* m_value;
    java_util_HashtableEntry* m_next;
};

class java_util_Hashtable : public Object {
public:
    static constexpr jint kDefaultCapacity = 11;

    // initialCapacity < 0: IllegalArgumentException (no message); 0 means 1.
    explicit java_util_Hashtable(jint initialCapacity);
    java_util_Hashtable() : java_util_Hashtable(kDefaultCapacity) {}

    // --- dispatch slots ------------------------------------------------------
    String* toString() override;              // 3 (synchronised)
    virtual jint size();                      // 6
    virtual jboolean isEmpty();               // 7
    virtual jboolean contains(Object* value); // 8 (synchronised)
    virtual void clear();                     // 9 (synchronised)

    // --- synchronised ----------------------------------------------------------
    Object* get(Object* key);
    jboolean containsKey(Object* key);
    // Answers the replaced value, or null for a new key.
    Object* put(Object* key, Object* value);
    Object* remove(Object* key);
    // Enumerators (java_util_Hashtable_HashtableEnumerator objects; cast
    // with interfaceOf<java_util_Enumeration>(e, cid::java_util_Enumeration)).
    Object* keys();
    Object* elements();

    jint capacity() const { return m_table ? m_table->length() : 0; }

    ObjectArray* m_table;
    jint m_count;
    jint m_threshold;

private:
    // Doubles the buckets; false (OutOfMemoryError pending) when no larger array can be made.
    bool rehash();
    jint bucketOf(jint hash) const { return (hash & 0x7FFFFFFF) % m_table->length(); }
    java_util_HashtableEntry* find(Object* key, jint hash);
};

class java_util_Hashtable_HashtableEnumerator : public Object, public java_util_Enumeration {
public:
    java_util_Hashtable_HashtableEnumerator(java_util_Hashtable* owner, ObjectArray* table, bool keys);

    void* getInterface(jint interfaceId) override;
    jboolean hasMoreElements() override;
    // Past the end: NoSuchElementException (pool entry 165).
    Object* nextElement() override;

    jboolean m_keys;
    jint m_index;
    ObjectArray* m_table;
    java_util_HashtableEntry* m_entry;
    java_util_Hashtable* m_owner;

private:
    bool advanceToBucket();
};
