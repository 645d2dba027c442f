// The sensitivity adjustment: the list follows impedance_level, never
// leaves the five levels, and "OK" stores and sends the chosen one.
#include "editors/sp_impedance_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/requests.h"

namespace qavo {
namespace {

std::vector<uint8_t> Sent(const Job& job) {
    Datagram d{};
    return std::vector<uint8_t>(d.begin(), d.begin() + BuildSingleRequest(job, d));
}

TEST(SpImpedance, TheListSelectsTheLevelHeld) {
    struct Case {
        uint8_t level;
        int selection;
        const char* entry;
    };
    const Case cases[] = {
        {0, 0, "10%"},
        {1, 1, "15%"},
        {2, 2, "20%"},
        {3, 3, "25%"},
        {4, 4, "30%"},
        // Nothing beyond the list can leave it without a selection.
        {5, 4, "30%"},
        {7, 4, "30%"},
        {255, 4, "30%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.level});
        SpImpedanceLogic logic(c.level);
        EXPECT_EQ(logic.selection(), c.selection);
        EXPECT_STREQ(SpImpedanceLogic::kEntries[static_cast<size_t>(logic.selection())], c.entry);
        SpImpedanceLogic reported(1);
        reported.ShowLevel(c.level);  // a report while the dialog is open
        EXPECT_EQ(reported.selection(), c.selection);
    }
}

TEST(SpImpedance, OnlyTheFiveEntriesCanBeSelected) {
    struct Case {
        int index;
        int selection;
    };
    const Case cases[] = {{0, 0}, {4, 4}, {1, 1}, {-1, 2}, {5, 2}, {255, 2}, {-255, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        SpImpedanceLogic logic(2);
        logic.Select(c.index);
        EXPECT_EQ(logic.selection(), c.selection);
    }
}

TEST(SpImpedance, OkStoresTheLevelAndSendsItWithParameterOne) {
    struct Case {
        uint8_t held;
        int picked;
        uint8_t sent;
    };
    const Case cases[] = {
        {3, 0, 0}, {3, 4, 4},  {0, 2, 2},
        {3, 3, 3}, {7, -1, 4},  // a held level beyond the list goes out as the highest
        {3, 9, 3},              // no entry 9: the level stays as held
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picked);
        SystemModel model;
        model.live.impedance_level = c.held;
        SpImpedanceLogic logic(c.held);
        logic.Select(c.picked);
        const Job job = logic.Ok(model);
        EXPECT_EQ(model.live.impedance_level, c.sent);
        EXPECT_EQ(job.job_kind, JobKind::kSingle);
        EXPECT_EQ(Sent(job), (std::vector<uint8_t>{IMPEDANCE, 0, 0, 1, c.sent}));
    }
}

TEST(SpImpedance, NoLevelOutsideTheListEverGoesOut) {
    for (int held = 0; held < 256; ++held) {
        for (int picked : {-1, 0, 3, 4, 5, 17, 255}) {
            SystemModel model;
            SpImpedanceLogic logic(static_cast<uint8_t>(held));
            logic.Select(picked);
            const std::vector<uint8_t> sent = Sent(logic.Ok(model));
            ASSERT_EQ(sent.size(), 5u);
            EXPECT_LE(sent[4], 4) << held << " " << picked;
            EXPECT_LE(model.live.impedance_level, 4) << held << " " << picked;
        }
    }
}

TEST(SpImpedance, TheReadAsksForTheLevel) {
    EXPECT_EQ(Sent(SpImpedanceLogic::ReadJob()), (std::vector<uint8_t>{IMPEDANCE, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace qavo
