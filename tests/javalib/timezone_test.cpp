// TimeZone: the default and known zones, rule decoding and its errors,
// getOffset's argument checks, and northern and southern DST rules at
// their edges.
#include "javalib/timezone.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

constexpr jint kHour = 3600000;

class TimeZoneTest : public UtilTest {
protected:
    // Start: April, first Sunday, 2:00 standard; end: October, last Sunday,
    // 2:00 wall time; one hour; raw offset one hour.
    java_util_TimeZoneImpl* northern() {
        return newObject<java_util_TimeZoneImpl>(kHour, String::fromUtf8("N"), 3, 1, 1, 2 * kHour, 9, -1, 1,
                                                 2 * kHour, kHour);
    }
};

TEST_F(TimeZoneTest, DefaultAndKnownZones) {
    java_util_TimeZone* z = java_util_TimeZone::getDefault();
    EXPECT_EQ(z, java_util_TimeZone::getDefault());
    EXPECT_EQ(z->getID(), nullptr);
    EXPECT_EQ(z->getRawOffset(), 0);
    EXPECT_FALSE(z->useDaylightTime());
    EXPECT_EQ(z->getOffset(1, 2001, 6, 15, 1, 0), 0);
    EXPECT_EQ(static_cast<java_util_TimeZoneImpl*>(z)->m_dstSavings, 0);

    ObjectArray* ids = java_util_TimeZone::getAvailableIDs();
    ASSERT_EQ(ids->length(), 2);
    EXPECT_EQ(toUtf8(static_cast<String*>(ids->data()[0])), "#143");
    EXPECT_EQ(toUtf8(static_cast<String*>(ids->data()[1])), "#155");
    collect();
    EXPECT_EQ(java_util_TimeZone::getAvailableIDs(), ids);
    EXPECT_FALSE(m_app->monitors().ownedByCaller(z));

    auto* known = static_cast<java_util_TimeZoneImpl*>(utilStatics()->zoneTable->data()[1]);
    EXPECT_EQ(known->m_dstSavings, kHour);
    EXPECT_EQ(known->m_rawOffset, 0);
    EXPECT_FALSE(known->useDaylightTime());
    // The month-length table gives February 29 days.
    EXPECT_EQ(known->m_monthLength->data()[1], 29);
}

