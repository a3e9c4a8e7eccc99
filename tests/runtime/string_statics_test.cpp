// String core and the statics block: creation and reading back, slots,
// contributions, root slots and class-initialiser order.
#include <cstddef>

#include "tests/runtime/fixture.h"

namespace {

class Strings : public RuntimeTest {};

TEST_F(Strings, InlineUpToFourteenUnitsThenDataHeap) {
    String* s14 = String::fromLatin1("abcdefghijklmn");
    String* s15 = String::fromLatin1("abcdefghijklmno");
    EXPECT_EQ(s14->chars(), s14->m_inline);
    EXPECT_NE(s15->chars(), s15->m_inline);
    EXPECT_TRUE(m_app->dataHeap().owns(s15->chars()));
    EXPECT_EQ(s15->count(), 16);
    EXPECT_EQ(s15->chars()[15], 0);
}

TEST_F(Strings, ConversionsRoundTrip) {
    struct Case { const char* utf8; std::u16string units; };
    const Case cases[] = {
        {"", u""}, {"plain", u"plain"}, {"caf\xC3\xA9", u"caf\u00e9"}, {"\xE2\x82\xAC", u"\u20ac"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
    };
    for (const Case& c : cases) {
        String* s = String::fromUtf8(c.utf8);
        EXPECT_EQ(s->toUtf16(), c.units);
        EXPECT_EQ(s->toUtf8(), c.utf8);
    }
    EXPECT_EQ(String::fromUtf8("a\xFF" "b")->toUtf16(), u"a\ufffdb");
    EXPECT_EQ(String::fromCString("\xE9")->charAt(0), 0xE9);
    EXPECT_EQ(String::fromLatin1("\xE9")->toLatin1(), "\xE9");
    const jchar wide[] = {'h', 'i', 0};
    EXPECT_EQ(String::fromWideString(wide)->toUtf8(), "hi");
}

TEST_F(Strings, SlotsFollowJavaStringRules) {
    EXPECT_EQ(String::fromLatin1("a")->hashCode(), 31 * 97);
    EXPECT_EQ(String::empty()->hashCode(), 0);
    String* a = String::fromLatin1("same text, long enough");
    String* b = String::copyOf(a);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a->equals(b));
    EXPECT_FALSE(a->equals(newObject<Object>(cid::Object)));
    EXPECT_FALSE(a->equals(nullptr));
    EXPECT_EQ(String::fromLatin1("ab")->compareTo(String::fromLatin1("abc")), -'c');
    EXPECT_TRUE(String::fromLatin1("java_util_Hashtable")->equalsC("java_util_Hashtable_Entry"));
    EXPECT_EQ(a->toString(), a);
}

struct TestStatics {
    jint counter;
    Object* held;
    String* name;
    jbyte flag;
};
std::vector<std::string> g_order;
StaticsContribution g_runtimeStatics = StaticsContribution::of<TestStatics>("java_lang_Runtime", kClinitRuntime, [] {
    g_order.push_back("Runtime");
});
StaticsContribution g_gameStatics = StaticsContribution::of<TestStatics>(
    "cGame", kClinitGame,
    [] {
        g_order.push_back("cGame");
        TestStatics* s = statics<TestStatics>(g_gameStatics);
        s->counter = 42;
        s->held = newObject<Object>(cid::Object);
        s->name = String::fromUtf8("kept by a static field only");
    },
    {offsetof(TestStatics, held), offsetof(TestStatics, name)});
StaticsContribution g_systemStatics = StaticsContribution::of<TestStatics>("java_lang_System", kClinitSystem, [] {
    g_order.push_back("System");
    rt::throwNew(cid::java_lang_IllegalStateException);  // left pending: logged and cleared
});
StaticsContribution g_booleanStatics =
    StaticsContribution::of<TestStatics>("java_lang_Boolean", kClinitBoolean, [] { g_order.push_back("Boolean"); });

class Statics : public RuntimeTest {
protected:
    void SetUp() override {
        g_order.clear();
        startApp(kObjectHeap, kDataHeap, {&g_runtimeStatics, &g_gameStatics, &g_systemStatics, &g_booleanStatics});
    }
};

TEST_F(Statics, InitialisersRunInOrderAndStaticFieldsAreRoots) {
    EXPECT_EQ(g_order, (std::vector<std::string>{"System", "Boolean", "cGame", "Runtime"}));
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(m_log.contains("in java_lang_System"));
    EXPECT_EQ(m_app->statics().rootSlots().size(), 2u);
    collect();
    TestStatics* s = statics<TestStatics>(g_gameStatics);
    EXPECT_EQ(s->counter, 42);
    EXPECT_TRUE(om().isRegistered(s->held));
    EXPECT_EQ(toUtf8(s->name), "kept by a static field only");
    EXPECT_EQ(statics<TestStatics>(g_runtimeStatics)->counter, 0);
}

TEST_F(Statics, StringPoolEntriesAreServedAndOutOfRangeIsLogged) {
    EXPECT_EQ(StaticClass::getStringConstant(0), nullptr);
    EXPECT_TRUE(m_log.contains("NullPointer"));
    ObjectArray* pool = newObjectArray(cid::String, 2);
    m_app->statics().m_stringPool = pool;
    String* first = String::fromUtf8("a literal long enough to live on the data heap");
    first->setCollectable(false);
    pool->data()[0] = first;
    collect();
    EXPECT_EQ(StaticClass::getStringConstant(0), first);
    EXPECT_EQ(StaticClass::getStringConstant(0)->toUtf8(), "a literal long enough to live on the data heap");
    EXPECT_EQ(StaticClass::getStringConstant(5), nullptr);
}

}  // namespace
