// java_lang_System natives: array copying, the tick clock, system
// properties and collection requests. The converted half (System.out,
// System.err and the property table) lives in the class library, which
// installs the property look-up at start.
#pragma once

#include "runtime/object.h"

class java_lang_System {
public:
    // Copies length elements; overlap-safe within one array. Null arrays are
    // logged ("NullPointer"); a range outside either array raises
    // java_lang_ArrayIndexOutOfBoundsException and arrays of different
    // element kinds java_lang_ArrayStoreException; nothing is copied then.
    static void arraycopy(Object* src, jint srcPos, Object* dst, jint dstPos, jint length);

    // The tick count: monotonic milliseconds since the machine started, cut
    // to 32 bits and zero-extended (not wall-clock time; it wraps after
    // about 49.7 days as the device's did).
    static jlong currentTimeMillis();
    // Replaces the tick count's source (tests drive time step by step);
    // null restores the machine's clock.
    static void setTickSource(uint32_t (*source)());

    // "microedition.media.version" (an equalsC prefix test) answers "1.0";
    // any other key the value the property table holds for it, else a new
    // "PROPERTY VALUE EMPTY". Never null.
    static String* getProperty(String* key);

    // A throttled collection (not again within 2,000 ms of the last one).
    static void gc();

    // The class library's property-table look-up (null when absent).
    using PropertyLookup = Object* (*)(String* key);
    static void setPropertyLookup(PropertyLookup lookup);
};