TEST_F(TimeZoneTest, GetOffsetArgumentChecks) {
    auto* z = northern();
    struct Case {
        jint era, year, month, day, dow, millis;
        const char* message;
    } cases[] = {
        {1, 2001, 12, 1, 1, 0, "#14212"},
        {1, 2001, -1, 1, 1, 0, "#142-1"},
        {1, 2001, 0, 0, 1, 0, "#1"},
        {1, 2001, 0, 32, 1, 0, "#1"},
        {1, 2001, 3, 31, 1, 0, "#1"},   // April has 30 days
        {1, 2001, 0, 1, 0, 0, "#1"},
        {1, 2001, 0, 1, 8, 0, "#1"},
        {1, 2001, 0, 1, 1, -1, "#1"},
        {1, 2001, 0, 1, 1, 86400000, "#1"},
        {2, 2001, 0, 1, 1, 0, "#1"},
        {-1, 2001, 0, 1, 1, 0, "#1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(z->getOffset(c.era, c.year, c.month, c.day, c.dow, c.millis), 0);
        EXPECT_EQ(pendingMessage(), c.message) << c.month << "/" << c.day << "/" << c.dow << "/" << c.millis;
        EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    }
    // Accepted edges: February 29 in any year, the last millisecond, era 0
    // (no DST before the era).
    EXPECT_EQ(z->getOffset(1, 2001, 1, 29, 5, 86399999), kHour);
    EXPECT_EQ(z->getOffset(0, 2001, 6, 1, 1, 0), kHour);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(TimeZoneTest, RuleDecodingAndErrors) {
    auto* ge = newObject<java_util_TimeZoneImpl>(0, String::fromUtf8("G"), 2, 8, -1, 0, 9, -21, -1, 0, kHour);
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(ge->m_startMode, java_util_TimeZoneImpl::kDowGeDomMode);
    EXPECT_EQ(ge->m_startDayOfWeek, 1);
    EXPECT_EQ(ge->m_startDay, 8);
    EXPECT_EQ(ge->m_endMode, java_util_TimeZoneImpl::kDowLeDomMode);
    EXPECT_EQ(ge->m_endDay, 21);
    EXPECT_TRUE(ge->useDaylightTime());
    auto* n = northern();
    EXPECT_EQ(n->m_startMode, java_util_TimeZoneImpl::kDowInMonthMode);
    auto* dom = newObject<java_util_TimeZoneImpl>(0, nullptr, 0, 31, 0, 86400000, 1, 29, 0, 0, 1);
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(dom->m_startMode, java_util_TimeZoneImpl::kDomMode);
    // A zero start day: no DST and no further checks of the start rule.
    auto* off = newObject<java_util_TimeZoneImpl>(0, nullptr, 99, 0, 99, -5, 0, 1, 0, 0, kHour);
    EXPECT_EQ(takeException(), 0);
    EXPECT_FALSE(off->useDaylightTime());

    struct Case {
        jint sm, sd, sdow, st, em, ed, edow, et, savings;
        const char* message;
    } cases[] = {
        {12, 1, 0, 0, 0, 1, 0, 0, kHour, "#14512"},
        {0, 1, 0, -1, 0, 1, 0, 0, kHour, "#146-1"},
        {0, 1, 0, 86400001, 0, 1, 0, 0, kHour, "#14686400001"},
        {0, 1, 8, 0, 0, 1, 0, 0, kHour, "#1478"},
        {0, 1, -9, 0, 0, 1, 0, 0, kHour, "#1479"},
        {0, 1, java::kIntMin, 0, 0, 1, 0, 0, kHour, "#147-2147483648"},
        {0, 6, 1, 0, 0, 1, 0, 0, kHour, "#1486"},
        {0, -6, 1, 0, 0, 1, 0, 0, kHour, "#148-6"},
        {0, 32, 0, 0, 0, 1, 0, 0, kHour, "#14932"},
        {3, 31, -1, 0, 0, 1, 0, 0, kHour, "#14931"},  // April: 30 days
        {0, 1, 0, 0, -1, 1, 0, 0, kHour, "#150-1"},
        {0, 1, 0, 0, 0, 1, 0, 86400001, kHour, "#15186400001"},
        {0, 1, 0, 0, 0, 1, 8, 0, kHour, "#1528"},
        {0, 1, 0, 0, 0, 9, 1, 0, kHour, "#1539"},
        {0, 1, 0, 0, 1, 30, 0, 0, kHour, "#15430"},  // February: 29 days
        {0, 1, 0, 0, 1, 1, 0, 0, 0, "#141"},
        {0, 1, 0, 0, 1, 1, 0, 0, -1, "#141"},
    };
    for (const Case& c : cases) {
        newObject<java_util_TimeZoneImpl>(0, nullptr, c.sm, c.sd, c.sdow, c.st, c.em, c.ed, c.edow, c.et, c.savings);
        EXPECT_EQ(pendingMessage(), c.message);
        EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException) << c.message;
    }
}

TEST_F(TimeZoneTest, NorthernRuleEdges) {
    auto* z = northern();
    // 2001: April 1 and October 28 are Sundays; July 15 a Sunday too.
    struct Case {
        jint month, day, dow, millis, offset;
    } cases[] = {
        {6, 15, 1, 12 * kHour, 2 * kHour},
        {0, 15, 2, 12 * kHour, kHour},
        {2, 31, 7, 23 * kHour, kHour},
        {3, 1, 1, 2 * kHour - 1, kHour},
        {3, 1, 1, 2 * kHour, 2 * kHour},
        {3, 2, 2, 0, 2 * kHour},
        // End at 2:00 wall time = 1:00 standard.
        {9, 28, 1, kHour - 1, 2 * kHour},
        {9, 28, 1, kHour, kHour},
        {9, 21, 1, 23 * kHour + 30 * 60000, 2 * kHour},  // DST pushes the wall time into the next day
        {11, 31, 2, 23 * kHour, kHour},
    };
    for (const Case& c : cases)
        EXPECT_EQ(z->getOffset(1, 2001, c.month, c.day, c.dow, c.millis), c.offset)
            << c.month << "/" << c.day << " " << c.millis;
    // Before the rule's era nothing changes.
    EXPECT_EQ(z->getOffset(0, 2001, 6, 15, 1, 0), kHour);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(TimeZoneTest, SouthernRuleIsInDaylightTimeInJanuary) {
    // Start October first Sunday, end March third Sunday.
    auto* z = newObject<java_util_TimeZoneImpl>(10 * kHour, String::fromUtf8("S"), 9, 1, 1, 2 * kHour, 2, 3, 1,
                                                 2 * kHour, kHour);
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(z->getOffset(1, 2001, 0, 15, 2, 0), 11 * kHour);
    EXPECT_EQ(z->getOffset(1, 2001, 6, 15, 1, 0), 10 * kHour);
    EXPECT_EQ(z->getOffset(1, 2001, 11, 31, 2, 0), 11 * kHour);
    // March 18, 2001 is the third Sunday: DST until 2:00 wall time.
    EXPECT_EQ(z->getOffset(1, 2001, 2, 18, 1, kHour - 1), 11 * kHour);
    EXPECT_EQ(z->getOffset(1, 2001, 2, 18, 1, kHour), 10 * kHour);
}

TEST_F(TimeZoneTest, ComputedIdFromRawOffset) {
    auto* z = newObject<java_util_TimeZoneImpl>(-(5 * kHour + 30 * 60000), nullptr);
    z->m_computedID = 1;
    EXPECT_EQ(toUtf8(z->getID()), "#143-05#14430");
}

}  // namespace
