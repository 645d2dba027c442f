// Reading and writing the clock schedule, "Application" and the automatic
// setting of the one-second tick.
#include "maintenance/sys_timing_logic.h"

#include <gtest/gtest.h>

namespace qavo {
namespace {

TEST(ScheduleText, ReadsFullMomentsAndTimesOfDayOnly) {
    struct Case {
        const char* text;
        std::optional<CivilTime> read;
    };
    const Case cases[] = {
        {"2026/12/10 08:30:00", CivilTime{2026, 12, 10, 8, 30, 0}},
        {"2024/02/29 23:59:59", CivilTime{2024, 2, 29, 23, 59, 59}},
        {"2026/1/5 8:30:00", CivilTime{2026, 1, 5, 8, 30, 0}},  // read, though not stored so
        {"23:59:59", CivilTime{1899, 12, 30, 23, 59, 59}},
        {"2018/18/18 23:59:59", std::nullopt},  // the row the table starts with
        {"2023/02/29 10:00:00", std::nullopt},
        {"2026/12/10 24:00:00", std::nullopt},
        {"2026/12/10 08:60:00", std::nullopt},
        {"2026/12/10", std::nullopt},
        {"2026/12/10 08:30:00 ", std::nullopt},
        {"", std::nullopt},
        {"soon", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadScheduleText(c.text), c.read);
    }
    EXPECT_EQ(FormatSchedule(CivilTime{2026, 1, 5, 8, 3, 9}), "2026/01/05 08:03:09");
    EXPECT_EQ(FormatSchedule(kTimeOnlyDay), "1899/12/30 00:00:00");
}

TEST(ScheduleText, LocalMomentsRoundTrip) {
    const CivilTime t{2026, 12, 10, 8, 30, 0};
    const auto seconds = LocalToSeconds(t);
    ASSERT_TRUE(seconds);
    EXPECT_EQ(LocalFromSeconds(*seconds), t);
    EXPECT_EQ(LocalFromSeconds(*seconds + 1).second, 1);
}

TEST(SysTimingApply, SendsThePickedTimeAndStoresTheScheduleCheckedOrNot) {
    const AutoTiming current{"2018/18/18 23:59:59", true};
    SysTimingInput input;
    input.set_now = CivilTime{2026, 3, 5, 14, 7, 9};
    input.schedule = CivilTime{2026, 12, 10, 8, 30, 0};

    input.auto_checked = true;
    SysTimingOutcome checked = ApplySysTiming(input, current);
    EXPECT_EQ(checked.clock_to_set, LocalToSeconds(input.set_now));
    EXPECT_EQ(checked.timing, (AutoTiming{"2026/12/10 08:30:00", true}));

    // Unchecked: the setting stops; the stored moment stays as it was.
    input.auto_checked = false;
    SysTimingOutcome unchecked = ApplySysTiming(input, current);
    EXPECT_EQ(unchecked.clock_to_set, LocalToSeconds(input.set_now));
    EXPECT_EQ(unchecked.timing, (AutoTiming{"2018/18/18 23:59:59", false}));
}

class AutoClockTest : public ::testing::Test {
  protected:
    static long long At(const char* text) { return *LocalToSeconds(*ReadScheduleText(text)); }
    // The seconds at which a SET_CLOCK was due, ticking through `ticks`.
    std::vector<long long> Fired(const AutoTiming& timing, const std::vector<long long>& ticks) {
        std::vector<long long> fired;
        for (long long now : ticks) {
            if (auto due = clock.Tick(timing, now)) {
                EXPECT_EQ(*due, now);  // the PC's own time is sent
                fired.push_back(now);
            }
        }
        return fired;
    }
    AutoClock clock;
};

TEST_F(AutoClockTest, FiresOnceAtItsSecond) {
    const long long t = At("2026/12/10 08:30:00");
    const AutoTiming timing{"2026/12/10 08:30:00", true};
    // Two ticks inside the same second still fire once.
    EXPECT_EQ(Fired(timing, {t - 2, t - 1, t, t, t + 1, t + 2}), std::vector<long long>{t});
    // A new moment fires again.
    const AutoTiming later{"2026/12/10 08:30:05", true};
    EXPECT_EQ(Fired(later, {t + 3, t + 4, t + 5, t + 6}), std::vector<long long>{t + 5});
}

TEST_F(AutoClockTest, ATickThatStepsOverTheSecondStillFires) {
    const long long t = At("2026/12/10 08:30:00");
    EXPECT_EQ(Fired(AutoTiming{"2026/12/10 08:30:00", true}, {t - 1, t + 1, t + 2}),
              std::vector<long long>{t + 1});
}

TEST_F(AutoClockTest, NeverFires) {
    const long long t = At("2026/12/10 08:30:00");
    struct Case {
        const char* what;
        AutoTiming timing;
        std::vector<long long> ticks;
    };
    const Case cases[] = {
        {"in the past", {"2026/12/10 08:29:00", true}, {t - 1, t, t + 1}},
        {"the table's first row", {"2018/18/18 23:59:59", true}, {t, At("2018/12/18 23:59:59")}},
        {"the initial time of day", {"23:59:59", true}, {At("2026/12/10 23:59:59")}},
        {"a text in another form", {"2026/12/10 8:30:00", true}, {t - 1, t, t + 1}},
        {"switched off", {"2026/12/10 08:30:00", false}, {t - 1, t, t + 1}},
        // The timer stood still (logged out) while the moment passed.
        {"passed while the timer stood", {"2026/12/10 08:30:00", true}, {t - 60, t + 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AutoClock fresh;
        clock = fresh;
        EXPECT_TRUE(Fired(c.timing, c.ticks).empty());
    }
}

TEST_F(AutoClockTest, AResetForgetsTheLastTick) {
    const long long t = At("2026/12/10 08:30:00");
    const AutoTiming timing{"2026/12/10 08:30:00", true};
    EXPECT_TRUE(Fired(timing, {t - 1}).empty());
    clock.Reset();  // logged out, logged in again after the moment
    EXPECT_TRUE(Fired(timing, {t + 1}).empty());
}

}  // namespace
}  // namespace qavo
