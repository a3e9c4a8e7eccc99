// java.util.Calendar (class id 56) and java.util.Date (class id 58).
//
// The Calendar turns a moment (ms since 1970-01-01 00:00 UTC) into the civil
// fields of its zone and back: proleptic Julian calendar before the change
// of 1582-10-15 (-12219292800000 ms), Gregorian from it. Its fields are
// packed into two words: time of day (bits 0-9 ms, 10-15 s, 16-21 min,
// 22-26 hour of day) and date (bits 0-4 day, 5-8 month 0-11, 9-31 signed
// year; year 0 is 1 BC). It is consistent in one of two directions: after
// set() the fields lead (time not valid) until computeTime; after a time is
// given the fields are recomputed at once.
//
// There is one Calendar, shared by every caller and every Date: a Date's
// getTime answers the moment last given to that Calendar by any Date or
// Calendar operation. Date() reads the device tick count, the Calendar's
// own clock is the wall clock. No operation takes a monitor.
#pragma once

#include "runtime/object.h"

class java_util_Date;
class java_util_TimeZone;

class java_util_Calendar : public Object {
public:
    // Field numbers of get/set.
    enum Field : jint {
        YEAR = 1, MONTH = 2, DATE = 5, DAY_OF_WEEK = 7, AM_PM = 9, HOUR = 10, HOUR_OF_DAY = 11,
        MINUTE = 12, SECOND = 13, MILLISECOND = 14,
    };
    static constexpr jlong kMillisPerDay = 86400000;
    static constexpr jlong kGregorianChange = -12219292800000LL;  // 1582-10-15 00:00 UTC
    static constexpr jint kGregorianYear = 1582;

    // The shared Calendar (made on the first call: default zone, wall-clock
    // time); with a zone, that zone replaces the Calendar's.
    static java_util_Calendar* getInstance();
    static java_util_Calendar* getInstance(java_util_TimeZone* zone);
    // Wall clock: whole seconds since 1970 times 1000.
    static jlong currentTimeMillis();

    // Unsupported field numbers raise ArrayIndexOutOfBoundsException.
    jint get(jint field);
    void set(jint field, jint value);
    // The one cached Date, set to this Calendar's time.
    java_util_Date* getTime();
    void setTime(java_util_Date* date);
    void setTimeInMillis(jlong millis);
    jlong getTimeInMillis();
    void setTimeZone(java_util_TimeZone* zone);
    java_util_TimeZone* getTimeZone() { return m_zone; }
    jboolean before(Object* when);
    jboolean after(Object* when);
    // Raw plus DST offset at the current fields.
    jint getZoneOffset();

    // Slot 1.
    jboolean equals(Object* obj) override;
    // Slot 6: the fields of a local time t (ms).
    virtual void timeToFields(jlong t);
    // Slot 7: the Julian day number of the date fields' year, month, day.
    virtual jlong julianDay(jboolean gregorian, jint year);

    // Text forms. Long: "Mon Jan 01 00:00:00 ZONE 2001" from the pool's day
    // and month names; compact: "2001 01 01 00 00 00 +0000". A null
    // calendar gives pool entry 166 / 186.
    static String* toLongString(java_util_Calendar* calendar);
    static String* toCompactString(java_util_Calendar* calendar);

    // Fields to time (the caller marks the time valid) and time to fields.
    void computeTime();
    void computeFields();

    // --- packed field access ---------------------------------------------------
    jint year() const { return m_date >> 9; }
    jint month() const { return (m_date >> 5) & 15; }
    jint dayOfMonth() const { return m_date & 31; }
    jint hourOfDay() const { return static_cast<jint>((m_timeOfDay >> 22) & 31); }
    jint minute() const { return static_cast<jint>((m_timeOfDay >> 16) & 63); }
    jint second() const { return static_cast<jint>((m_timeOfDay >> 10) & 63); }
    jint millisecond() const { return static_cast<jint>(m_timeOfDay & 0x3FF); }

    uint32_t m_timeOfDay;
    jint m_date;
    jint m_dayOfWeek;
    jint m_dstOffset;
    jboolean m_fieldsComputed;
    jlong m_time;
    jboolean m_timeValid;
    java_util_TimeZone* m_zone;
    java_util_Date* m_cachedDate;
    jint m_pendingHour;
    jint m_pendingAmPm;

    // Use getInstance(): there is one Calendar.
    java_util_Calendar();

private:
    void makeTimeValid();
    // Converts when the day of week is not known (after set).
    void makeFieldsCurrent();
    void setHourOfDay(jint hour);
    void setBits(uint32_t& word, int shift, uint32_t mask, jint value);
};

class java_util_Date : public Object {
public:
    // Now: the device tick count (ms since the system started).
    java_util_Date();
    explicit java_util_Date(jlong date);

    jlong getTime();
    void setTime(jlong time);

    jboolean equals(Object* obj) override;  // slot 1
    String* toString() override;           // slot 3: the Calendar's long form
    jint hashCode() override;               // slot 4: low ^ high word of getTime

    java_util_Calendar* m_calendar;
    jlong m_millis;
};
