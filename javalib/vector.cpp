// java.util.Vector and java.util.Stack. Element pointers are re-read after
// every call that may allocate or run Java code (equals), since the data
// heap moves array storage.
#include "javalib/vector.h"

#include <string>

#include "javalib/synchronized.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/system.h"

namespace {

void throwIndex(jint index) { Application::throwException(java_lang_Throwable::makeIndexOutOfBounds(index)); }

}  // namespace

java_util_Vector::java_util_Vector(jint initialCapacity, jint capacityIncrement, uint16_t classId) : Object(classId) {
    m_elementData = nullptr;
    m_elementCount = 0;
    m_capacityIncrement = 0;
    StaticClass::setRefFieldOffsets(this, {&m_elementData});
    if (initialCapacity < 0) {
        rt::throwNew(cid::java_lang_IllegalArgumentException, StaticClass::getStringConstant(140));
        return;
    }
    m_elementData = newObjectArray(cid::Object, initialCapacity);
    m_capacityIncrement = capacityIncrement;
}

java_util_Vector::java_util_Vector(java_util_Vector* other) : java_util_Vector(other ? other->size() : 10, 0) {
    if (!other) {
        rt::logNullPointer();
        return;
    }
    const jint n = other->size();
    for (jint i = 0; i < n; ++i) {
        Object* element = other->elementAt(i);
        if (Application::checkException(0)) return;  // the other Vector shrank meanwhile
        addElement(element);
    }
}

jint java_util_Vector::size() { return m_elementCount; }

jboolean java_util_Vector::isEmpty() { return m_elementCount == 0 ? 1 : 0; }

jboolean java_util_Vector::contains(Object* elem) { return indexOf(elem, 0) >= 0 ? 1 : 0; }

void java_util_Vector::removeAllElements() {
    JavaMonitorScope lock(this);
    if (m_elementData)
        for (jint i = 0; i < m_elementCount; ++i) m_elementData->data()[i] = nullptr;
    m_elementCount = 0;
}

void java_util_Vector::grow(jint minCapacity) {
    const jint old = capacity();
    jint capacity = m_capacityIncrement > 0 ? java::iadd(old, m_capacityIncrement) : java::imul(old, 2);
    if (capacity < minCapacity) capacity = minCapacity;
    ObjectArray* fresh = newObjectArray(cid::Object, capacity);
    if (m_elementData && m_elementCount > 0) java_lang_System::arraycopy(m_elementData, 0, fresh, 0, m_elementCount);
    m_elementData = fresh;
}

void java_util_Vector::copyInto(ObjectArray* anArray) {
    JavaMonitorScope lock(this);
    if (!anArray) {
        rt::logNullPointer();
        return;
    }
    // Only the slots that exist in both arrays are written.
    for (jint i = m_elementCount - 1; i >= 0; --i)
        if (i < anArray->length()) anArray->data()[i] = m_elementData->data()[i];
}

void java_util_Vector::trimToSize() {
    JavaMonitorScope lock(this);
    if (m_elementCount >= capacity()) return;
    ObjectArray* fresh = newObjectArray(cid::Object, m_elementCount);
    if (m_elementCount > 0) java_lang_System::arraycopy(m_elementData, 0, fresh, 0, m_elementCount);
    m_elementData = fresh;
}

void java_util_Vector::ensureCapacity(jint minCapacity) {
    JavaMonitorScope lock(this);
    if (minCapacity > capacity()) grow(minCapacity);
}

void java_util_Vector::setSize(jint newSize) {
    JavaMonitorScope lock(this);
    if (newSize < 0) newSize = 0;  // never asked for; treated as clearing
    if (newSize > m_elementCount && newSize > capacity()) {
        grow(newSize);
    } else {
        for (jint i = newSize; i < m_elementCount; ++i) m_elementData->data()[i] = nullptr;
    }
    m_elementCount = newSize;
}

bool java_util_Vector::matches(Object* elem, jint i) {
    Object* slot = m_elementData->data()[i];
    if (!elem) return slot == nullptr;
    return elem->equals(slot) != 0;
}

