// Arrays: creation, element kinds, bad lengths, CharArray text, arraycopy.
#include "tests/runtime/fixture.h"

namespace {

class Arrays : public RuntimeTest {};

TEST_F(Arrays, CreationKindsAndEmptyArrays) {
    struct Case { ArrayBase* array; uint16_t id; jint size; };
    const Case cases[] = {
        {newObjectArray(cid::Object, 2), cid::ObjectArray, sizeof(void*)}, {newBoolArray(2), cid::BoolArray, 1},
        {newByteArray(2), cid::ByteArray, 1}, {newCharArray(2), cid::CharArray, 2}, {newShortArray(2), cid::ShortArray, 2},
        {newIntArray(2), cid::IntArray, 4}, {newLong64Array(2), cid::Long64Array, 8},
        {newFloatArray(2), cid::FloatArray, 4}, {newDoubleArray(2), cid::DoubleArray, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.array->classId(), c.id);
        EXPECT_EQ(c.array->elementSize(), c.size);
        EXPECT_EQ(c.array->length(), 2);
        EXPECT_TRUE(m_app->dataHeap().owns(c.array->rawElements()));
    }
    IntArray* empty = newIntArray(0);
    EXPECT_EQ(empty->length(), 0);
    EXPECT_EQ(empty->data(), nullptr);
}

TEST_F(Arrays, NegativeAndHugeLengthsFailCleanly) {
    IntArray* negative = newIntArray(-3);
    EXPECT_EQ(negative->length(), -3);
    EXPECT_EQ(negative->data(), nullptr);
    EXPECT_TRUE(m_log.contains("length of array should be >= 0"));
    EXPECT_EQ(IntArray::at(negative, 0), 0);
    Long64Array* huge = newLong64Array(java::kIntMax);
    EXPECT_EQ(huge->length(), 0);
    EXPECT_EQ(huge->data(), nullptr);
    IntArray::set(nullptr, 0, 1);
    EXPECT_TRUE(m_log.contains("NullPointer"));
}

TEST_F(Arrays, DataHeapFullFallsBackToTheCHeap) {
    Application::instance()->close();
    startApp(1 << 20, 4096);
    ByteArray* big = newByteArray(8192);
    ASSERT_NE(big->data(), nullptr);
    EXPECT_FALSE(m_app->dataHeap().owns(big->data()));
    big->data()[8191] = 1;
    collect();  // freed through the C heap when swept
}

TEST_F(Arrays, CharArrayTextStopsAtZeroOrLength) {
    CharArray* a = newCharArray(5);
    for (jint i = 0; i < 5; ++i) a->data()[i] = static_cast<jchar>('a' + i);
    EXPECT_EQ(a->toString()->toUtf8(), "abcde");
    a->data()[2] = 0;
    EXPECT_EQ(a->toString()->toUtf8(), "ab");
}

TEST_F(Arrays, ArraycopyOverlapsWidthsAndChecks) {
    IntArray* a = IntArray::fill(newIntArray(6), {1, 2, 3, 4, 5, 6});
    java_lang_System::arraycopy(a, 0, a, 2, 4);
    const jint expected[] = {1, 2, 1, 2, 3, 4};
    for (jint i = 0; i < 6; ++i) EXPECT_EQ(a->data()[i], expected[i]);
    java_lang_System::arraycopy(a, 2, a, 0, 4);
    EXPECT_EQ(a->data()[0], 1);
    EXPECT_EQ(a->data()[3], 4);

    DoubleArray* d = newDoubleArray(3);
    DoubleArray* e = newDoubleArray(3);
    d->data()[1] = 1.5;
    d->data()[2] = -2.25;
    java_lang_System::arraycopy(d, 1, e, 0, 2);
    EXPECT_EQ(e->data()[0], 1.5);
    EXPECT_EQ(e->data()[1], -2.25);

    java_lang_System::arraycopy(a, 4, a, 0, 3);  // past the end
    EXPECT_EQ(Application::pendingException()->classId(), cid::java_lang_ArrayIndexOutOfBoundsException);
    Application::clearPendingException();
    java_lang_System::arraycopy(a, 0, d, 0, 1);  // different kinds
    EXPECT_EQ(Application::pendingException()->classId(), cid::java_lang_ArrayStoreException);
    Application::clearPendingException();
    java_lang_System::arraycopy(a, 0, a, 0, 0);
    EXPECT_EQ(Application::pendingException(), nullptr);
}

TEST_F(Arrays, ExternalBuffersAreNeverFreed) {
    static jshort pixels[16] = {1, 2, 3};
    ShortArray* screen = ShortArray::wrapExternal(pixels, 16);
    EXPECT_EQ(ShortArray::at(screen, 2), 3);
    screen = nullptr;
    collect();
    EXPECT_EQ(pixels[2], 3);
}

}  // namespace
