// java.util.TimeZone (class id 72, abstract) and its one implementation
// java.util.TimeZoneImpl (class id 73): a raw offset from UTC plus an
// optional daylight-saving rule whose start and end are each given as
// month, day, day of week and time of day.
//
// A zone's fields are fixed once its constructor has run. The shared
// statics (month-length table, the two known zones, the default zone, the
// ID array) are made on first use; only getAvailableIDs takes a monitor
// (the default zone's). Errors are IllegalArgumentExceptions whose message
// is a pool entry, mostly followed by the offending number.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class java_util_TimeZone : public Object {
public:
    static constexpr jint kMillisPerDay = 86400000;

    // --- dispatch slots 6-9 ----------------------------------------------------
    // Offset from UTC in ms at the given local standard date and time.
    virtual jint getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis) = 0;
    virtual jint getRawOffset() = 0;
    virtual jboolean useDaylightTime() = 0;
    virtual String* getID() = 0;

    // The default zone: raw offset 0, no DST, ID null; always the same object.
    static java_util_TimeZone* getDefault();
    // The IDs of the known zones (pool entries 143 and 155), one array
    // kept after the first call.
    static ObjectArray* getAvailableIDs();

protected:
    explicit java_util_TimeZone(uint16_t classId) : Object(classId) {}
};

class java_util_TimeZoneImpl : public java_util_TimeZone {
public:
    // Modes of a decoded rule.
    enum : jint { kDomMode = 1, kDowInMonthMode = 2, kDowGeDomMode = 3, kDowLeDomMode = 4 };

    java_util_TimeZoneImpl();
    // rawOffset and ID, no DST, dstSavings 3600000.
    java_util_TimeZoneImpl(jint rawOffset, String* ID);
    // With a DST rule; a bad rule or dstSavings <= 0 raises.
    java_util_TimeZoneImpl(jint rawOffset, String* ID, jint startMonth, jint startDay, jint startDayOfWeek,
                           jint startTime, jint endMonth, jint endDay, jint endDayOfWeek, jint endTime,
                           jint dstSavings);

    jint getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis) override;
    jint getRawOffset() override { return m_rawOffset; }
    jboolean useDaylightTime() override { return m_useDaylight; }
    String* getID() override;

    String* m_ID;
    jboolean m_computedID;
    jint m_startMonth, m_startDay, m_startDayOfWeek, m_startTime;
    jint m_endMonth, m_endDay, m_endDayOfWeek, m_endTime;
    jint m_startYear;
    jint m_rawOffset;
    jboolean m_useDaylight;
    ByteArray* m_monthLength;
    jint m_startMode, m_endMode;
    jint m_dstSavings;

private:
    void resetFields();
    // Decodes one rule in place; false after raising.
    bool decodeRule(jint month, jint& day, jint& dayOfWeek, jint time, jint& mode, jint firstMessage);
    jint compare(jint month, jint day, jint dayOfWeek, jint millis, jint monthLength, jint ruleMonth,
                 jint ruleDay, jint ruleDayOfWeek, jint ruleMode, jint ruleTime) const;
};
