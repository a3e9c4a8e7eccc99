// java.util.TimeZone and TimeZoneImpl: rule decoding, the offset of a
// local date, the known zones and the default zone.
#include "javalib/timezone.h"

#include <cstdlib>
#include <string>

#include "javalib/synchronized.h"
#include "javalib/utilstatics.h"
#include "runtime/exception.h"
#include "runtime/statics.h"
#include "runtime/string.h"

namespace {

// IllegalArgumentException: pool text followed by a number.
void throwWithNumber(jint poolIndex, jint number) {
    std::u16string text;
    if (String* s = StaticClass::getStringConstant(poolIndex)) text = s->toUtf16();
    for (char c : std::to_string(number)) text += static_cast<char16_t>(c);
    rt::throwNew(cid::java_lang_IllegalArgumentException, String::fromUtf16(text));
}

void throwBadArgument() {
    rt::throwNew(cid::java_lang_IllegalArgumentException, StaticClass::getStringConstant(1));
}

// The shared tables; the two known zones are made here, by the two-argument
// constructor, which finds the tables already in place.
void ensureZoneStatics() {
    java_util_Statics* s = utilStatics();
    if (!s->monthLength) {
        ByteArray* lengths = newByteArray(12);
        ByteArray::fill(lengths, {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31});
        s->monthLength = lengths;
    }
    if (!s->zoneTable) {
        s->zoneTable = newObjectArray(cid::java_util_TimeZone, 2);
        Object* first = newObject<java_util_TimeZoneImpl>(0, StaticClass::getStringConstant(143));
        s->zoneTable->data()[0] = first;
        Object* second = newObject<java_util_TimeZoneImpl>(0, StaticClass::getStringConstant(155));
        s->zoneTable->data()[1] = second;
    }
}

}  // namespace

java_util_TimeZone* java_util_TimeZone::getDefault() {
    java_util_Statics* s = utilStatics();
    if (!s->defaultZone) {
        java_util_TimeZone* zone = newObject<java_util_TimeZoneImpl>();
        if (!s->defaultZone) s->defaultZone = zone;
    }
    return s->defaultZone;
}

ObjectArray* java_util_TimeZone::getAvailableIDs() {
    java_util_TimeZone* zone = getDefault();
    JavaMonitorScope lock(zone);
    java_util_Statics* s = utilStatics();
    if (!s->availableIDs) {
        ensureZoneStatics();
        const jint n = s->zoneTable->length();
        ObjectArray* ids = newObjectArray(cid::String, n);
        for (jint i = 0; i < n; ++i) {
            auto* z = static_cast<java_util_TimeZone*>(utilStatics()->zoneTable->data()[i]);
            String* id = z ? z->getID() : nullptr;
            ids->data()[i] = id;
        }
        s->availableIDs = ids;
    }
    return s->availableIDs;
}

// --- TimeZoneImpl -----------------------------------------------------------

void java_util_TimeZoneImpl::resetFields() {
    StaticClass::setRefFieldOffsets(this, {&m_ID, &m_monthLength});
    m_ID = nullptr;
    m_computedID = 0;
    m_startMonth = m_startDay = m_startDayOfWeek = m_startTime = 0;
    m_endMonth = m_endDay = m_endDayOfWeek = m_endTime = 0;
    m_startYear = 0;
    m_rawOffset = 0;
    m_useDaylight = 0;
    m_startMode = m_endMode = 0;
    m_dstSavings = 0;
    ensureZoneStatics();
    m_monthLength = utilStatics()->monthLength;
}

java_util_TimeZoneImpl::java_util_TimeZoneImpl() : java_util_TimeZone(cid::java_util_TimeZoneImpl) {
    resetFields();
}

java_util_TimeZoneImpl::java_util_TimeZoneImpl(jint rawOffset, String* ID)
    : java_util_TimeZone(cid::java_util_TimeZoneImpl) {
    resetFields();
    m_rawOffset = rawOffset;
    m_ID = ID;
    m_dstSavings = 3600000;
}

java_util_TimeZoneImpl::java_util_TimeZoneImpl(jint rawOffset, String* ID, jint startMonth, jint startDay,
                                               jint startDayOfWeek, jint startTime, jint endMonth, jint endDay,
                                               jint endDayOfWeek, jint endTime, jint dstSavings)
    : java_util_TimeZone(cid::java_util_TimeZoneImpl) {
    resetFields();
    m_rawOffset = rawOffset;
    m_ID = ID;
    m_startMonth = startMonth;
    m_startDay = startDay;
    m_startDayOfWeek = startDayOfWeek;
    m_startTime = startTime;
    m_endMonth = endMonth;
    m_endDay = endDay;
    m_endDayOfWeek = endDayOfWeek;
    m_endTime = endTime;
    m_dstSavings = dstSavings;
    m_useDaylight = (m_startDay != 0 && m_endDay != 0) ? 1 : 0;
    if (!decodeRule(m_startMonth, m_startDay, m_startDayOfWeek, m_startTime, m_startMode, 145)) return;
    if (!decodeRule(m_endMonth, m_endDay, m_endDayOfWeek, m_endTime, m_endMode, 150)) return;
    if (dstSavings <= 0) rt::throwNew(cid::java_lang_IllegalArgumentException, StaticClass::getStringConstant(141));
}

