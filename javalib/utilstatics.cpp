// The java.util statics contribution: every field is a reference, and all
// of them are created on first use, so there is no class initialiser.
#include "javalib/utilstatics.h"

#include <cstddef>

StaticsContribution g_javaUtilStatics = StaticsContribution::of<java_util_Statics>(
    "java_util", kClinitLibrary, nullptr,
    {offsetof(java_util_Statics, monthLength), offsetof(java_util_Statics, zoneTable),
     offsetof(java_util_Statics, defaultZone), offsetof(java_util_Statics, availableIDs),
     offsetof(java_util_Statics, calendar), offsetof(java_util_Statics, commonDays),
     offsetof(java_util_Statics, leapDays), offsetof(java_util_Statics, monthNames),
     offsetof(java_util_Statics, dayNames)});

void registerUtilStatics() { StaticClass::contribute(&g_javaUtilStatics); }

java_util_Statics* utilStatics() { return statics<java_util_Statics>(g_javaUtilStatics); }
