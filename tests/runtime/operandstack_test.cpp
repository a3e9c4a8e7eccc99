// Operand stack: pushes, shuffles, compares, element access, multi-arrays.
#include <cmath>

#include "tests/runtime/fixture.h"

namespace {

class Operands : public RuntimeTest {};

TEST_F(Operands, ComparesAnswerBranchConditions) {
    struct Case { jint a, b; jint ge, le, lt, eq, ne; };
    const Case cases[] = {
        {1, 2, 0, 1, 1, 0, 1}, {2, 2, 1, 1, 0, 1, 0}, {-1, -2, 1, 0, 0, 0, 1}, {java::kIntMin, java::kIntMax, 0, 1, 1, 0, 1},
    };
    OperandFrame<4> s;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        s.pushInt(c.a); s.pushInt(c.b); EXPECT_EQ(s.if_icmpge(), c.ge);
        s.pushInt(c.a); s.pushInt(c.b); EXPECT_EQ(s.if_icmple(), c.le);
        s.pushInt(c.a); s.pushInt(c.b); EXPECT_EQ(s.if_icmplt(), c.lt);
        s.pushInt(c.a); s.pushInt(c.b); EXPECT_EQ(s.if_icmpeq(), c.eq);
        s.pushInt(c.a); s.pushInt(c.b); EXPECT_EQ(s.if_icmpne(), c.ne);
        EXPECT_EQ(s.depth(), 0);
    }
    struct FCase { jfloat a, b; jint expected; };
    const FCase fcases[] = {{1.0f, NAN, -1}, {2.0f, 2.0f, 0}, {3.0f, 2.0f, 1}, {1.0f, 2.0f, -1}, {INFINITY, INFINITY, -1}};
    for (const FCase& c : fcases) {
        s.pushFloat(c.a);
        s.pushFloat(c.b);
        s.fcmpl();
        EXPECT_EQ(s.popInt(), c.expected) << c.a << " " << c.b;
    }
}

TEST_F(Operands, ShufflesMoveValuesAndTags) {
    OperandFrame<16> s;
    Object* x = newObject<Object>(cid::Object);
    s.pushRef(x); s.pushInt(1); s.pushInt(2);
    s.dup2_x1();  // x 1 2 -> 1 2 x 1 2
    ASSERT_EQ(s.depth(), 5);
    EXPECT_EQ(s.peekValue(0), 2);
    EXPECT_EQ(s.peekValue(1), 1);
    EXPECT_EQ(s.peekValue(2), static_cast<jint>(reinterpret_cast<uintptr_t>(x)));
    EXPECT_EQ(s.tagAt(4), OperandStack::kRef);  // lower tags stay where they were
    EXPECT_EQ(s.tagAt(2), OperandStack::kValue);
    s.drop(5);

    s.pushRef(x); s.pushInt(1); s.pushInt(2);
    s.dup_x2();  // x 1 2 -> 2 x 1 2
    EXPECT_EQ(s.peekValue(0), 2);
    EXPECT_EQ(s.peekValue(1), 1);
    EXPECT_EQ(s.peekValue(3), 2);
    s.drop(4);

    s.pushInt(7); s.pushInt(8); s.dup2();
    EXPECT_EQ(s.depth(), 4);
    EXPECT_EQ(s.peekValue(1), 7);
    s.drop(4);

    s.pushInt(0b1100); s.pushInt(0b1010); s.iand();
    EXPECT_EQ(s.popInt(), 0b1000);

    s.pushLong(0x123456789ABCDEFLL);
    EXPECT_EQ(s.peekValue(0), 0x123456789ABCDEFLL);
    EXPECT_EQ(s.popLong(), 0x123456789ABCDEFLL);
    s.pushDouble(2.5);
    EXPECT_EQ(s.popDouble(), 2.5);

    s.pushInt(1); s.pushInt(2);
    EXPECT_EQ(s.popNPushInt(9, 0), 9);  // n = 0 pushes without dropping
    EXPECT_EQ(s.depth(), 3);
    s.popNPushRef(nullptr, 3);
    EXPECT_EQ(s.tagAt(0), OperandStack::kValue);
    jboolean b = 5;
    s.popBool(&b);
    EXPECT_EQ(b, 0);
}

TEST_F(Operands, ElementAccessTypesAndNullConvention) {
    OperandFrame<8> s;
    IntArray* ints = newIntArray(3);
    s.pushRef(ints); s.pushInt(1); s.pushInt(-5); s.iastore();
    s.pushRef(ints); s.pushInt(1); s.iaload();
    EXPECT_EQ(s.popInt(), -5);
    ShortArray* shorts = newShortArray(2);
    s.pushRef(shorts); s.pushInt(0); s.pushInt(0x18000); s.castore();
    s.pushRef(shorts); s.pushInt(0); s.saload();
    EXPECT_EQ(s.popInt(), -32768);
    CharArray* chars = newCharArray(2);
    s.pushRef(chars); s.pushInt(0); s.pushInt(-1); s.castore();
    s.pushRef(chars); s.pushInt(0); s.caload();
    EXPECT_EQ(s.popInt(), 0xFFFF);
    ByteArray* bytes = ByteArray::fill(newByteArray(2), 2, 0x1FF, 3);
    s.pushRef(bytes); s.pushInt(0); s.baload();
    EXPECT_EQ(s.popInt(), -1);

    s.pushRef(nullptr); s.pushInt(0); s.iaload();
    EXPECT_EQ(s.popInt(), 0);
    EXPECT_TRUE(m_log.contains("NullPointer"));
    s.pushRef(ints); s.pushInt(3); s.iaload();  // outside: logged, reads 0
    EXPECT_EQ(s.popInt(), 0);
    EXPECT_EQ(s.depth(), 0);

    s.pushRef(ints); s.arrayLength();
    EXPECT_EQ(s.popInt(), 3);
    s.pushRef(nullptr); s.checkcast(cid::String);  // null passes silently
    EXPECT_FALSE(m_log.contains("check cast"));
    s.checkcast(cid::String);
    s.drop(1);
    s.pushRef(ints); s.checkcast(cid::String);
    EXPECT_TRUE(m_log.contains("check cast"));
    s.instanceOf(cid::Object);
    EXPECT_EQ(s.popInt(), 1);
}

TEST_F(Operands, MultiArraysFollowTheDescriptor) {
    OperandFrame<4> s;
    s.pushInt(3); s.pushInt(4);
    ObjectArray* grid = s.newMultiArray("[[I", 2);
    ASSERT_EQ(s.depth(), 1);
    ASSERT_EQ(grid->length(), 3);
    for (jint i = 0; i < 3; ++i) {
        Object* row = grid->data()[i];
        ASSERT_EQ(row->classId(), cid::IntArray);
        EXPECT_EQ(static_cast<IntArray*>(row)->length(), 4);
        EXPECT_EQ(static_cast<IntArray*>(row)->data()[3], 0);
    }
    s.drop(1);
    s.pushInt(3);
    ObjectArray* nulls = s.newMultiArray("[[I", 1);
    for (jint i = 0; i < 3; ++i) EXPECT_EQ(nulls->data()[i], nullptr);
    s.drop(1);
    s.pushInt(2); s.pushInt(5);
    ObjectArray* cube = s.newMultiArray("[[[I", 2);
    for (jint i = 0; i < 2; ++i) {
        auto* inner = static_cast<ObjectArray*>(cube->data()[i]);
        ASSERT_EQ(inner->classId(), cid::ObjectArray);
        EXPECT_EQ(inner->length(), 5);
        EXPECT_EQ(inner->data()[4], nullptr);
    }
}

}  // namespace
