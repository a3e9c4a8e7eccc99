// Pending exceptions, handler tables, the method-name stack and traces.
#include "tests/runtime/fixture.h"

namespace {

class Exceptions : public RuntimeTest {};

TEST_F(Exceptions, HandlerLookupBySiteAndClass) {
    const jint table[] = {35, 0, 7, 35, 8, 10, 35, 11, 12, 0, 0, 0};
    struct Case { jint site; jint expected; };
    const Case cases[] = {{11, 2}, {7, -1}, {0, 0}, {9, 1}, {12, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.site);
        Application::throwException(java_lang_Throwable::make(cid::java_lang_IllegalStateException, nullptr));
        ASSERT_EQ(Application::checkException(c.site), 1);
        EXPECT_EQ(Application::findHandler(table), c.expected);
        EXPECT_EQ(Application::pendingException() == nullptr, c.expected >= 0);
        Application::clearPendingException();
    }
    EXPECT_EQ(Application::checkException(3), 0);
    EXPECT_EQ(Application::findHandler(table), -1);
}

TEST_F(Exceptions, CatchClassMatchesSubclassesOnly) {
    struct Case { jint catchId; bool matches; };
    const Case cases[] = {{22, true}, {35, true}, {54, true}, {50, false}, {25, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.catchId);
        const jint table[] = {c.catchId, 0, 5, 0, 0, 0};
        Application::throwException(java_lang_Throwable::make(cid::java_io_EOFException, nullptr));
        Application::checkException(1);
        EXPECT_EQ(Application::findHandler(table), c.matches ? 0 : -1);
        Application::clearPendingException();
    }
}

TEST_F(Exceptions, ThrowRecordsTheStackTraceText) {
    EXPECT_EQ(Application::formatStackTrace()->toUtf8(), "stacktrace:\n");
    MethodScope outer("cGame::run");
    MethodScope inner("cGame::update");
    auto* t = java_lang_Throwable::make(cid::java_lang_Exception, String::fromUtf8("boom"));
    EXPECT_EQ(t->getStackTraceText(), nullptr);
    Application::throwException(t);
    EXPECT_EQ(toUtf8(t->getStackTraceText()), "stacktrace:\ncGame::update\ncGame::run\n");
    EXPECT_EQ(t->toString(), t->getMessage());
    Application::clearPendingException();
}

TEST_F(Exceptions, MethodStackIsBoundedAndTraceIsCut) {
    static char names[300][32];
    for (int i = 0; i < 300; ++i) {
        snprintf(names[i], sizeof names[i], "Method%03d::withALongName", i);
        Application::pushMethod(names[i]);
    }
    EXPECT_EQ(Application::methodDepth(), 300u);
    std::string trace = Application::formatStackTrace()->toUtf8();
    EXPECT_LE(trace.size(), 511u);
    EXPECT_EQ(trace.back(), '\n');
    EXPECT_NE(trace.find("Method255"), std::string::npos);  // the deepest kept entry
    for (int i = 0; i < 300; ++i) Application::popMethod();
    EXPECT_EQ(Application::methodDepth(), 0u);
    Application::popMethod();  // unbalanced pops stay at zero
    EXPECT_EQ(Application::methodDepth(), 0u);
}

TEST_F(Exceptions, PoolMessagesAndIndexMessage) {
    // Without a pool the () form has no message; the int form keeps the number.
    auto* plain = java_lang_Throwable::make(cid::java_lang_Exception);
    EXPECT_EQ(plain->getMessage(), nullptr);
    auto* index = java_lang_Throwable::makeIndexOutOfBounds(-1);
    EXPECT_EQ(toUtf8(index->getMessage()), "-1");
    EXPECT_EQ(index->classId(), cid::java_lang_ArrayIndexOutOfBoundsException);
}

TEST_F(Exceptions, DrainLogsAndClears) {
    EXPECT_FALSE(Application::drainPendingException("keyPressed"));
    rt::throwNew(cid::java_lang_IllegalArgumentException, String::fromUtf8("bad key"));
    EXPECT_TRUE(Application::drainPendingException("keyPressed"));
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(m_log.contains("uncaught exception java_lang_IllegalArgumentException (bad key) in keyPressed"));
}

}  // namespace
