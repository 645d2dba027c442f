#include "platform/timings.h"

#include <gtest/gtest.h>

#include <set>

namespace qavo {
namespace {

TEST(Timings, ScaledShortensEveryWaitAndPause) {
    // The list names each field once and covers the whole structure: a wait
    // added to Timings but not to the list fails here.
    Timings t;
    std::set<const void*> fields;
    for (auto field : kAllTimings)
        fields.insert(&(t.*field));
    EXPECT_EQ(fields.size(), kAllTimings.size());
    EXPECT_EQ(sizeof(Timings), kAllTimings.size() * sizeof(Timings::ms));

    const Timings full;
    const Timings scaled = Timings::Scaled(0.01);
    for (auto field : kAllTimings) {
        ASSERT_GT((full.*field).count(), 0);
        EXPECT_LT((scaled.*field).count(), (full.*field).count());
        EXPECT_GE((scaled.*field).count(), 1);
    }
    EXPECT_EQ(scaled.ack_wait.count(), 10);
}

}  // namespace
}  // namespace qavo
