// Java arrays: a fixed four-word object on the object heap (header, length,
// element pointer) whose zeroed elements live in a block of the movable data
// heap with the element pointer as owner slot (or in the C heap when the
// data heap has no room; such blocks never move).
//
// Element pointers (data()) are valid only until the next allocation or safe
// point: compaction may move the block. Read them again afterwards:
//   IntArray* a = newIntArray(n);
//   String* s = String::fromLatin1("x");   // may move a's elements
//   a->data()[0] = 1;                      // re-read, never a cached pointer
// Checked accessors (at/set) log and ignore an index outside the array.
#pragma once

#include <cstdarg>
#include <initializer_list>

#include "runtime/object.h"

class ArrayBase : public Object {
public:
    // Slot 0: frees the element block.
    void finalize() override;
    // Slot 6.
    virtual jint elementSize() const = 0;

    jint length() const { return m_length; }
    void* rawElements() const { return m_elements; }
    bool inBounds(jint index) const { return index >= 0 && index < m_length && m_elements; }

    static bool isArrayClass(jint classId) { return classId >= cid::ObjectArray && classId <= cid::DoubleArray; }
    // Largest element block the runtime creates (larger requests fail).
    static constexpr size_t kMaxElementBytes = size_t(256) << 20;

protected:
    ArrayBase(uint16_t classId, jint length, size_t elementSize);
    struct External {};
    ArrayBase(uint16_t classId, External, void* elements, jint length);
    void logOutOfBounds(jint index) const;

    jint m_length;
    void* m_elements;
};
static_assert(sizeof(ArrayBase) <= 4 * sizeof(void*), "array object fits four words");

template <typename Derived, typename T, uint16_t Id>
class TypedArray : public ArrayBase {
public:
    using Element = T;
    static constexpr uint16_t kClassId = Id;

    explicit TypedArray(jint length) : ArrayBase(Id, length, sizeof(T)) {}

    static Derived* make(jint length) { return newObject<Derived>(length); }

    jint elementSize() const override { return static_cast<jint>(sizeof(T)); }
    T* data() const { return static_cast<T*>(m_elements); }

    // Null receiver: "NullPointer"; bad index: logged. Both answer 0 / store nothing.
    static T at(const Derived* a, jint index) {
        if (!a) {
            rt::logNullPointer();
            return T();
        }
        return a->get(index);
    }
    static void set(Derived* a, jint index, T value) {
        if (!a) {
            rt::logNullPointer();
            return;
        }
        a->put(index, value);
    }
    T get(jint index) const {
        if (!inBounds(index)) {
            logOutOfBounds(index);
            return T();
        }
        return data()[index];
    }
    void put(jint index, T value) {
        if (!inBounds(index)) {
            logOutOfBounds(index);
            return;
        }
        data()[index] = value;
    }
    // Array-literal initialiser: values into elements 0..n-1; answers a.
    static Derived* fill(Derived* a, std::initializer_list<T> values) {
        if (!a) {
            rt::logNullPointer();
            return a;
        }
        jint i = 0;
        for (T v : values) a->put(i++, v);
        return a;
    }

protected:
    TypedArray(External tag, void* elements, jint length) : ArrayBase(Id, tag, elements, length) {}
};

class ObjectArray final : public TypedArray<ObjectArray, Object*, cid::ObjectArray> {
public:
    using TypedArray::TypedArray;
};
class BoolArray final : public TypedArray<BoolArray, jboolean, cid::BoolArray> {
public:
    using TypedArray::TypedArray;
};
class ByteArray : public TypedArray<ByteArray, jbyte, cid::ByteArray> {
public:
    using TypedArray::TypedArray;
    // fill(a, n, v1, ..., vn): the low 8 bits of each int.
    static ByteArray* fill(ByteArray* a, jint n, ...);
    using TypedArray::fill;
    // An array over a buffer the runtime does not own; finalize frees nothing.
    static ByteArray* wrapExternal(jbyte* buffer, jint length);

protected:
    ByteArray(External tag, void* elements, jint length) : TypedArray(tag, elements, length) {}
};
class CharArray final : public TypedArray<CharArray, jchar, cid::CharArray> {
public:
    using TypedArray::TypedArray;
    // Slot 3: the elements up to the first zero unit, never past the length.
    String* toString() override;
};
class ShortArray : public TypedArray<ShortArray, jshort, cid::ShortArray> {
public:
    using TypedArray::TypedArray;
    static ShortArray* fill(ShortArray* a, jint n, ...);
    using TypedArray::fill;
    static ShortArray* wrapExternal(jshort* buffer, jint length);

protected:
    ShortArray(External tag, void* elements, jint length) : TypedArray(tag, elements, length) {}
};
class IntArray final : public TypedArray<IntArray, jint, cid::IntArray> {
public:
    using TypedArray::TypedArray;
    static IntArray* fill(IntArray* a, jint n, ...);
    using TypedArray::fill;
};
class Long64Array final : public TypedArray<Long64Array, jlong, cid::Long64Array> {
public:
    using TypedArray::TypedArray;
};
class FloatArray final : public TypedArray<FloatArray, jfloat, cid::FloatArray> {
public:
    using TypedArray::TypedArray;
};
class DoubleArray final : public TypedArray<DoubleArray, jdouble, cid::DoubleArray> {
public:
    using TypedArray::TypedArray;
};

// Creation (the element class id of an object array is not recorded).
ObjectArray* newObjectArray(jint elementClassId, jint n);
BoolArray* newBoolArray(jint n);
ByteArray* newByteArray(jint n);
CharArray* newCharArray(jint n);
ShortArray* newShortArray(jint n);
IntArray* newIntArray(jint n);
Long64Array* newLong64Array(jint n);
FloatArray* newFloatArray(jint n);
DoubleArray* newDoubleArray(jint n);

namespace rt {
// Multi-dimensional creation from a type descriptor ("[[I", "[[[I",
// "[[Ljava/lang/Object;"): counts[0] is the outermost dimension; levels
// beyond dims stay null.
ObjectArray* newMultiArray(const char* descriptor, const jint* counts, int dims);
// A one-dimensional array whose class the descriptor character names.
ArrayBase* newArrayOfType(char type, jint n);
}  // namespace rt
