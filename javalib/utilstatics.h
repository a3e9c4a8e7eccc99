// Static fields of the java.util classes (TimeZone, Calendar, Date, the
// timers): one contribution to the statics block. Programs register it with
// registerUtilStatics() before Application::init; test programs that pass
// their own contribution list include &g_javaUtilStatics.
//
// Everything here is created lazily, on first use, and lives for the run.
#pragma once

#include "runtime/array.h"
#include "runtime/statics.h"

class java_util_Calendar;
class java_util_TimeZone;

struct java_util_Statics {
    // TimeZone
    ByteArray* monthLength;       // 12 month lengths, February 29
    ObjectArray* zoneTable;       // the two known zones
    java_util_TimeZone* defaultZone;
    ObjectArray* availableIDs;    // String[] built on first request
    // Calendar
    java_util_Calendar* calendar; // the one shared Calendar
    IntArray* commonDays;         // days before each month, common year
    IntArray* leapDays;           // the same, leap year
    ObjectArray* monthNames;      // pool entries 167-178
    ObjectArray* dayNames;        // pool entries 179-185
};

extern StaticsContribution g_javaUtilStatics;

void registerUtilStatics();

// The fields in the current statics block.
java_util_Statics* utilStatics();