jint java_util_Vector::indexOf(Object* elem, jint index) {
    JavaMonitorScope lock(this);
    if (index < 0) index = 0;  // never asked for; scanning from the start
    // Bounds are re-read every turn: equals may run arbitrary code.
    for (jint i = index; i < m_elementCount; ++i)
        if (matches(elem, i)) return i;
    return -1;
}

jint java_util_Vector::lastIndexOf(Object* elem, jint index) {
    JavaMonitorScope lock(this);
    if (index >= m_elementCount) {
        rt::throwNew(cid::java_lang_IndexOutOfBoundsException, String::fromUtf8(std::to_string(index)));
        return -1;
    }
    for (jint i = index; i >= 0; --i)
        if (i < m_elementCount && matches(elem, i)) return i;
    return -1;
}

Object* java_util_Vector::elementAt(jint index) {
    JavaMonitorScope lock(this);
    if (index < 0 || index >= m_elementCount) {
        throwIndex(index);
        return nullptr;
    }
    return m_elementData->data()[index];
}

Object* java_util_Vector::firstElement() {
    JavaMonitorScope lock(this);
    return m_elementCount > 0 ? m_elementData->data()[0] : nullptr;
}

Object* java_util_Vector::lastElement() {
    JavaMonitorScope lock(this);
    return m_elementCount > 0 ? m_elementData->data()[m_elementCount - 1] : nullptr;
}

void java_util_Vector::setElementAt(Object* obj, jint index) {
    JavaMonitorScope lock(this);
    if (index < 0 || index >= m_elementCount) {
        throwIndex(index);
        return;
    }
    m_elementData->data()[index] = obj;
}

void java_util_Vector::removeElementAt(jint index) {
    JavaMonitorScope lock(this);
    if (index < 0 || index >= m_elementCount) {
        throwIndex(index);
        return;
    }
    const jint moved = m_elementCount - index - 1;
    if (moved > 0) java_lang_System::arraycopy(m_elementData, index + 1, m_elementData, index, moved);
    --m_elementCount;
    m_elementData->data()[m_elementCount] = nullptr;
}

void java_util_Vector::insertElementAt(Object* obj, jint index) {
    JavaMonitorScope lock(this);
    if (index < 0 || index > m_elementCount) {
        throwIndex(index);
        return;
    }
    if (m_elementCount + 1 > capacity()) grow(m_elementCount + 1);
    const jint moved = m_elementCount - index;
    if (moved > 0) java_lang_System::arraycopy(m_elementData, index, m_elementData, index + 1, moved);
    m_elementData->data()[index] = obj;
    ++m_elementCount;
}

void java_util_Vector::addElement(Object* obj) {
    JavaMonitorScope lock(this);
    if (m_elementCount + 1 > capacity()) grow(m_elementCount + 1);
    m_elementData->data()[m_elementCount] = obj;
    ++m_elementCount;
}

jboolean java_util_Vector::removeElement(Object* obj) {
    JavaMonitorScope lock(this);
    const jint i = indexOf(obj, 0);
    if (i < 0) return 0;
    removeElementAt(i);
    return 1;
}

// --- Stack ------------------------------------------------------------------

Object* java_util_Stack::push(Object* item) {
    addElement(item);
    return item;
}

Object* java_util_Stack::peek() {
    JavaMonitorScope lock(this);
    const jint len = size();
    if (len == 0) {
        rt::throwNewDefault(cid::java_util_EmptyStackException);
        return nullptr;
    }
    return elementAt(len - 1);
}

Object* java_util_Stack::pop() {
    JavaMonitorScope lock(this);
    const jint len = size();
    Object* obj = peek();
    if (Application::checkException(0)) return nullptr;
    removeElementAt(len - 1);
    return obj;
}

jint java_util_Stack::search(Object* o) {
    JavaMonitorScope lock(this);
    const jint i = lastIndexOf(o, m_elementCount - 1);
    return i >= 0 ? size() - i : -1;
}
