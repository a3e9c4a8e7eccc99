// Operand-stack routines of stack-mode converted code.
#include "runtime/operandstack.h"

#include <cstring>

#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/factory.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"

void OperandStack::init(Slot* values, uint8_t* tags) {
    m_base = m_top = values;
    m_tagBase = m_tagTop = tags;
}

void OperandStack::pushFloat(jfloat f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    push(bits, kValue);
}

jfloat OperandStack::popFloat() {
    uint32_t bits = static_cast<uint32_t>(pop());
    jfloat f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void OperandStack::pushLong(jlong v) {
    const uint64_t u = static_cast<uint64_t>(v);
    push(u & 0xFFFFFFFFu, kValue);
    push(u >> 32, kHigh);
}

jlong OperandStack::popLong() {
    uint64_t high = pop() & 0xFFFFFFFFu;
    uint64_t low = pop() & 0xFFFFFFFFu;
    return static_cast<jlong>((high << 32) | low);
}

void OperandStack::pushDouble(jdouble d) {
    jlong bits;
    std::memcpy(&bits, &d, sizeof bits);
    pushLong(bits);
}

jdouble OperandStack::popDouble() {
    jlong bits = popLong();
    jdouble d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

String* OperandStack::pushConstant(jint index) {
    String* s = StaticClass::getStringConstant(index);
    push(reinterpret_cast<Slot>(s), kRef);
    return s;
}

Object* OperandStack::pushNewInstance(jint classId) {
    Object* o = NewInstanceFactory::newInstance(static_cast<uint32_t>(classId));
    pushRef(o);
    return o;
}

void OperandStack::drop(int n) {
    if (n <= 0) return;
    m_top -= n;
    m_tagTop -= n;
}

jlong OperandStack::peekValue(int n) const {
    const Slot* word = m_top - 1 - n;
    const uint8_t tag = m_tagTop[-1 - n];
    if (tag == kHigh) {
        uint64_t high = word[0] & 0xFFFFFFFFu;
        uint64_t low = word[-1] & 0xFFFFFFFFu;
        return static_cast<jlong>((high << 32) | low);
    }
    return static_cast<jint>(static_cast<uint32_t>(*word));
}

void OperandStack::dup2() {
    Slot a = m_top[-2], b = m_top[-1];
    uint8_t ta = m_tagTop[-2], tb = m_tagTop[-1];
    push(a, ta);
    push(b, tb);
}

void OperandStack::dup2_x1() {
    Slot x = m_top[-3], a = m_top[-2], b = m_top[-1];
    uint8_t ta = m_tagTop[-2], tb = m_tagTop[-1];
    m_top[-3] = a;
    m_top[-2] = b;
    m_top[-1] = x;
    push(a, ta);
    push(b, tb);
}

void OperandStack::dup_x2() {
    Slot x = m_top[-3], a = m_top[-2], b = m_top[-1];
    uint8_t tb = m_tagTop[-1];
    m_top[-3] = b;
    m_top[-2] = x;
    m_top[-1] = a;
    push(b, tb);
}

void OperandStack::iand() {
    jint b = popInt();
    m_top[-1] = static_cast<Slot>(static_cast<int64_t>(static_cast<jint>(static_cast<uint32_t>(m_top[-1])) & b));
}

void OperandStack::fcmpl() {
    jfloat b = popFloat();
    jfloat a = popFloat();
    jfloat d = a - b;
    pushInt(d == 0.0f ? 0 : (d > 0.0f ? 1 : -1));
}

Object* OperandStack::popArray(jint* index, jint classLo, jint classHi) {
    *index = popInt();
    Object* array = popRef();
    if (!array) {
        rt::logNullPointer();
        return nullptr;
    }
    if (array->classId() < classLo || array->classId() > classHi) {
        rt::logWithStackTrace("OperandStack: wrong array kind");
        return nullptr;
    }
    auto* a = static_cast<ArrayBase*>(array);
    if (!a->inBounds(*index)) {
        char message[80];
        snprintf(message, sizeof message, "ArrayIndexOutOfBounds: index %d, length %d", *index, a->length());
        rt::logWithStackTrace(message);
        return nullptr;
    }
    return array;
}

void OperandStack::iaload() {
    jint i;
    Object* a = popArray(&i, cid::IntArray, cid::IntArray);
    pushInt(a ? static_cast<IntArray*>(a)->data()[i] : 0);
}

void OperandStack::saload() {
    jint i;
    Object* a = popArray(&i, cid::ShortArray, cid::ShortArray);
    pushInt(a ? static_cast<ShortArray*>(a)->data()[i] : 0);
}

void OperandStack::caload() {
    jint i;
    Object* a = popArray(&i, cid::CharArray, cid::CharArray);
    pushInt(a ? static_cast<CharArray*>(a)->data()[i] : 0);
}

void OperandStack::baload() {
    jint i;
    Object* a = popArray(&i, cid::BoolArray, cid::ByteArray);
    pushInt(a ? static_cast<jbyte>(static_cast<jbyte*>(static_cast<ArrayBase*>(a)->rawElements())[i]) : 0);
}

void OperandStack::aaload() {
    jint i;
    Object* a = popArray(&i, cid::ObjectArray, cid::ObjectArray);
    pushRef(a ? static_cast<ObjectArray*>(a)->data()[i] : nullptr);
}

void OperandStack::iastore() {
    jint v = popInt();
    jint i;
    Object* a = popArray(&i, cid::IntArray, cid::IntArray);
    if (a) static_cast<IntArray*>(a)->data()[i] = v;
}

void OperandStack::castore() {
    jint v = popInt();
    jint i;
    Object* a = popArray(&i, cid::CharArray, cid::ShortArray);
    if (a) static_cast<jchar*>(static_cast<ArrayBase*>(a)->rawElements())[i] = java::i2c(v);
}

void OperandStack::putfield(jint* field) {
    if (!reinterpret_cast<Object*>(m_top[-2])) {
        rt::logNullPointer();
        drop(2);
        return;
    }
    *field = popInt();
    drop(1);
}

void OperandStack::putfieldRef(Object** field) {
    if (!reinterpret_cast<Object*>(m_top[-2])) {
        rt::logNullPointer();
        drop(2);
        return;
    }
    *field = popRef();
    drop(1);
}

void OperandStack::putfieldBool(jboolean* field) {
    if (!reinterpret_cast<Object*>(m_top[-2])) {
        rt::logNullPointer();
        drop(2);
        return;
    }
    *field = popInt() != 0 ? 1 : 0;
    drop(1);
}

void OperandStack::instanceOf(jint classId) {
    Object* r = popRef();
    pushInt(::instanceOf(r, classId) ? 1 : 0);
}

void OperandStack::checkcast(jint classId) {
    Object* r = reinterpret_cast<Object*>(m_top[-1]);
    if (r && !::instanceOf(r, classId)) rt::logWithStackTrace("check cast");
}

void OperandStack::arrayLength() {
    Object* r = popRef();
    if (!r) {
        rt::logNullPointer();
        pushInt(0);
        return;
    }
    pushInt(ArrayBase::isArrayClass(r->classId()) ? static_cast<ArrayBase*>(r)->length() : 0);
}

void OperandStack::athrow() { Application::throwException(popRef()); }

ObjectArray* OperandStack::newMultiArray(const char* descriptor, int dims) {
    jint counts[255];
    if (dims < 1 || dims > 255) {
        rt::logWithStackTrace("OperandStack::newMultiArray(): bad dimension count");
        pushRef(nullptr);
        return nullptr;
    }
    for (int d = 0; d < dims; ++d) counts[d] = static_cast<jint>(static_cast<uint32_t>(m_top[d - dims]));
    drop(dims);
    ObjectArray* outer = rt::newMultiArray(descriptor, counts, dims);
    pushRef(outer);
    return outer;
}

void OperandStack::dump() const {
    logPrintf("OperandStack dump:");
    StaticClass* statics = StaticClass::instance();
    for (int n = 0; n < depth(); ++n) {
        const Slot* word = m_top - 1 - n;
        const char* name = "?";
        if (m_tagTop[-1 - n] == kRef && statics) {
            if (const Class* c = statics->classOf(reinterpret_cast<Object*>(*word))) name = c->m_name;
        }
        logPrintf("\t%d value=0x%llx class=%s", -1 - n, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(word)),
                  name);
    }
}
