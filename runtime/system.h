// java_lang_System natives. The runtime core provides arraycopy; the
// number, time and property natives join this class.
#pragma once

#include "runtime/object.h"

class java_lang_System {
public:
    // Copies length elements; overlap-safe within one array. Null arrays are
    // logged ("NullPointer"); a range outside either array raises
    // java_lang_ArrayIndexOutOfBoundsException and arrays of different
    // element kinds java_lang_ArrayStoreException; nothing is copied then.
    static void arraycopy(Object* src, jint srcPos, Object* dst, jint dstPos, jint length);
};
