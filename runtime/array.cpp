// Array objects: element allocation, finalization, creation helpers,
// multi-dimensional creation and arraycopy.
#include "runtime/array.h"

#include <cstdio>
#include <cstring>

#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/string.h"
#include "runtime/system.h"

ArrayBase::ArrayBase(uint16_t classId, jint length, size_t elementSize) : Object(classId) {
    m_length = length;
    m_elements = nullptr;
    if (length < 0) {
        rt::logWithStackTrace("length of array should be >= 0");
        return;
    }
    if (length == 0) return;
    size_t bytes = 0;
    if (!java::checkedMul(static_cast<size_t>(length), elementSize, &bytes) || bytes > kMaxElementBytes) {
        char message[96];
        snprintf(message, sizeof message, "ERROR: array of %d elements of %zu bytes is too large", length, elementSize);
        rt::logWithStackTrace(message);
        m_length = 0;
        return;
    }
    void* elements = rt::allocDataBuffer(bytes);
    m_elements = elements;
    rt::registerOwner(&m_elements);
}

ArrayBase::ArrayBase(uint16_t classId, External, void* elements, jint length) : Object(classId) {
    m_length = length;
    m_elements = elements;
}

void ArrayBase::finalize() {
    rt::freeDataBuffer(m_elements);
    m_elements = nullptr;
    Object::finalize();
}

void ArrayBase::logOutOfBounds(jint index) const {
    char message[80];
    snprintf(message, sizeof message, "ArrayIndexOutOfBounds: index %d, length %d", index, m_length);
    rt::logWithStackTrace(message);
}

namespace {

template <typename A>
class ExternalArray final : public A {
public:
    ExternalArray(void* elements, jint length) : A(typename A::External{}, elements, length) {}
    // The buffer belongs to someone else: forget it, free nothing.
    void finalize() override {
        this->m_elements = nullptr;
        Object::finalize();
    }
};

template <typename A, typename T>
A* fillVariadic(A* a, jint n, va_list args) {
    if (!a) {
        rt::logNullPointer();
        return a;
    }
    for (jint i = 0; i < n; ++i) a->put(i, static_cast<T>(va_arg(args, int)));
    return a;
}

}  // namespace

ByteArray* ByteArray::wrapExternal(jbyte* buffer, jint length) {
    return newObject<ExternalArray<ByteArray>>(buffer, length);
}

ShortArray* ShortArray::wrapExternal(jshort* buffer, jint length) {
    return newObject<ExternalArray<ShortArray>>(buffer, length);
}

ByteArray* ByteArray::fill(ByteArray* a, jint n, ...) {
    va_list args;
    va_start(args, n);
    fillVariadic<ByteArray, jbyte>(a, n, args);
    va_end(args);
    return a;
}

ShortArray* ShortArray::fill(ShortArray* a, jint n, ...) {
    va_list args;
    va_start(args, n);
    fillVariadic<ShortArray, jshort>(a, n, args);
    va_end(args);
    return a;
}

IntArray* IntArray::fill(IntArray* a, jint n, ...) {
    va_list args;
    va_start(args, n);
    fillVariadic<IntArray, jint>(a, n, args);
    va_end(args);
    return a;
}

String* CharArray::toString() {
    jint n = 0;
    const jchar* units = data();
    while (n < m_length && units && units[n] != 0) ++n;
    return String::fromCharArray(this, 0, n);
}

ObjectArray* newObjectArray(jint, jint n) { return ObjectArray::make(n); }
BoolArray* newBoolArray(jint n) { return BoolArray::make(n); }
ByteArray* newByteArray(jint n) { return ByteArray::make(n); }
CharArray* newCharArray(jint n) { return CharArray::make(n); }
ShortArray* newShortArray(jint n) { return ShortArray::make(n); }
IntArray* newIntArray(jint n) { return IntArray::make(n); }
Long64Array* newLong64Array(jint n) { return Long64Array::make(n); }
FloatArray* newFloatArray(jint n) { return FloatArray::make(n); }
DoubleArray* newDoubleArray(jint n) { return DoubleArray::make(n); }

namespace rt {

ArrayBase* newArrayOfType(char type, jint n) {
    switch (type) {
    case 'B': return newByteArray(n);
    case 'C': return newCharArray(n);
    case 'D': return newDoubleArray(n);
    case 'F': return newFloatArray(n);
    case 'I': return newIntArray(n);
    case 'J': return newLong64Array(n);
    case 'S': return newShortArray(n);
    case 'Z': return newBoolArray(n);
    default: return newObjectArray(cid::Object, n);
    }
}

namespace {
// descriptor points at the '[' of the level whose elements are being made.
void fillMultiArray(ObjectArray* outer, const char* descriptor, const jint* counts, int remaining) {
    if (remaining <= 0 || descriptor[0] != '[') return;
    for (jint i = 0; i < outer->length(); ++i) {
        Object* element;
        if (remaining == 1) {
            element = newArrayOfType(descriptor[1], counts[0]);
        } else {
            ObjectArray* inner = newObjectArray(cid::Object, counts[0]);
            fillMultiArray(inner, descriptor + 1, counts + 1, remaining - 1);
            element = inner;
        }
        outer->data()[i] = element;  // re-read: creating element may move the block
    }
}
}  // namespace

ObjectArray* newMultiArray(const char* descriptor, const jint* counts, int dims) {
    if (!descriptor || dims < 1 || descriptor[0] != '[') {
        logWithStackTrace("newMultiArray: bad descriptor");
        return nullptr;
    }
    ObjectArray* outer = newObjectArray(cid::Object, counts[0]);
    fillMultiArray(outer, descriptor + 1, counts + 1, dims - 1);
    return outer;
}

}  // namespace rt

void java_lang_System::arraycopy(Object* src, jint srcPos, Object* dst, jint dstPos, jint length) {
    if (!src || !dst) {
        rt::logNullPointer();
        return;
    }
    if (length == 0) return;
    if (!ArrayBase::isArrayClass(src->classId()) || !ArrayBase::isArrayClass(dst->classId())) {
        rt::throwNew(cid::java_lang_ArrayStoreException);
        return;
    }
    auto* s = static_cast<ArrayBase*>(src);
    auto* d = static_cast<ArrayBase*>(dst);
    const jint size = s->elementSize();
    if (d->elementSize() != size || (src->classId() == cid::ObjectArray) != (dst->classId() == cid::ObjectArray)) {
        rt::throwNew(cid::java_lang_ArrayStoreException);
        return;
    }
    // In 64 bits: an array made with a negative length keeps that length.
    if (length < 0 || srcPos < 0 || dstPos < 0 || int64_t(srcPos) + length > s->length() ||
        int64_t(dstPos) + length > d->length()) {
        rt::throwNew(cid::java_lang_ArrayIndexOutOfBoundsException);
        return;
    }
    char* from = static_cast<char*>(s->rawElements()) + static_cast<size_t>(srcPos) * size;
    char* to = static_cast<char*>(d->rawElements()) + static_cast<size_t>(dstPos) * size;
    std::memmove(to, from, static_cast<size_t>(length) * size);
}
