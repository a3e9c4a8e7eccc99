// Small helpers shared by the java.io stream classes: the bounds test every
// bulk read and write makes before touching an array, and the pending test.
#pragma once

#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/object.h"

namespace javaio {

// True when [off, off + len) lies inside the array. Otherwise raises
// java_lang_NullPointerException (null array) or
// java_lang_IndexOutOfBoundsException and answers false.
inline bool checkRange(const ArrayBase* array, jint off, jint len) {
    if (!array) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return false;
    }
    if (off < 0 || len < 0 || off > array->length() - len) {
        rt::throwNewDefault(cid::java_lang_IndexOutOfBoundsException);
        return false;
    }
    return true;
}

inline bool pending() { return Application::pendingException() != nullptr; }

}  // namespace javaio
