// Calendar and Date: random instants across the Gregorian change checked
// against std::chrono (Gregorian) and an independent Julian-day conversion
// (Julian), round trips through set(), the change-over cases, the 12-hour
// fields, the text forms, DST zones, and the shared-calendar behaviour of
// Date.
#include <chrono>
#include <random>

#include "javalib/calendar.h"
#include "javalib/timezone.h"
#include "runtime/system.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

constexpr jlong kDay = 86400000;
constexpr jint kHour = 3600000;
constexpr jlong kChange = java_util_Calendar::kGregorianChange;

jlong floorDiv(jlong n, jlong d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
jlong floorMod(jlong n, jlong d) { return n - floorDiv(n, d) * d; }

struct Civil {
    jint year, month, day, dow, hour, minute, second, millis;
    bool operator==(const Civil&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Civil& c) {
    return os << c.year << "-" << c.month << "-" << c.day << " dow " << c.dow << " " << c.hour << ":" << c.minute
              << ":" << c.second << "." << c.millis;
}

void timeOfDay(jlong t, Civil& c) {
    jlong ms = floorMod(t, kDay);
    c.millis = static_cast<jint>(ms % 1000);
    c.second = static_cast<jint>(ms / 1000 % 60);
    c.minute = static_cast<jint>(ms / 60000 % 60);
    c.hour = static_cast<jint>(ms / 3600000);
}

// Proleptic Gregorian by the standard library.
Civil gregorian(jlong t) {
    using namespace std::chrono;
    const sys_days sd{days{floorDiv(t, kDay)}};
    const year_month_day ymd{sd};
    Civil c{};
    c.year = static_cast<int>(ymd.year());
    c.month = static_cast<jint>(static_cast<unsigned>(ymd.month())) - 1;
    c.day = static_cast<jint>(static_cast<unsigned>(ymd.day()));
    c.dow = static_cast<jint>(weekday{sd}.c_encoding()) + 1;
    timeOfDay(t, c);
    return c;
}

// Proleptic Julian from the Julian day number (Richards' algorithm).
Civil julian(jlong t) {
    const jlong jdn = floorDiv(t, kDay) + 2440588;
    const jlong c = jdn + 32082;
    const jlong d = floorDiv(4 * c + 3, 1461);
    const jlong e = c - floorDiv(1461 * d, 4);
    const jlong m = floorDiv(5 * e + 2, 153);
    Civil out{};
    out.day = static_cast<jint>(e - floorDiv(153 * m + 2, 5) + 1);
    out.month = static_cast<jint>(m + 3 - 12 * (m / 10)) - 1;
    out.year = static_cast<jint>(d - 4800 + m / 10);
    out.dow = static_cast<jint>(floorMod(jdn + 1, 7)) + 1;
    timeOfDay(t, out);
    return out;
}

Civil fieldsOf(java_util_Calendar* c) {
    return Civil{c->get(1), c->get(2), c->get(5), c->get(7), c->get(11), c->get(12), c->get(13), c->get(14)};
}

void setFields(java_util_Calendar* c, const Civil& f) {
    c->set(1, f.year);
    c->set(2, f.month);
    c->set(5, f.day);
    c->set(11, f.hour);
    c->set(12, f.minute);
    c->set(13, f.second);
    c->set(14, f.millis);
}

class CalendarTest : public UtilTest {
protected:
    java_util_Calendar* cal() { return java_util_Calendar::getInstance(); }
    java_util_Calendar* at(jlong t) {
        java_util_Calendar* c = cal();
        c->setTimeInMillis(t);
        return c;
    }
};

TEST_F(CalendarTest, RandomInstantsMatchReferenceCalendars) {
    std::mt19937_64 rng(2024);
    const jlong minJulian = -630'000'000'000'000;   // about 18000 BC
    const jlong maxGregorian = 880'000'000'000'000;         // about AD 29800
    std::uniform_int_distribution<jlong> julianRange(minJulian, kChange - 1);
    std::uniform_int_distribution<jlong> gregorianRange(kChange, maxGregorian);
    std::uniform_int_distribution<jlong> nearChange(kChange - 400 * kDay, kChange + 400 * kDay);
    for (int i = 0; i < 6000; ++i) {
        jlong t;
        switch (i % 3) {
        case 0: t = julianRange(rng); break;
        case 1: t = gregorianRange(rng); break;
        default: t = nearChange(rng); break;
        }
        java_util_Calendar* c = at(t);
        const Civil expected = t >= kChange ? gregorian(t) : julian(t);
        const Civil got = fieldsOf(c);
        ASSERT_EQ(got, expected) << "t = " << t;
        // Back through the fields.
        setFields(c, got);
        ASSERT_EQ(c->getTimeInMillis(), t) << got;
    }
    EXPECT_EQ(takeException(), 0);
}

TEST_F(CalendarTest, FixedOffsetZoneShiftsFields) {
    auto* zone = newObject<java_util_TimeZoneImpl>(-(5 * kHour + 30 * 60000), String::fromUtf8("W"));
    java_util_Calendar* c = java_util_Calendar::getInstance(zone);
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<jlong> range(-100'000'000'000'000, 100'000'000'000'000);
    for (int i = 0; i < 2000; ++i) {
        const jlong t = range(rng);
        c->setTimeInMillis(t);
        const jlong local = t + zone->getRawOffset();
        ASSERT_EQ(fieldsOf(c), local >= kChange ? gregorian(local) : julian(local)) << t;
        setFields(c, fieldsOf(c));
        ASSERT_EQ(c->getTimeInMillis(), t);
    }
    EXPECT_EQ(c->getZoneOffset(), zone->getRawOffset());
}

TEST_F(CalendarTest, ChangeoverAndEpochCases) {
    struct Case {
        jlong t;
        Civil fields;
    } cases[] = {
        {0, {1970, 0, 1, 5, 0, 0, 0, 0}},
        {-1, {1969, 11, 31, 4, 23, 59, 59, 999}},
        {kChange, {1582, 9, 15, 6, 0, 0, 0, 0}},
        {kChange - 1, {1582, 9, 4, 5, 23, 59, 59, 999}},
        {951782400000, {2000, 1, 29, 3, 0, 0, 0, 0}},
        {4107456000000, {2100, 1, 28, 1, 0, 0, 0, 0}},
        {4107542400000, {2100, 2, 1, 2, 0, 0, 0, 0}},  // 2100 is not a leap year
        {-62135596800000, {1, 0, 3, 2, 0, 0, 0, 0}},   // Gregorian 0001-01-01 is Julian January 3
        {-62135769600000, {1, 0, 1, 7, 0, 0, 0, 0}},
        {-62135769600001, {0, 11, 31, 6, 23, 59, 59, 999}},  // year 0 = 1 BC, a leap year
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fieldsOf(at(c.t)), c.fields) << c.t;
        setFields(cal(), c.fields);
        EXPECT_EQ(cal()->getTimeInMillis(), c.t) << c.fields;
    }
    // A day that does not exist: the Julian 10th, which reads back as the
    // Gregorian 20th.
    setFields(cal(), {1582, 9, 10, 0, 0, 0, 0, 0});
    EXPECT_EQ(cal()->getTimeInMillis(), kChange + 5 * kDay);
    EXPECT_EQ(cal()->get(7), 4);  // converting on the day-of-week request: a Wednesday
    EXPECT_EQ(cal()->get(5), 20);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(CalendarTest, ExtremeMomentsArePinnedNotWrapped) {
    for (jint raw : {kHour, -kHour, 0}) {
        java_util_Calendar::getInstance(newObject<java_util_TimeZoneImpl>(raw, nullptr));
        for (jlong t : {java::kLongMax, java::kLongMin, java::kLongMax - 1, java::kLongMin + 1}) {
            at(t);
            EXPECT_GE(cal()->get(11), 0);
            EXPECT_LT(cal()->get(11), 24);
            EXPECT_GE(cal()->get(7), 1);
            EXPECT_LE(cal()->get(7), 7);
        }
    }
    EXPECT_EQ(takeException(), 0);
}

TEST_F(CalendarTest, LenientFieldsCarryIntoTheNextMonth) {
    // A month of 12 is January of the next year; day 0 the last of the
    // month before. The zone is asked about the normalised day.
    setFields(cal(), {2000, 12, 1, 0, 0, 0, 0, 0});
    EXPECT_EQ(cal()->getTimeInMillis(), 978307200000);  // 2001-01-01
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(cal()->get(1), 2000);  // the fields stay as set until converted
    EXPECT_EQ(cal()->get(7), 2);
    EXPECT_EQ(cal()->get(1), 2001);
    setFields(cal(), {2001, 2, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(cal()->getTimeInMillis(), 983318400000);  // 2001-02-28
    EXPECT_EQ(cal()->get(7), 4);
    EXPECT_EQ(cal()->get(5), 28);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(CalendarTest, TwelveHourFields) {
    java_util_Calendar* c = at(0);
    c->set(10, 12);
    c->set(9, 0);
    EXPECT_EQ(c->get(11), 0);
    c->set(9, 1);
    c->set(10, 12);
    EXPECT_EQ(c->get(11), 12);
    c->set(10, 5);
    EXPECT_EQ(c->get(11), 5);
    c->set(9, 1);  // the pending hour 5 becomes 17
    EXPECT_EQ(c->get(11), 17);
    c->set(10, 40);  // capped at 12, no pending half: hour of day 12
    EXPECT_EQ(c->get(11), 12);
    c->set(11, 27);
    EXPECT_EQ(c->get(11), 3);
    c->set(11, -1);
    EXPECT_EQ(c->get(11), 23);
    struct Case {
        jint hourOfDay, hour, amPm;
    } cases[] = {{0, 12, 0}, {12, 12, 1}, {13, 1, 1}, {11, 11, 0}, {23, 11, 1}};
    for (const Case& k : cases) {
        c->set(11, k.hourOfDay);
        EXPECT_EQ(c->get(10), k.hour);
        EXPECT_EQ(c->get(9), k.amPm);
    }
    // Fields are cut to their bit width.
    c->set(14, 1024 + 7);
    EXPECT_EQ(c->get(14), 7);
    c->set(12, 64 + 5);
    EXPECT_EQ(c->get(12), 5);
}

TEST_F(CalendarTest, UnknownFieldsRaise) {
    java_util_Calendar* c = at(1000);
    EXPECT_EQ(c->get(3), 0);
    EXPECT_EQ(pendingMessage(), "#1");
    EXPECT_EQ(takeException(), cid::java_lang_ArrayIndexOutOfBoundsException);
    c->set(15, 1);
    EXPECT_EQ(takeException(), cid::java_lang_ArrayIndexOutOfBoundsException);
    EXPECT_EQ(c->m_timeValid, 0);
    EXPECT_EQ(c->m_dayOfWeek, 0);
    EXPECT_EQ(c->getTimeInMillis(), 1000);  // the fields were not touched
}

TEST_F(CalendarTest, DaylightZoneFieldsAndRoundTrip) {
    // Raw +1 h; DST from the first Sunday of April 2:00 to the last Sunday of
    // October 2:00 wall time.
    auto* zone = newObject<java_util_TimeZoneImpl>(kHour, String::fromUtf8("N"), 3, 1, 1, 2 * kHour, 9, -1, 1,
                                                   2 * kHour, kHour);
    java_util_Calendar* c = java_util_Calendar::getInstance(zone);
    const jlong july = 995198400000;  // 2001-07-15 12:00 UTC
    c->setTimeInMillis(july);
    EXPECT_EQ(c->get(11), 14);
    EXPECT_EQ(c->m_dstOffset, kHour);
    EXPECT_EQ(c->getZoneOffset(), 2 * kHour);
    setFields(c, fieldsOf(c));
    EXPECT_EQ(c->getTimeInMillis(), july);
    const jlong january = 979560000000;  // 2001-01-15 12:00 UTC
    c->setTimeInMillis(january);
    EXPECT_EQ(c->get(11), 13);
    EXPECT_EQ(c->getZoneOffset(), kHour);
    // 2001-04-01 00:59:59.999 UTC is 01:59:59.999 standard: not yet DST.
    c->setTimeInMillis(986083200000 + kHour - 1);
    EXPECT_EQ(c->get(11), 1);
    c->setTimeInMillis(986083200000 + kHour);
    EXPECT_EQ(c->get(11), 3);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(CalendarTest, SharedInstanceAndComparisons) {
    java_util_Calendar* c = cal();
    EXPECT_EQ(c, java_util_Calendar::getInstance());
    // Created at the wall clock.
    const jlong now = java_util_Calendar::currentTimeMillis();
    EXPECT_EQ(now % 1000, 0);
    EXPECT_LE(std::llabs(c->getTimeInMillis() - now), 2000);
    EXPECT_EQ(c->getTimeZone(), java_util_TimeZone::getDefault());

    auto* other = newObject<java_util_Calendar>();
    other->setTimeInMillis(5000);
    c->setTimeInMillis(4000);
    EXPECT_TRUE(c->before(other));
    EXPECT_FALSE(c->after(other));
    EXPECT_TRUE(other->after(c));
    EXPECT_FALSE(c->equals(other));
    other->setTimeInMillis(4000);
    EXPECT_TRUE(c->equals(other));
    EXPECT_TRUE(c->equals(c));
    other->setTimeZone(newObject<java_util_TimeZoneImpl>(0, nullptr));
    EXPECT_FALSE(c->equals(other));  // same time, another zone
    Object* date = c->getTime();
    EXPECT_FALSE(c->equals(date));
    EXPECT_FALSE(c->before(date));
    EXPECT_FALSE(c->after(nullptr));
}

TEST_F(CalendarTest, DatesShareTheCalendar) {
    const jlong before = java_lang_System::currentTimeMillis();
    auto* now = newObject<java_util_Date>();
    const jlong after = java_lang_System::currentTimeMillis();
    EXPECT_GE(now->getTime(), before);
    EXPECT_LE(now->getTime(), after);
    EXPECT_EQ(now->m_calendar, cal());

    auto* a = newObject<java_util_Date>(1000);
    auto* b = newObject<java_util_Date>(2000);
    EXPECT_EQ(a->getTime(), 2000);
    EXPECT_EQ(b->getTime(), 2000);
    EXPECT_TRUE(a->equals(b));
    EXPECT_EQ(a->m_millis, 1000);
    a->setTime(0x123456789ALL);
    EXPECT_EQ(b->getTime(), 0x123456789ALL);
    EXPECT_EQ(b->hashCode(), 0x3456789A ^ 0x12);
    EXPECT_FALSE(a->equals(cal()));

    // The Calendar hands out one Date, kept at its time.
    java_util_Date* d = cal()->getTime();
    EXPECT_EQ(cal()->getTime(), d);
    cal()->set(1, 1999);
    EXPECT_EQ(cal()->getTime(), d);
    EXPECT_EQ(cal()->get(1), 1999);
    cal()->setTime(newObject<java_util_Date>(777));
    EXPECT_EQ(d->getTime(), 777);
}

TEST_F(CalendarTest, TextForms) {
    auto* zoneZ = newObject<java_util_TimeZoneImpl>(0, String::fromUtf8("Z"));
    java_util_Calendar::getInstance(zoneZ);
    auto* date = newObject<java_util_Date>(978307200000);  // 2001-01-01 00:00:00, a Monday
    EXPECT_EQ(toUtf8(date->toString()), "#180 #167 01 00:00:00 Z 2001");
    EXPECT_EQ(toUtf8(java_util_Calendar::toCompactString(cal())), "2001 01 01 00 00 00 +0000");

    java_util_Calendar::getInstance(newObject<java_util_TimeZoneImpl>(-(5 * kHour + 30 * 60000), String::empty()));
    setFields(cal(), {999, 11, 31, 0, 23, 59, 58, 0});  // Julian 0999-12-31, a Sunday
    date->setTime(cal()->getTimeInMillis());
    EXPECT_EQ(toUtf8(date->toString()), "#179 #178 31 23:59:58 0999");
    EXPECT_EQ(toUtf8(java_util_Calendar::toCompactString(cal())), "0999 12 31 23 59 58 -0530");

    // After set() the text reads the normalised fields: month 12 of 999 is
    // January 1000.
    cal()->set(2, 12);
    EXPECT_EQ(toUtf8(date->toString()), "#182 #167 31 23:59:58 1000");

    java_util_Calendar::getInstance(java_util_TimeZone::getDefault());  // ID null: pool entry 1
    setFields(cal(), {987, 6, 4, 0, 1, 2, 3, 0});
    EXPECT_EQ(toUtf8(date->toString()).substr(5), "#173 04 01:02:03 #1 0987");
    setFields(cal(), {-44, 2, 15, 0, 12, 0, 0, 0});
    EXPECT_EQ(toUtf8(date->toString()).substr(5), "#169 15 12:00:00 #1 -44");

    EXPECT_EQ(toUtf8(java_util_Calendar::toLongString(nullptr)), "#166");
    EXPECT_EQ(toUtf8(java_util_Calendar::toCompactString(nullptr)), "#186");
    EXPECT_EQ(takeException(), 0);
}

}  // namespace
