// Java exceptions as pending state, not C++ exceptions.
//
// A throw stores the stack-trace text in the Throwable and makes it the
// calling thread's pending exception. After each call that may throw,
// converted code tests Application::checkException(site); a method with
// handlers then calls Application::findHandler(table), a method without
// returns a default at once. See runtime/README.md for the pattern.
//
// All throwable classes share one shape (message, stack-trace text) and one
// dispatch table; they differ only in class id.
#pragma once

#include "runtime/object.h"

class java_lang_Throwable : public Object {
public:
    // Fields null; registers both reference fields with the collector.
    explicit java_lang_Throwable(uint16_t classId = cid::java_lang_Throwable);

    // () form: message = string-pool entry 1.
    static java_lang_Throwable* make(uint16_t classId);
    // (String) form: message may be null.
    static java_lang_Throwable* make(uint16_t classId, String* message);
    // java_lang_ArrayIndexOutOfBoundsException(int): pool entry 187 + index.
    static java_lang_Throwable* makeIndexOutOfBounds(jint index);

    // Slot 3: the message itself (null for none).
    String* toString() override { return m_message; }
    String* getMessage() const { return m_message; }
    String* getStackTraceText() const { return m_stackTrace; }
    // The console discards everything: nothing is visible.
    void printStackTrace() {}

    static bool isThrowableClass(jint classId);

    String* m_message;
    String* m_stackTrace;
};

namespace rt {
// Creates an exception of classId ((String) form, or () form when message
// is null and useDefaultMessage) and throws it.
void throwNew(uint16_t classId, String* message = nullptr);
void throwNewDefault(uint16_t classId);
}  // namespace rt
