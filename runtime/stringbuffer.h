// java.lang.StringBuffer (class id 3): growable UTF-16 text.
//
// m_chars is a data-heap block of m_capacity units (its owner slot is
// m_chars, so compaction may move it) or null; m_length units are in use;
// when m_capacity > m_length the unit at m_length is 0. Growth takes
// max(needed, 2 x capacity) units. Every insert and append goes through one
// path that grows first and reads its source afterwards, so a source that
// lives in a Java object may move during the growth without harm.
//
// Index arguments outside the text are logged and the call does nothing
// (Java would throw StringIndexOutOfBoundsException; converted code keeps
// its indexes in range).
#pragma once

#include "runtime/object.h"

class CharArray;

class StringBuffer final : public Object {
public:
    StringBuffer() : Object(cid::StringBuffer) {}

    // newObject + init(capacity).
    static StringBuffer* make(jint capacity = 16);

    // --- Java constructors ------------------------------------------------------
    static void init(StringBuffer* b, jint capacity);
    static void initString(StringBuffer* b, String* str);

    // --- operations (each answers b where Java answers the buffer) ----------
    static void setLength(StringBuffer* b, jint n);
    static void ensureCapacity(StringBuffer* b, jint n);
    static jint length(StringBuffer* b);
    static jint capacity(StringBuffer* b);

    // units must be native memory (never a Java object's storage).
    static StringBuffer* insertChars(StringBuffer* b, jint offset, const jchar* units, jint n);
    static StringBuffer* insert(StringBuffer* b, jint offset, String* str);  // null inserts "null"
    static StringBuffer* insertObject(StringBuffer* b, jint offset, Object* object);
    static StringBuffer* insertBoolean(StringBuffer* b, jint offset, jboolean value);  // "true" only for 1
    static StringBuffer* insertChar(StringBuffer* b, jint offset, jchar c);
    static StringBuffer* insertCString(StringBuffer* b, jint offset, const char* text);
    static StringBuffer* insertInt(StringBuffer* b, jint offset, jint value);
    static StringBuffer* insertLong(StringBuffer* b, jint offset, jlong value);  // low 32 bits
    static StringBuffer* insertFloat(StringBuffer* b, jint offset, jfloat value);
    static StringBuffer* insertDouble(StringBuffer* b, jint offset, jdouble value);

    static StringBuffer* append(StringBuffer* b, String* str);
    static StringBuffer* appendObject(StringBuffer* b, Object* object);
    static StringBuffer* appendBoolean(StringBuffer* b, jboolean value);
    static StringBuffer* appendChar(StringBuffer* b, jchar c);
    static StringBuffer* appendCString(StringBuffer* b, const char* text);
    static StringBuffer* appendInt(StringBuffer* b, jint value);
    static StringBuffer* appendLong(StringBuffer* b, jlong value);
    static StringBuffer* appendFloat(StringBuffer* b, jfloat value);
    static StringBuffer* appendDouble(StringBuffer* b, jdouble value);

    // Java's delete(start, end): end is cut to the length.
    static StringBuffer* deleteRange(StringBuffer* b, jint start, jint end);
    static StringBuffer* deleteCharAt(StringBuffer* b, jint index);  // nothing when index >= length
    static StringBuffer* reverse(StringBuffer* b);
    static void getChars(StringBuffer* b, jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin);

    // --- Object slots ---------------------------------------------------------
    void finalize() override;
    // A new String of the buffer's text.
    String* toString() override;

    jchar* m_chars;
    jint m_capacity;
    jint m_length;

private:
    template <typename Source>
    static StringBuffer* insertFrom(StringBuffer* b, jint offset, jint n, Source source);
    static bool grow(StringBuffer* b, int64_t needed);
};
