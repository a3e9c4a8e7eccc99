// Converted halves of Thread, Runtime and System, and AudioClip.
#include <atomic>

#include "javalib/hashtable.h"
#include "javalib/outputstreams.h"
#include "tests/javalib/lang_fixture.h"

namespace {

class Lang : public LangTest {};

TEST_F(Lang, SetPriorityAcceptsOneToTen) {
    auto* t = newObject<java_lang_Thread>();
    t->setPriority(4);
    for (jint bad : {0, 11, -1}) {
        t->setPriority(bad);
        Object* e = Application::pendingException();
        ASSERT_NE(e, nullptr) << bad;
        EXPECT_EQ(e->classId(), cid::java_lang_IllegalArgumentException);
        Application::clearPendingException();
        EXPECT_EQ(t->getPriority(), 4);
    }
    t->setPriority(10);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_EQ(t->getPriority(), 10);
}

std::atomic<bool> g_release{false};

TEST_F(Lang, SetPriorityReachesTheNativeThread) {
    g_release = false;
    auto* t = newObject<java_lang_Thread>(newObject<Task>([](void*) { waitFor([] { return g_release.load(); }); }, nullptr));
    ASSERT_GE(java_lang_Thread::start(t), 0);
    t->setPriority(10);
    EXPECT_EQ(m_app->threads().nativePriorityOf(t), java_lang_Thread::nativePriorityFor(10));
    g_release = true;
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(t); }));
}

TEST_F(Lang, ConstructorTakesTheCreatorsPriority) {
    // The main thread's priority.
    auto* target = newObject<Task>([](void*) {}, nullptr);
    auto* t = newObject<java_lang_Thread>();
    javalib::constructThread(t, target);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_EQ(t->getPriority(), java_lang_Thread::currentThread()->getPriority());
    EXPECT_EQ(t->m_target, target);
    t->run();  // runs the target's run

    // Made on a thread of priority 7: 7, before it is started.
    static jint made;
    made = -1;
    auto* creator = newObject<java_lang_Thread>(newObject<Task>(
        [](void*) {
            auto* inner = newObject<java_lang_Thread>();
            javalib::constructThread(inner, nullptr);
            made = inner->getPriority();
        },
        nullptr));
    creator->setPriority(7);
    ASSERT_GE(java_lang_Thread::start(creator), 0);
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(creator); }));
    EXPECT_EQ(made, 7);

    // A creator whose priority lies outside 1-10 makes the constructor throw
    // after priority and target are stored.
    static jint storedPriority;
    static bool stored, raised;
    auto* zero = newObject<java_lang_Thread>(newObject<Task>(
        [](void*) {
            auto* inner = newObject<java_lang_Thread>();
            auto* innerTarget = newObject<Object>(cid::Object);
            javalib::constructThread(inner, innerTarget);
            raised = Application::pendingException() &&
                     Application::pendingException()->classId() == cid::java_lang_IllegalArgumentException;
            Application::clearPendingException();
            storedPriority = inner->getPriority();
            stored = inner->m_target == innerTarget;
        },
        nullptr));
    ASSERT_GE(java_lang_Thread::start(zero), 0);  // never given a priority: 0
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(zero); }));
    EXPECT_TRUE(raised);
    EXPECT_EQ(storedPriority, 0);
    EXPECT_TRUE(stored);
}

TEST_F(Lang, ThreadWithoutTargetRunsNothingAndPrintsItsPoolText) {
    auto* t = newObject<java_lang_Thread>();
    t->run();
    EXPECT_EQ(Application::pendingException(), nullptr);
    t->setPriority(5);
    const std::string expected = "Thread[" + std::to_string(t->hashCode()) + ", 5]";
    EXPECT_EQ(t->toString()->toUtf8(), expected);
}

TEST_F(Lang, RuntimeIsOneObject) {
    java_lang_Runtime* r = java_lang_Runtime::getRuntime();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->classId(), cid::java_lang_Runtime);
    collect();
    EXPECT_EQ(java_lang_Runtime::getRuntime(), r);
    r->gc();
    r->exit(0);  // empty in the converted class
    EXPECT_EQ(java_lang_Runtime::getRuntime(), r);
}

TEST_F(Lang, SystemInitialiserBuildsTheConsoleAndThePropertyTable) {
    java_lang_System_Statics* s = systemStatics();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->out, nullptr);
    EXPECT_EQ(s->out, s->err);
    EXPECT_EQ(s->out->classId(), cid::java_io_PrintStream);
    auto* out = static_cast<java_io_PrintStream*>(s->out);
    out->println(S("discarded"));  // the console shows nothing
    EXPECT_EQ(Application::pendingException(), nullptr);
    ASSERT_NE(s->props, nullptr);
    auto* props = static_cast<java_util_Hashtable*>(s->props);
    EXPECT_EQ(props->classId(), cid::java_util_Hashtable);
    EXPECT_EQ(props->capacity(), 11);
    EXPECT_EQ(props->m_threshold, 8);
    EXPECT_EQ(props->size(), 1);
    EXPECT_EQ(props->get(pool(190)), pool(191));
}

TEST_F(Lang, GetPropertyLooksKeysUpInTheTable) {
    EXPECT_EQ(java_lang_System::getProperty(pool(190)), pool(191));
    EXPECT_EQ(java_lang_System::getProperty(S("test.key")), pool(191));  // equal text, another object
    EXPECT_EQ(java_lang_System::getProperty(S("test.key.longer"))->toUtf8(), "PROPERTY VALUE EMPTY");
    EXPECT_EQ(java_lang_System::getProperty(S("microedition.platform"))->toUtf8(), "PROPERTY VALUE EMPTY");
    EXPECT_EQ(java_lang_System::getProperty(S("microedition.media.version"))->toUtf8(), "1.0");
    collect();
    EXPECT_EQ(java_lang_System::getProperty(pool(190)), pool(191));
}

struct FakePlayer {
    static inline int starts = 0;
    static inline int stops = 0;
    static void start(Object*) { ++starts; }
    static void stop(Object*) { ++stops; }
};

TEST_F(Lang, AudioClipForwardsToItsPlayerOnly) {
    auto* clip = newObject<com_samsung_util_AudioClip>();
    com_samsung_util_AudioClip::initLocation(clip, 1, S("/sound.mid"));
    EXPECT_EQ(clip->m_player, nullptr);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(clip->isAvailable());
    static const com_samsung_util_AudioClip::PlayerCalls calls = {&FakePlayer::start, &FakePlayer::stop};
    com_samsung_util_AudioClip::setPlayerCalls(&calls);
    FakePlayer::starts = FakePlayer::stops = 0;
    clip->pause();
    clip->resume();
    clip->stop();
    EXPECT_EQ(FakePlayer::starts + FakePlayer::stops, 0);  // no player: nothing
    clip->m_player = newObject<Object>(cid::Object);
    clip->pause();
    clip->resume();
    clip->stop();
    EXPECT_EQ(FakePlayer::starts, 1);
    EXPECT_EQ(FakePlayer::stops, 2);
    com_samsung_util_AudioClip::setPlayerCalls(nullptr);
    m_log.clear();
    clip->resume();
    EXPECT_TRUE(m_log.contains("no media layer"));
}

}  // namespace
