// Throwable classes, the per-thread pending exception, handler look-up,
// the method-name stack and stack-trace text.
#include "runtime/exception.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/threads.h"

namespace {

// Threads that are not attached still get a usable (unscanned) state.
rt::ThreadContext& stateOfCaller() {
    if (rt::ThreadContext* c = rt::currentContext()) return *c;
    thread_local rt::ThreadContext detached;
    return detached;
}

const uint16_t kThrowableIds[] = {54, 35, 34, 55, 47, 50, 26, 28, 37, 46, 38, 39, 40, 27, 45,
                                  59, 65, 32, 42, 22, 20, 25, 76, 101, 116, 109, 117, 118, 119};

}  // namespace

java_lang_Throwable::java_lang_Throwable(uint16_t classId) : Object(classId) {
    m_message = nullptr;
    m_stackTrace = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_message, &m_stackTrace});
}

bool java_lang_Throwable::isThrowableClass(jint classId) {
    for (uint16_t id : kThrowableIds)
        if (id == classId) return true;
    return false;
}

java_lang_Throwable* java_lang_Throwable::make(uint16_t classId) {
    java_lang_Throwable* t = newObject<java_lang_Throwable>(classId);
    StaticClass* statics = StaticClass::instance();
    if (statics && statics->m_stringPool) t->m_message = StaticClass::getStringConstant(1);
    return t;
}

java_lang_Throwable* java_lang_Throwable::make(uint16_t classId, String* message) {
    java_lang_Throwable* t = newObject<java_lang_Throwable>(classId);
    t->m_message = message;
    return t;
}

java_lang_Throwable* java_lang_Throwable::makeIndexOutOfBounds(jint index) {
    java_lang_Throwable* t = newObject<java_lang_Throwable>(cid::java_lang_ArrayIndexOutOfBoundsException);
    std::string text;
    StaticClass* statics = StaticClass::instance();
    if (statics && statics->m_stringPool) text = toUtf8(StaticClass::getStringConstant(187));
    text += std::to_string(index);
    t->m_message = String::fromUtf8(text);
    return t;
}

namespace rt {

void throwNew(uint16_t classId, String* message) {
    Application::throwException(java_lang_Throwable::make(classId, message));
}

void throwNewDefault(uint16_t classId) { Application::throwException(java_lang_Throwable::make(classId)); }

void logNullPointer() { logWithStackTrace("NullPointer"); }

void logWithStackTrace(const char* message) {
    logPrintf("%s", message);
    Application::logStackTrace();
}

}  // namespace rt

// --- Application: pending exception --------------------------------------

void Application::throwException(Object* throwable) {
    if (!throwable) {
        rt::logNullPointer();
        return;
    }
    String* trace = formatStackTrace();
    if (java_lang_Throwable::isThrowableClass(throwable->classId()))
        static_cast<java_lang_Throwable*>(throwable)->m_stackTrace = trace;
    stateOfCaller().pending = throwable;
}

jint Application::checkException(jint site) {
    rt::ThreadContext& c = stateOfCaller();
    if (!c.pending) return 0;
    c.pendingSite = site;
    return 1;
}

Object* Application::pendingException() { return stateOfCaller().pending; }
jint Application::pendingSite() { return stateOfCaller().pendingSite; }

void Application::clearPendingException() {
    rt::ThreadContext& c = stateOfCaller();
    c.pending = nullptr;
    c.pendingSite = 0;
}

jint Application::findHandler(const jint* table) {
    rt::ThreadContext& c = stateOfCaller();
    Object* e = c.pending;
    if (!e || !table) return -1;
    StaticClass* statics = StaticClass::instance();
    for (jint k = 0; table[3 * k] != 0; ++k) {
        const jint catchId = table[3 * k];
        const jint first = table[3 * k + 1];
        const jint last = table[3 * k + 2];
        if (c.pendingSite < first || c.pendingSite >= last) continue;
        bool matches = e->getInterface(catchId) != nullptr;
        if (!matches && statics) matches = isSubclassOf(statics->classOf(e), statics->classById(catchId));
        if (!matches) continue;
        c.pending = nullptr;
        return k;
    }
    return -1;
}

bool Application::drainPendingException(const char* where) {
    rt::ThreadContext& c = stateOfCaller();
    Object* e = c.pending;
    if (!e) return false;
    StaticClass* statics = StaticClass::instance();
    const Class* record = statics ? statics->classOf(e) : nullptr;
    std::string message;
    if (java_lang_Throwable::isThrowableClass(e->classId()))
        message = toUtf8(static_cast<java_lang_Throwable*>(e)->m_message);
    logPrintf("uncaught exception %s (%s) in %s, site %d", record ? record->m_name : "?", message.c_str(),
              where ? where : "?", c.pendingSite);
    c.pending = nullptr;
    c.pendingSite = 0;
    return true;
}

// --- Application: method-name stack and traces ---------------------------

void Application::pushMethod(const char* name) {
    rt::ThreadContext& c = stateOfCaller();
    if (c.methodDepth < rt::ThreadContext::kMethodStack) c.methods[c.methodDepth] = name;
    ++c.methodDepth;
}

void Application::popMethod() {
    rt::ThreadContext& c = stateOfCaller();
    if (c.methodDepth > 0) --c.methodDepth;
}

uint32_t Application::methodDepth() { return stateOfCaller().methodDepth; }

void Application::formatStackTrace(char* buffer, size_t size) {
    if (size == 0) return;
    rt::ThreadContext& c = stateOfCaller();
    size_t used = 0;
    auto put = [&](const char* text) {
        size_t n = std::strlen(text);
        if (used + n + 1 > size) return false;  // names that would not fit are left out
        std::memcpy(buffer + used, text, n);
        used += n;
        return true;
    };
    buffer[0] = '\0';
    put("stacktrace:\n");
    uint32_t kept = c.methodDepth < rt::ThreadContext::kMethodStack ? c.methodDepth : rt::ThreadContext::kMethodStack;
    for (uint32_t i = kept; i-- > 0;) {
        const char* name = c.methods[i] ? c.methods[i] : "?";
        if (used + std::strlen(name) + 2 > size) break;
        put(name);
        put("\n");
    }
    buffer[used] = '\0';
}

String* Application::formatStackTrace() {
    char buffer[512];
    formatStackTrace(buffer, sizeof buffer);
    return String::fromLatin1(buffer);
}

void Application::logStackTrace() {
    char buffer[512];
    formatStackTrace(buffer, sizeof buffer);
    logPrintf("%s", buffer);
}
