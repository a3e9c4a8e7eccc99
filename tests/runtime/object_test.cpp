// Object header, class registry, type tests and Object's slots.
#include "tests/runtime/fixture.h"

namespace {

class ObjectModel : public RuntimeTest {};

TEST_F(ObjectModel, HeaderIsTwoWordsAndNewObjectsAreMarkedAndCollectable) {
    Object* o = newObject<Object>(cid::Object);
    EXPECT_EQ(sizeof(Object), 2 * sizeof(void*));
    EXPECT_EQ(o->classId(), cid::Object);
    EXPECT_TRUE(o->isCollectable());
    EXPECT_TRUE(o->isMarked());
    java_lang_Thread* t = newObject<java_lang_Thread>();
    EXPECT_FALSE(t->isCollectable());
}

TEST_F(ObjectModel, ForNameMatchesByPrefixInIdOrder) {
    struct Case { const char* name; int id; };
    const Case cases[] = {
        {"java.util.Vector", 74},
        {"java_util_Vector", 74},
        {"java.util.Hashtable", 61},  // first registry name that begins with it
        {"Object", 0},
        {"no.such.Klass", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Class* record = Class::forName(String::fromLatin1(c.name));
        if (c.id < 0) EXPECT_EQ(record, nullptr);
        else {
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->m_id, c.id);
        }
    }
    EXPECT_EQ(Class::getName(m_app->statics().classById(74))->toUtf8(), "java_util_Vector");
}

// A small converted-class family for the type tests.
class FakeSprite : public Object {
public:
    explicit FakeSprite(uint16_t id) : Object(id) {}
};

TEST_F(ObjectModel, InstanceOfFollowsSuperclassesAndInterfaces) {
    Object* bsprite = newObject<FakeSprite>(cid::BSprite);
    EXPECT_FALSE(instanceOf(nullptr, cid::Object));
    EXPECT_TRUE(instanceOf(bsprite, cid::cSprite));
    EXPECT_TRUE(instanceOf(bsprite, cid::ASprite));
    EXPECT_TRUE(instanceOf(bsprite, cid::Object));
    EXPECT_FALSE(instanceOf(bsprite, cid::BitmapFont));
    java_lang_Thread* t = newObject<java_lang_Thread>();
    EXPECT_TRUE(instanceOf(t, cid::java_lang_Runnable));
    Object* eof = java_lang_Throwable::make(cid::java_io_EOFException, nullptr);
    EXPECT_TRUE(instanceOf(eof, cid::java_io_IOException));
    EXPECT_TRUE(instanceOf(eof, cid::java_lang_Exception));
    EXPECT_FALSE(instanceOf(eof, cid::java_lang_RuntimeException));
}

TEST_F(ObjectModel, DefaultSlots) {
    Object* a = newObject<FakeSprite>(cid::cGame);
    Object* b = newObject<Object>(cid::Object);
    EXPECT_TRUE(a->equals(a));
    EXPECT_FALSE(a->equals(b));
    EXPECT_EQ(a->hashCode(), static_cast<jint>(reinterpret_cast<uintptr_t>(a)));
    char expected[64];
    snprintf(expected, sizeof expected, "Object_id=130 @0x%llx", (unsigned long long)reinterpret_cast<uintptr_t>(a));
    EXPECT_EQ(a->toString()->toUtf8(), expected);
    EXPECT_EQ(a->clone(), nullptr);
    EXPECT_TRUE(m_log.contains("clone"));
    EXPECT_EQ(a->getInterface(cid::java_lang_Runnable), nullptr);
}

TEST_F(ObjectModel, RefFieldOffsetsAreRecordedOnceAndClassesWithoutThemAreLeaves) {
    const Class* thread = m_app->statics().classById(cid::java_lang_Thread);
    java_lang_Thread* t = newObject<java_lang_Thread>();
    ASSERT_EQ(thread->m_refCount, 1);
    EXPECT_EQ(thread->m_refOffsets[0],
              static_cast<uint32_t>(reinterpret_cast<char*>(&t->m_target) - reinterpret_cast<char*>(t)));
    const Class* random = m_app->statics().classById(cid::java_util_Random);
    EXPECT_EQ(random->m_refOffsets, nullptr);
    EXPECT_EQ(random->m_refCount, 0);
}

TEST_F(ObjectModel, FactoryAnswersOnlyInstantiableIds) {
    EXPECT_EQ(NewInstanceFactory::newInstance(21), nullptr);
    EXPECT_EQ(NewInstanceFactory::newInstance(22), nullptr);
    EXPECT_EQ(NewInstanceFactory::newInstance(137), nullptr);
    EXPECT_EQ(NewInstanceFactory::newInstance(1000), nullptr);
    Object* t = NewInstanceFactory::newInstance(53);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->isCollectable());
    EXPECT_EQ(static_cast<java_lang_Thread*>(t)->m_target, nullptr);
    EXPECT_FALSE(java_lang_Thread::isAlive(static_cast<java_lang_Thread*>(t)));
    EXPECT_FALSE(NewInstanceFactory::registerCreator(22, [] { return static_cast<Object*>(nullptr); }));
}

}  // namespace
