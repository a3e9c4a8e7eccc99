// java.util.Calendar and java.util.Date: the conversions between a moment
// and the packed civil fields, Julian before the Gregorian change, with
// floor division throughout, and the two text forms.
#include "javalib/calendar.h"

#include <ctime>
#include <string>

#include "javalib/timezone.h"
#include "runtime/system.h"
#include "javalib/utilstatics.h"
#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/statics.h"
#include "runtime/string.h"

namespace {

constexpr jlong kDay = java_util_Calendar::kMillisPerDay;
constexpr jlong kEpochJulianDay = 2440588;        // 1970-01-01
constexpr jlong kGregorianEpochDays = 719162;     // 0001-01-01 (Gregorian) to 1970-01-01
constexpr jlong kJulianEpochDays = 719164;        // the same from the Julian calendar's epoch

// Floor division and its remainder in [0, d) for d > 0; the remainder is
// formed with wrap-around arithmetic, exact since it fits.
constexpr jlong floorDiv(jlong n, jlong d) { return n >= 0 ? n / d : (n + 1) / d - 1; }
constexpr jlong floorMod(jlong n, jlong d) { return java::lsub(n, java::lmul(floorDiv(n, d), d)); }

// a + b pinned to the i64 range instead of wrapping.
jlong pinnedAdd(jlong a, jlong b) {
    const jlong sum = java::ladd(a, b);
    if (a > 0 && b > 0 && sum < 0) return java::kLongMax;
    if (a < 0 && b < 0 && sum >= 0) return java::kLongMin;
    return sum;
}

// 1 = Sunday ... 7 = Saturday.
jint dayOfWeekOfJulianDay(jlong jd) {
    const jint r = static_cast<jint>((jd + 1) % 7);
    return r < 0 ? r + 8 : r + 1;
}

const jint kCommonDays[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
const jint kLeapDays[12] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

void ensureDayTables() {
    java_util_Statics* s = utilStatics();
    if (!s->commonDays) {
        IntArray* a = newIntArray(12);
        for (int i = 0; i < 12; ++i) a->data()[i] = kCommonDays[i];
        s->commonDays = a;
    }
    if (!s->leapDays) {
        IntArray* a = newIntArray(12);
        for (int i = 0; i < 12; ++i) a->data()[i] = kLeapDays[i];
        s->leapDays = a;
    }
}

ObjectArray* poolNames(ObjectArray*& slot, jint first, jint n) {
    if (!slot) {
        ObjectArray* names = newObjectArray(cid::String, n);
        for (jint i = 0; i < n; ++i) {
            String* name = StaticClass::getStringConstant(first + i);
            names->data()[i] = name;
        }
        slot = names;
    }
    return slot;
}

void appendString(std::u16string& out, String* s) {
    if (s) out += s->toUtf16();
}

void appendAscii(std::u16string& out, const std::string& text) {
    for (char c : text) out += static_cast<char16_t>(c);
}

void appendTwoDigits(std::u16string& out, jlong v) {
    if (v >= 0 && v < 10) out += u'0';
    appendAscii(out, std::to_string(v));
}

void appendYear(std::u16string& out, jint year) {
    std::string text = std::to_string(year);
    if (year >= 0 && year <= 999) text.insert(0, 4 - text.size(), '0');
    appendAscii(out, text);
}

}  // namespace

// --- Calendar: creation and clocks --------------------------------------------

java_util_Calendar::java_util_Calendar() : Object(cid::java_util_Calendar) {
    StaticClass::setRefFieldOffsets(this, {&m_zone, &m_cachedDate});
    m_timeOfDay = 0;
    m_date = 0;
    m_dayOfWeek = 0;
    m_dstOffset = 0;
    m_fieldsComputed = 0;
    m_time = 0;
    m_timeValid = 0;
    m_zone = nullptr;
    m_cachedDate = nullptr;
    ensureDayTables();
    m_pendingHour = -1;
    m_pendingAmPm = -1;
    m_zone = java_util_TimeZone::getDefault();
    m_time = currentTimeMillis();
    m_timeValid = 1;
    computeFields();
}

java_util_Calendar* java_util_Calendar::getInstance() {
    java_util_Statics* s = utilStatics();
    if (!s->calendar) {
        java_util_Calendar* c = newObject<java_util_Calendar>();
        if (!s->calendar) s->calendar = c;
    }
    return s->calendar;
}

java_util_Calendar* java_util_Calendar::getInstance(java_util_TimeZone* zone) {
    java_util_Calendar* c = getInstance();
    c->setTimeZone(zone);
    return c;
}

jlong java_util_Calendar::currentTimeMillis() { return static_cast<jlong>(std::time(nullptr)) * 1000; }

void java_util_Calendar::setTimeZone(java_util_TimeZone* zone) {
    if (!zone) {
        rt::logNullPointer();
        return;
    }
    m_zone = zone;
    makeTimeValid();
    computeFields();
}

void java_util_Calendar::makeTimeValid() {
    if (m_timeValid) return;
    computeTime();
    m_timeValid = 1;
}

void java_util_Calendar::makeFieldsCurrent() {
    if (m_dayOfWeek != 0) return;
    makeTimeValid();
    computeFields();
}

// --- get and set ---------------------------------------------------------------

jint java_util_Calendar::get(jint field) {
    switch (field) {
    case YEAR: return year();
    case MONTH: return month();
    case DATE: return dayOfMonth();
    case DAY_OF_WEEK:
        makeFieldsCurrent();
        return m_dayOfWeek;
    case AM_PM: return hourOfDay() >= 12 ? 1 : 0;
    case HOUR: {
        const jint h = hourOfDay() % 12;
        return h == 0 ? 12 : h;
    }
    case HOUR_OF_DAY: return hourOfDay();
    case MINUTE: return minute();
    case SECOND: return second();
    case MILLISECOND: return millisecond();
    default:
        rt::throwNewDefault(cid::java_lang_ArrayIndexOutOfBoundsException);
        return 0;
    }
}

void java_util_Calendar::setBits(uint32_t& word, int shift, uint32_t mask, jint value) {
    word = (word & ~(mask << shift)) | ((static_cast<uint32_t>(value) & mask) << shift);
}

void java_util_Calendar::setHourOfDay(jint hour) {
    setBits(m_timeOfDay, 22, 31, hour);
}

void java_util_Calendar::set(jint field, jint value) {
    m_timeValid = 0;
    m_dayOfWeek = 0;
    uint32_t date = static_cast<uint32_t>(m_date);
    switch (field) {
    case YEAR:
        date = (date & 0x1FF) | static_cast<uint32_t>(java::ishl(value, 9));
        break;
    case MONTH: setBits(date, 5, 15, value); break;
    case DATE: setBits(date, 0, 31, value); break;
    case MINUTE: setBits(m_timeOfDay, 16, 63, value); break;
    case SECOND: setBits(m_timeOfDay, 10, 63, value); break;
    case MILLISECOND: setBits(m_timeOfDay, 0, 0x3FF, value); break;
    case HOUR_OF_DAY:
        setHourOfDay(static_cast<jint>(floorMod(value, 24)));
        m_pendingHour = -1;
        m_pendingAmPm = -1;
        break;
    case HOUR: {
        const jint h = value > 12 ? 12 : value;
        if (m_pendingAmPm == -1) {
            setHourOfDay(h);
            m_pendingHour = h;
        } else {
            if (m_pendingAmPm == 1) setHourOfDay(h == 12 ? 12 : h + 12);
            else setHourOfDay(h == 12 ? 0 : h);
            m_pendingHour = -1;
            m_pendingAmPm = -1;
        }
        break;
    }
    case AM_PM:
        if (m_pendingHour == -1) {
            m_pendingAmPm = value;
        } else {
            const jint p = m_pendingHour;
            if (value == 1) setHourOfDay(p == 12 ? 12 : p + 12);
            else setHourOfDay(p == 12 ? 0 : p);
            m_pendingHour = -1;
            m_pendingAmPm = -1;
        }
        break;
    default:
        rt::throwNewDefault(cid::java_lang_ArrayIndexOutOfBoundsException);
        return;
    }
    m_date = static_cast<jint>(date);
    m_fieldsComputed = 0;
}

// --- time -----------------------------------------------------------------------

java_util_Date* java_util_Calendar::getTime() {
    makeTimeValid();
    if (!m_cachedDate) {
        java_util_Date* date = newObject<java_util_Date>(m_time);
        m_cachedDate = date;
    } else {
        m_cachedDate->setTime(m_time);
    }
    return m_cachedDate;
}

void java_util_Calendar::setTime(java_util_Date* date) {
    if (!date) {
        rt::logNullPointer();
        return;
    }
    m_time = date->getTime();
    m_dayOfWeek = 0;
    m_timeValid = 1;
    computeFields();
}

void java_util_Calendar::setTimeInMillis(jlong millis) {
    m_time = millis;
    m_dayOfWeek = 0;
    m_timeValid = 1;
    computeFields();
}

jlong java_util_Calendar::getTimeInMillis() {
    makeTimeValid();
    return m_time;
}

jboolean java_util_Calendar::equals(Object* obj) {
    if (obj == this) return 1;
    if (!instanceOf(obj, cid::java_util_Calendar)) return 0;
    auto* other = static_cast<java_util_Calendar*>(obj);
    makeTimeValid();
    other->makeTimeValid();
    if (m_time != other->m_time) return 0;
    if (!m_zone || !other->m_zone) return m_zone == other->m_zone ? 1 : 0;
    return m_zone->equals(other->m_zone);
}

jboolean java_util_Calendar::before(Object* when) {
    if (!instanceOf(when, cid::java_util_Calendar)) return 0;
    auto* other = static_cast<java_util_Calendar*>(when);
    makeTimeValid();
    other->makeTimeValid();
    return m_time < other->m_time ? 1 : 0;
}

jboolean java_util_Calendar::after(Object* when) {
    if (!instanceOf(when, cid::java_util_Calendar)) return 0;
    auto* other = static_cast<java_util_Calendar*>(when);
    makeTimeValid();
    other->makeTimeValid();
    return m_time > other->m_time ? 1 : 0;
}

jint java_util_Calendar::getZoneOffset() {
    makeFieldsCurrent();
    const jint millis = ((hourOfDay() * 60 + minute()) * 60 + second()) * 1000 + millisecond();
    const jint offset = m_zone->getOffset(1, year(), month(), dayOfMonth(), m_dayOfWeek, millis);
    m_dstOffset = java::isub(offset, m_zone->getRawOffset());
    m_fieldsComputed = 1;
    return offset;
}

// --- conversions ----------------------------------------------------------------

jlong java_util_Calendar::julianDay(jboolean gregorian, jint yearArg) {
    jlong y = yearArg;
    jint m = month();
    if (m >= 12) {
        y += m / 12;
        m %= 12;
    }
    bool leap = y % 4 == 0;
    jlong jd = 365 * (y - 1) + floorDiv(y - 1, 4) + 1721423;
    if (gregorian) {
        if (y % 100 == 0 && y % 400 != 0) leap = false;
        jd += floorDiv(y - 1, 400) - floorDiv(y - 1, 100) + 2;
    }
    ensureDayTables();
    IntArray* table = leap ? utilStatics()->leapDays : utilStatics()->commonDays;
    return jd + table->data()[m] + dayOfMonth();
}

void java_util_Calendar::computeTime() {
    const jint y = year();
    bool gregorian = y >= kGregorianYear;
    jlong jd = julianDay(gregorian ? 1 : 0, y);
    jlong ms = (jd - kEpochJulianDay) * kDay;
    if (gregorian != (ms >= kGregorianChange) && jd != -106749550580LL) {
        gregorian = !gregorian;
        jd = julianDay(gregorian ? 1 : 0, y);
        ms = (jd - kEpochJulianDay) * kDay;
    }
    const jlong secondsOfDay = (static_cast<jlong>(hourOfDay()) * 60 + minute()) * 60 + second();
    const jint raw = m_zone->getRawOffset();
    const jlong local = ms + millisecond() + secondsOfDay * 1000;
    m_dstOffset = 0;
    const jint remainder = static_cast<jint>(floorMod(local, kDay));
    // The zone is asked about the day that the fields name once normalised
    // (a month of 12-15 or a day 0 are carried into the next/previous
    // month by the day count above), so lenient fields are accepted.
    jint zoneYear = y, zoneMonth = month(), zoneDay = dayOfMonth();
    if (zoneMonth > 11 || zoneDay < 1 || zoneDay > 28) {
        const jint savedDate = m_date;
        const jint savedDow = m_dayOfWeek;
        timeToFields(ms);
        zoneYear = year();
        zoneMonth = month();
        zoneDay = dayOfMonth();
        m_date = savedDate;
        m_dayOfWeek = savedDow;
    }
    const jint dow = dayOfWeekOfJulianDay(jd);
    const jint offset = java::isub(m_zone->getOffset(1, zoneYear, zoneMonth, zoneDay, dow, remainder), raw);
    m_time = local - offset - raw;
    m_dstOffset = offset;
    m_fieldsComputed = 1;
}

void java_util_Calendar::computeFields() {
    const jint raw = m_zone->getRawOffset();
    const jlong local = pinnedAdd(m_time, raw);
    timeToFields(local);
    jlong millisInDay = floorMod(local, kDay);
    const jint offset = java::isub(
        m_zone->getOffset(1, year(), month(), dayOfMonth(), m_dayOfWeek, static_cast<jint>(millisInDay)), raw);
    m_dstOffset = offset;
    m_fieldsComputed = 1;
    millisInDay += offset;
    if (millisInDay >= kDay || millisInDay < 0) {
        millisInDay = floorMod(millisInDay, kDay);
        timeToFields(pinnedAdd(local, offset));
    }
    const jint ms = static_cast<jint>(millisInDay % 1000);
    jlong rest = millisInDay / 1000;
    const jint sec = static_cast<jint>(rest % 60);
    rest /= 60;
    const jint min = static_cast<jint>(rest % 60);
    const jint hour = static_cast<jint>(rest / 60);
    m_timeOfDay = (static_cast<uint32_t>(hour & 31) << 22) | (static_cast<uint32_t>(min & 63) << 16) |
                  (static_cast<uint32_t>(sec & 63) << 10) | static_cast<uint32_t>(ms & 0x3FF);
}

void java_util_Calendar::timeToFields(jlong t) {
    jlong y, dayOfYear;
    jint dow;
    bool leap;
    if (t >= kGregorianChange) {
        const jlong e = floorDiv(t, kDay) + kGregorianEpochDays;
        const jlong q1 = floorDiv(e, 146097);
        jlong r = floorMod(e, 146097);
        const jlong q2 = r / 36524;
        r %= 36524;
        const jlong q3 = r / 1461;
        r %= 1461;
        const jlong q4 = r / 365;
        r %= 365;
        y = 400 * q1 + 100 * q2 + 4 * q3 + q4;
        if (q2 == 4 || q4 == 4) {
            dayOfYear = 365;
        } else {
            dayOfYear = r;
            ++y;
        }
        leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
        dow = static_cast<jint>((e + 1) % 7);
    } else {
        const jlong e = floorDiv(t, kDay) + kJulianEpochDays;
        y = floorDiv(4 * e + 1464, 1461);
        dayOfYear = e - (365 * (y - 1) + floorDiv(y - 1, 4));
        leap = y % 4 == 0;
        dow = static_cast<jint>((e - 1) % 7);
    }
    const jint marchFirst = leap ? 60 : 59;
    const jint correction = dayOfYear >= marchFirst ? (leap ? 1 : 2) : 0;
    const jint m = static_cast<jint>((12 * (dayOfYear + correction) + 6) / 367);
    const jint d = static_cast<jint>(dayOfYear - (leap ? kLeapDays : kCommonDays)[m] + 1);
    m_dayOfWeek = dow + (dow < 0 ? 8 : 1);
    m_date = static_cast<jint>(static_cast<uint32_t>(java::ishl(java::l2i(y), 9)) |
                               (static_cast<uint32_t>(m & 15) << 5) | static_cast<uint32_t>(d & 31));
}

// --- text forms -------------------------------------------------------------------

String* java_util_Calendar::toLongString(java_util_Calendar* c) {
    if (!c) return StaticClass::getStringConstant(166);
    c->makeFieldsCurrent();
    java_util_Statics* s = utilStatics();
    ObjectArray* days = poolNames(s->dayNames, 179, 7);
    ObjectArray* months = poolNames(utilStatics()->monthNames, 167, 12);
    String* id = c->m_zone ? c->m_zone->getID() : nullptr;
    if (!id) id = StaticClass::getStringConstant(1);

    std::u16string text;
    const jint dow = c->m_dayOfWeek;
    if (dow >= 1 && dow <= 7) appendString(text, static_cast<String*>(days->data()[dow - 1]));
    text += u' ';
    const jint m = c->month();
    if (m <= 11) appendString(text, static_cast<String*>(months->data()[m]));
    else appendTwoDigits(text, m + 1);  // a month that set() left out of range has no name
    text += u' ';
    appendTwoDigits(text, c->dayOfMonth());
    text += u' ';
    appendTwoDigits(text, c->hourOfDay());
    text += u':';
    appendTwoDigits(text, c->minute());
    text += u':';
    appendTwoDigits(text, c->second());
    text += u' ';
    if (id && id->length() > 0) {
        appendString(text, id);
        text += u' ';
    }
    appendYear(text, c->year());
    return String::fromUtf16(text);
}

String* java_util_Calendar::toCompactString(java_util_Calendar* c) {
    if (!c) return StaticClass::getStringConstant(186);
    std::u16string text;
    appendYear(text, c->year());
    for (jint v : {c->month() + 1, c->dayOfMonth(), c->hourOfDay(), c->minute(), c->second()}) {
        text += u' ';
        appendTwoDigits(text, v);
    }
    const jint raw = c->m_zone ? c->m_zone->getRawOffset() : 0;
    text += u' ';
    text += raw < 0 ? u'-' : u'+';
    const jlong minutes = (raw < 0 ? -static_cast<jlong>(raw) : raw) / 60000;
    appendTwoDigits(text, minutes / 60);
    appendTwoDigits(text, minutes % 60);
    return String::fromUtf16(text);
}

// --- Date -------------------------------------------------------------------------

java_util_Date::java_util_Date() : java_util_Date(java_lang_System::currentTimeMillis()) {}

java_util_Date::java_util_Date(jlong date) : Object(cid::java_util_Date) {
    StaticClass::setRefFieldOffsets(this, {&m_calendar});
    m_calendar = nullptr;
    m_millis = date;
    java_util_Calendar* calendar = java_util_Calendar::getInstance();
    m_calendar = calendar;
    calendar->setTimeInMillis(date);
}

jlong java_util_Date::getTime() { return m_calendar ? m_calendar->getTimeInMillis() : m_millis; }

void java_util_Date::setTime(jlong time) {
    if (m_calendar) m_calendar->setTimeInMillis(time);
    m_millis = time;
}

jboolean java_util_Date::equals(Object* obj) {
    if (!instanceOf(obj, cid::java_util_Date)) return 0;
    return getTime() == static_cast<java_util_Date*>(obj)->getTime() ? 1 : 0;
}

jint java_util_Date::hashCode() {
    const jlong t = getTime();
    return java::l2i(t) ^ java::l2i(t >> 32);
}

String* java_util_Date::toString() { return java_util_Calendar::toLongString(m_calendar); }
