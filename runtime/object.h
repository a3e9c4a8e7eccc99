// Object model: the two-word object header, Object's six dispatch slots,
// class ids and class records, type tests, and object creation.
//
// Invariants:
//  - Every Java object is a C++ object deriving from Object, built by
//    placement construction into a zero-filled block of the object heap
//    (newObject<T>()); fields a constructor does not set stay zero.
//  - The header is two machine words: the dispatch pointer (the C++ vtable,
//    whose first six entries are Object's slots in slot order), then the
//    16-bit class id, the collectable byte and the mark byte.
//  - Objects never move. Interfaces are abstract C++ classes that a class
//    inherits after Object; an interface view is a pointer into the object,
//    which the collector treats like a pointer to its start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "runtime/jint.h"

using java::jboolean;
using java::jbyte;
using java::jchar;
using java::jdouble;
using java::jfloat;
using java::jint;
using java::jlong;
using java::jshort;

class String;
class Class;

// Class ids, named exactly as the registry names them (cid::java_util_Vector).
namespace cid {
enum : uint16_t {
#define CLASS_ENTRY(id, name, super) name = id,
#include "runtime/classtable.inc"
#undef CLASS_ENTRY
};
constexpr uint16_t kCount = 138;
constexpr uint16_t kFreed = 0xFEEE;   // written into a swept object's header
constexpr jint kNoSuper = 0xFEEE;     // superclass id of Object
}  // namespace cid

class Object {
public:
    explicit Object(uint16_t classId);
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // --- dispatch slots 0-5, in slot order --------------------------------
    // 0: called by the collector just before the block is freed. Overrides
    //    release native resources and then call their base's finalize.
    virtual void finalize();
    // 1: identity.
    virtual jboolean equals(Object* other);
    // 2: logs "clone" and the stack trace and answers null (kept as is).
    virtual Object* clone();
    // 3: "Object_id=%d @0x%x".
    virtual String* toString();
    // 4: the object's address (low 32 bits).
    virtual jint hashCode();
    // 5: the interface view for an interface class id, or null.
    virtual void* getInterface(jint interfaceId);
    // Class methods continue from slot 6 in derived classes.

    uint16_t classId() const { return m_classId; }
    bool isCollectable() const { return m_collectable != 0; }
    void setCollectable(bool on) { m_collectable = on ? 1 : 0; }

    // Mark byte: low nibble = collector mark; bit 4 = the object owns a
    // monitor-table entry (released when it is swept).
    static constexpr uint8_t kMarkMask = 0x0F;
    static constexpr uint8_t kHasMonitor = 0x10;
    bool isMarked() const { return (m_mark & kMarkMask) != 0; }
    void setMarked(bool on) { m_mark = static_cast<uint8_t>((m_mark & ~kMarkMask) | (on ? 1 : 0)); }
    bool hasMonitor() const { return (m_mark & kHasMonitor) != 0; }
    void setHasMonitor(bool on) { m_mark = static_cast<uint8_t>(on ? (m_mark | kHasMonitor) : (m_mark & ~kHasMonitor)); }

    // Writes the freed marker into the class id (the sweep does this).
    void markFreed() { m_classId = cid::kFreed; }

    // Monitor natives (the monitor table lives in the application).
    static void monitorEnter(Object* object);
    static void monitorExit(Object* object);
    static void wait(Object* object, jlong ms);
    static void notify(Object* object, jint n);  // n = -1: all waiters
    static void notifyAll(Object* object) { notify(object, -1); }

private:
    uint16_t m_classId;
    uint8_t m_collectable;
    uint8_t m_mark;
};
static_assert(sizeof(Object) == 2 * sizeof(void*), "object header is two words");

// One record per class id, held in the statics block (never on the heap).
class Class : public Object {
public:
    Class() : Object(cid::Class) {}

    const char* m_name = nullptr;     // registry name, e.g. "java_util_Vector"
    jint m_id = 0;
    jint m_superId = 0;               // cid::kNoSuper for Object
    uint32_t* m_refOffsets = nullptr; // byte offsets of reference fields
    jint m_refCount = 0;

    // Prefix match of the dotted or underscored Java name against the
    // registry names in id order (a short name matches the first longer
    // registry name it begins); null when none matches.
    static Class* forName(String* name);
    static String* getName(Class* record);
    static bool isInstance(Class* record, Object* object);
};

// Type tests.
bool instanceOf(Object* object, jint classId);
bool isSubclassOf(const Class* a, const Class* b);

// Cast an interface view handed out by getInterface().
template <typename I>
inline I* interfaceOf(Object* object, jint interfaceId) {
    return object ? static_cast<I*>(object->getInterface(interfaceId)) : nullptr;
}

namespace rt {

// A zero-filled block of the object heap, registered with the collector.
// Never null: an exhausted object heap stops the program in order.
void* allocObjectBlock(size_t bytes);

// "NullPointer" and the stack trace.
void logNullPointer();
// A message and the stack trace.
void logWithStackTrace(const char* message);

}  // namespace rt

// Create a Java object: allocate the zeroed block, then construct header and
// C++ members in place. The object is registered before construction; the
// constructor may allocate (the new object is on this thread's stack).
template <typename T, typename... Args>
inline T* newObject(Args&&... args) {
    void* block = rt::allocObjectBlock(sizeof(T));
    return ::new (block) T(std::forward<Args>(args)...);
}
