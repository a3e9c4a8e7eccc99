// java.util.Vector (class id 74) and java.util.Stack (class id 67): the
// growable array of object references and its last-in-first-out face.
//
// Invariants: elementData is never null once a constructor has completed;
// 0 <= elementCount <= elementData.length; slots at and beyond elementCount
// hold null. Synchronised operations hold the Vector's own monitor for their
// whole run and release it on every way out; a throw leaves the Vector
// unchanged. Errors are raised as pending Java exceptions (the operation
// then answers null, 0, -1 or false at once).
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class java_util_Vector : public Object {
public:
    // initialCapacity < 0: IllegalArgumentException (pool entry 140), and no
    // storage is made.
    java_util_Vector(jint initialCapacity, jint capacityIncrement, uint16_t classId = cid::java_util_Vector);
    explicit java_util_Vector(jint initialCapacity) : java_util_Vector(initialCapacity, 0) {}
    java_util_Vector() : java_util_Vector(10, 0) {}
    // Capacity other.size(), then other's elements in index order.
    explicit java_util_Vector(java_util_Vector* other);

    // --- dispatch slots 6-9 ----------------------------------------------------
    virtual jint size();                    // 6
    virtual jboolean isEmpty();             // 7
    virtual jboolean contains(Object* elem);  // 8
    virtual void removeAllElements();       // 9 (synchronised)

    // --- synchronised ----------------------------------------------------------
    void copyInto(ObjectArray* anArray);
    void trimToSize();
    void ensureCapacity(jint minCapacity);
    void setSize(jint newSize);
    jint indexOf(Object* elem, jint index);
    jint lastIndexOf(Object* elem, jint index);
    Object* elementAt(jint index);
    Object* firstElement();
    Object* lastElement();
    void setElementAt(Object* obj, jint index);
    void set(jint index, Object* obj) { setElementAt(obj, index); }
    void removeElementAt(jint index);
    void insertElementAt(Object* obj, jint index);
    void addElement(Object* obj);
    void add(Object* obj) { addElement(obj); }
    jboolean removeElement(Object* obj);

    // --- unsynchronised ------------------------------------------------------
    jint capacity() { return m_elementData ? m_elementData->length() : 0; }
    jint indexOf(Object* elem) { return indexOf(elem, 0); }
    jint lastIndexOf(Object* elem) { return lastIndexOf(elem, m_elementCount - 1); }
    Object* get(jint index) { return elementAt(index); }

    ObjectArray* m_elementData;
    jint m_elementCount;
    jint m_capacityIncrement;

protected:
    // Growth step (caller holds the monitor): old + increment, or doubled
    // when the increment is not positive; at least minCapacity.
    void grow(jint minCapacity);
    // Matching of indexOf/lastIndexOf: null matches null slots only, else
    // elem.equals(slot) decides.
    bool matches(Object* elem, jint i);
};

class java_util_Stack : public java_util_Vector {
public:
    java_util_Stack() : java_util_Vector(10, 0, cid::java_util_Stack) {}

    Object* push(Object* item);
    Object* peek();   // synchronised; empty: EmptyStackException
    Object* pop();    // synchronised; empty: EmptyStackException, nothing removed
    jboolean empty() { return size() == 0 ? 1 : 0; }
    jint search(Object* o);  // synchronised; 1 for the top, -1 when absent
};
