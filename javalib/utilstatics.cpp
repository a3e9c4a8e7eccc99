// The java.util statics contribution: every field is a reference, and all
// of them are created on first use, so there is no class initialiser.
#include "javalib/utilstatics.h"

#include <cstddef>

#include "javalib/calendar.h"
#include "javalib/hashtable.h"
#include "javalib/inputstreams.h"
#include "javalib/outputstreams.h"
#include "javalib/random.h"
#include "javalib/timer.h"
#include "javalib/timezone.h"
#include "javalib/vector.h"
#include "runtime/factory.h"

StaticsContribution g_javaUtilStatics = StaticsContribution::of<java_util_Statics>(
    "java_util", kClinitLibrary, nullptr,
    {offsetof(java_util_Statics, monthLength), offsetof(java_util_Statics, zoneTable),
     offsetof(java_util_Statics, defaultZone), offsetof(java_util_Statics, availableIDs),
     offsetof(java_util_Statics, calendar), offsetof(java_util_Statics, commonDays),
     offsetof(java_util_Statics, leapDays), offsetof(java_util_Statics, monthNames),
     offsetof(java_util_Statics, dayNames)});

void registerUtilStatics() {
    StaticClass::contribute(&g_javaUtilStatics);
    using rt::plainInstance;
    struct Row {
        uint16_t id;
        NewInstanceFactory::Creator make;
    };
    static const Row rows[] = {
        {cid::java_io_ByteArrayInputStream, &plainInstance<java_io_ByteArrayInputStream, nullptr>},
        {cid::java_io_ByteArrayOutputStream, &plainInstance<java_io_ByteArrayOutputStream>},
        {cid::java_io_ConsoleOutputStream, &plainInstance<java_io_ConsoleOutputStream>},
        {cid::java_io_DataInputStream, &plainInstance<java_io_DataInputStream>},
        {cid::java_io_DataOutputStream, &plainInstance<java_io_DataOutputStream>},
        {cid::java_io_PrintStream, &plainInstance<java_io_PrintStream>},
        {cid::java_util_Calendar, &plainInstance<java_util_Calendar>},
        {cid::java_util_Date, &plainInstance<java_util_Date>},
        {cid::java_util_Hashtable_HashtableEnumerator,
         &plainInstance<java_util_Hashtable_HashtableEnumerator, nullptr, nullptr, false>},
        {cid::java_util_Hashtable, &plainInstance<java_util_Hashtable>},
        {cid::java_util_HashtableEntry, &plainInstance<java_util_HashtableEntry, 0, nullptr, nullptr, nullptr>},
        {cid::java_util_Random, &plainInstance<java_util_Random>},
        {cid::java_util_TaskQueue, &plainInstance<java_util_TaskQueue>},
        {cid::java_util_TimerThread, &plainInstance<java_util_TimerThread, nullptr>},
        {cid::java_util_TimeZoneImpl, &plainInstance<java_util_TimeZoneImpl>},
        {cid::java_util_Vector, &plainInstance<java_util_Vector>},
    };
    for (const Row& row : rows) NewInstanceFactory::registerCreator(row.id, row.make);
}

java_util_Statics* utilStatics() { return statics<java_util_Statics>(g_javaUtilStatics); }