// Messages: first + 0 month, + 1 time, + 2 day of week, + 3 week in month,
// + 4 day of month.
bool java_util_TimeZoneImpl::decodeRule(jint month, jint& day, jint& dayOfWeek, jint time, jint& mode,
                                        jint firstMessage) {
    if (day == 0) return true;
    if (month < 0 || month > 11) {
        throwWithNumber(firstMessage, month);
        return false;
    }
    if (time < 0 || time > kMillisPerDay) {
        throwWithNumber(firstMessage + 1, time);
        return false;
    }
    if (dayOfWeek == 0) {
        mode = kDomMode;
    } else {
        if (dayOfWeek > 0) {
            mode = kDowInMonthMode;
        } else {
            dayOfWeek = java::ineg(dayOfWeek);
            if (day > 0) {
                mode = kDowGeDomMode;
            } else {
                day = java::ineg(day);
                mode = kDowLeDomMode;
            }
        }
        if (dayOfWeek > 7 || dayOfWeek < 1) {  // < 1: only the negated int minimum
            throwWithNumber(firstMessage + 2, dayOfWeek);
            return false;
        }
    }
    if (mode == kDowInMonthMode) {
        if (day < -5 || day > 5) {
            throwWithNumber(firstMessage + 3, day);
            return false;
        }
    } else if (day > m_monthLength->data()[month]) {
        throwWithNumber(firstMessage + 4, day);
        return false;
    }
    return true;
}

String* java_util_TimeZoneImpl::getID() {
    if (!m_computedID) return m_ID;
    // "GMT+hh:mm"-style text from the raw offset.
    std::u16string text;
    if (String* s = StaticClass::getStringConstant(143)) text = s->toUtf16();
    const jlong minutes = std::llabs(static_cast<jlong>(m_rawOffset)) / 60000;
    auto two = [&](jlong v) {
        text += static_cast<char16_t>(u'0' + (v / 10) % 10);
        text += static_cast<char16_t>(u'0' + v % 10);
    };
    text += m_rawOffset < 0 ? u'-' : u'+';
    two(minutes / 60);
    if (String* s = StaticClass::getStringConstant(144)) text += s->toUtf16();
    two(minutes % 60);
    return String::fromUtf16(text);
}

jint java_util_TimeZoneImpl::getOffset(jint era, jint year, jint month, jint day, jint dayOfWeek, jint millis) {
    if (month < 0 || month > 11) {
        throwWithNumber(142, month);
        return 0;
    }
    const jint length = m_monthLength->data()[month];
    if ((era != 0 && era != 1) || day < 1 || day > length || dayOfWeek < 1 || dayOfWeek > 7 || millis < 0 ||
        millis >= kMillisPerDay || length < 28 || length > 31) {
        throwBadArgument();
        return 0;
    }
    jint result = m_rawOffset;
    if (!m_useDaylight || year < m_startYear || era != 1) return result;

    const bool southern = m_startMonth > m_endMonth;
    const jint startCompare = compare(month, day, dayOfWeek, millis, length, m_startMonth, m_startDay,
                                      m_startDayOfWeek, m_startMode, m_startTime);
    jint endCompare = 0;
    if (southern != (startCompare >= 0)) {
        // The end rule is in wall time: compare with DST added.
        jlong wall = static_cast<jlong>(millis) + m_dstSavings;
        for (jlong days = wall / kMillisPerDay; days > 0; --days) {
            ++day;
            if (day > length) {
                day = 1;
                ++month;
            }
            dayOfWeek = dayOfWeek % 7 + 1;
        }
        wall %= kMillisPerDay;
        endCompare = compare(month, day, dayOfWeek, static_cast<jint>(wall), length, m_endMonth, m_endDay,
                             m_endDayOfWeek, m_endMode, m_endTime);
    }
    if ((!southern && startCompare >= 0 && endCompare < 0) || (southern && (startCompare >= 0 || endCompare < 0)))
        result = java::iadd(result, m_dstSavings);
    return result;
}

jint java_util_TimeZoneImpl::compare(jint month, jint day, jint dayOfWeek, jint millis, jint monthLength,
                                     jint ruleMonth, jint ruleDay, jint ruleDayOfWeek, jint ruleMode,
                                     jint ruleTime) const {
    if (month < ruleMonth) return -1;
    if (month > ruleMonth) return 1;
    // 64-bit: a rule day or weekday at the ends of the int range (which the
    // rule checks let through) cannot overflow here.
    const jlong d = day, dow = dayOfWeek, length = monthLength, rd = ruleDay, rdow = ruleDayOfWeek;
    jlong ruleDayOfMonth = 0;
    switch (ruleMode) {
    case kDomMode:
        ruleDayOfMonth = rd;
        break;
    case kDowInMonthMode:
        if (rd > 0)
            ruleDayOfMonth = 1 + (rd - 1) * 7 + (7 + rdow - (dow - d + 1)) % 7;
        else
            ruleDayOfMonth = length + (rd + 1) * 7 - (7 + (dow + length - d) - rdow) % 7;
        break;
    case kDowGeDomMode:
        ruleDayOfMonth = rd + (49 + rdow - rd - dow + d) % 7;
        break;
    case kDowLeDomMode:
        ruleDayOfMonth = rd - (49 - rdow + rd + dow - d) % 7;
        break;
    default:
        break;
    }
    if (day < ruleDayOfMonth) return -1;
    if (day > ruleDayOfMonth) return 1;
    if (millis < ruleTime) return -1;
    if (millis > ruleTime) return 1;
    return 0;
}
