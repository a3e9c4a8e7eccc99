// Operand stack of methods converted in stack mode: a typed value stack in
// the method's own native frame (so the collector's stack scan sees the
// references on it). One slot per Java stack word; a slot is a machine word
// so that a reference fits one slot; long and double take two slots (lower
// half first, the upper one tagged kHigh), as in Java.
//
// Routines that dereference a null reference log "NullPointer" and the
// stack trace and push 0; an index outside the array is logged and reads 0.
#pragma once

#include <cstdint>

#include "runtime/object.h"

class ObjectArray;

class OperandStack {
public:
    using Slot = uint64_t;
    enum Tag : uint8_t { kValue = 0, kRef = 1, kHigh = 2 };

    void init(Slot* values, uint8_t* tags);
    int depth() const { return static_cast<int>(m_top - m_base); }
    uint8_t tagAt(int n) const { return m_tagTop[-1 - n]; }  // n = 0: top

    // --- pushes and pops --------------------------------------------------------
    void pushInt(jint v) { push(static_cast<Slot>(static_cast<int64_t>(v)), kValue); }
    void pushRef(Object* r) { push(reinterpret_cast<Slot>(r), r ? kRef : kValue); }
    void pushFloat(jfloat f);
    void pushLong(jlong v);
    void pushDouble(jdouble d);
    String* pushConstant(jint index);
    Object* pushNewInstance(jint classId);
    Object* pushRefDup(Object* r) { pushRef(r); pushRef(r); return r; }
    jint pushIntDup(jint v) { pushInt(v); pushInt(v); return v; }

    jint popInt() { return static_cast<jint>(static_cast<uint32_t>(pop())); }
    Object* popRef() { return reinterpret_cast<Object*>(pop()); }
    jfloat popFloat();
    jlong popLong();
    jdouble popDouble();
    void drop(int n);
    Object* popNPushRef(Object* result, int n) { drop(n); pushRef(result); return result; }
    jint popNPushInt(jint result, int n) { drop(n); pushInt(result); return result; }
    // Word n below the top (0 = top); a kHigh word answers the whole 64-bit value.
    jlong peekValue(int n) const;
    void popBool(jboolean* out) { *out = pop() != 0 ? 1 : 0; }

    // --- shuffles ----------------------------------------------------------------
    void dup2();
    void dup2_x1();
    void dup_x2();
    void iand();

    // --- compares (pop b then a; answer the branch condition) -----------------
    jint if_icmpge() { jint b = popInt(), a = popInt(); return a >= b; }
    jint if_icmple() { jint b = popInt(), a = popInt(); return a <= b; }
    jint if_icmplt() { jint b = popInt(), a = popInt(); return a < b; }
    jint if_icmpeq() { jint b = popInt(), a = popInt(); return a == b; }
    jint if_icmpne() { jint b = popInt(), a = popInt(); return a != b; }
    // Pushes 0 when a - b (single precision) is 0, 1 when above, else -1
    // (unordered and equal infinities give -1).
    void fcmpl();

    // --- elements and fields -------------------------------------------------
    void iaload();
    void saload();
    void caload();
    void baload();
    void aaload();
    void iastore();
    void castore();
    // Null-checks the object one below the top, pops the value into the
    // field and pops the object.
    void putfield(jint* field);
    void putfieldRef(Object** field);
    void putfieldBool(jboolean* field);

    // --- types and control ------------------------------------------------------
    void instanceOf(jint classId);
    // Logs "check cast" and the stack trace on failure; the reference stays.
    void checkcast(jint classId);
    void arrayLength();
    void athrow();
    // Pops dims counts (the first pushed is the outermost) and pushes the array.
    ObjectArray* newMultiArray(const char* descriptor, int dims);
    void dump() const;

protected:
    void push(Slot v, uint8_t tag) {
        *m_top++ = v;
        *m_tagTop++ = tag;
    }
    Slot pop() {
        --m_tagTop;
        return *--m_top;
    }
    Object* popArray(jint* index, jint classLo, jint classHi);

    Slot* m_base = nullptr;
    Slot* m_top = nullptr;
    uint8_t* m_tagBase = nullptr;
    uint8_t* m_tagTop = nullptr;
};

// A stack of N words with its tags, living in the converted method's frame.
template <int N>
class OperandFrame : public OperandStack {
public:
    OperandFrame() { init(m_values, m_tags); }

private:
    Slot m_values[N];
    uint8_t m_tags[N];
};
