// The field-table macro: one list gives the struct and its rows, and the
// contribution's root offsets are exactly the pointer rows.
#include "game/data/fields.h"

#include <gtest/gtest.h>

#include "runtime/array.h"

namespace {

#define SAMPLE_FIELDS(X)      \
    X(jint, count)            \
    X(IntArray*, table)       \
    X(jbyte, flag)            \
    X(ObjectArray*, rows)     \
    X(jlong, clock)

BRAMBLE_STATICS(SampleStatics, SAMPLE_FIELDS)

TEST(FieldTable, RowsFollowTheStructAndMarkReferences) {
    auto rows = SampleStatics::fields();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_STREQ(rows[1].name, "table");
    EXPECT_EQ(rows[1].offset, offsetof(SampleStatics, table));
    EXPECT_EQ(rows[4].size, sizeof(jlong));
    int refs = 0;
    for (const auto& f : rows) refs += f.isRef;
    EXPECT_EQ(refs, 2);

    StaticsContribution c = game::contribution<SampleStatics>("Sample", kClinitGame, nullptr);
    ASSERT_EQ(c.refOffsets.size(), 2u);
    EXPECT_EQ(c.refOffsets[0], offsetof(SampleStatics, table));
    EXPECT_EQ(c.refOffsets[1], offsetof(SampleStatics, rows));
    EXPECT_EQ(c.size, sizeof(SampleStatics));
}

}  // namespace
