// timeout_test.cpp: the toolkit's one timer: once, repeating, replaced, and ended by itself.
// GTK criticals are fatal here, so removing a source that no longer exists fails the test.
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
int once_runs = 0, every_runs = 0, other_runs = 0;
void* once_data = reinterpret_cast<void*>(1);

int once(void* data) {
    ++once_runs;
    once_data = data;
    return 0;
}
int every() {
    ++every_runs;
    return 1;
}
int other() {
    ++other_runs;
    return 1;
}
// Hands over to `every` from inside the timer and ends itself.
int hand_over() {
    TIMEOUT(10, every);
    return 0;
}

class Timer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { start_toolkit(); }
    void SetUp() override { once_runs = every_runs = other_runs = 0; }
    void TearDown() override { TIMEOUT(0, static_cast<wex::Callback>(nullptr)); }
    static int timer_id() { return wex::wex_gui_properties.timer_id; }
};

TEST_F(Timer, NoTimerAtStart) { EXPECT_EQ(timer_id(), -1); }

TEST_F(Timer, ZeroRunsOnceWithNullDataAndForgetsTheTimer) {
    TIMEOUT(20, once);
    EXPECT_NE(timer_id(), -1);
    EXPECT_EQ(once_runs, 0);  // not before the main loop runs
    pump(200);
    EXPECT_EQ(once_runs, 1);
    EXPECT_EQ(once_data, nullptr);
    EXPECT_EQ(timer_id(), -1);
}

TEST_F(Timer, NonzeroRunsEveryPeriodUntilReplaced) {
    TIMEOUT(10, every);
    ASSERT_TRUE(pump_until([] { return every_runs >= 5; }));
    TIMEOUT(10, other);
    int stopped_at = every_runs;
    ASSERT_TRUE(pump_until([] { return other_runs >= 3; }));
    EXPECT_EQ(every_runs, stopped_at);
}

// After a timer ended by itself a new TIMEOUT must not remove its stale id (GLib would
// complain, and the complaint is fatal here).
TEST_F(Timer, ANewTimerAfterOneEndedByItself) {
    TIMEOUT(5, once);
    ASSERT_TRUE(pump_until([] { return once_runs == 1; }));
    TIMEOUT(5, once);
    ASSERT_TRUE(pump_until([] { return once_runs == 2; }));
    EXPECT_EQ(timer_id(), -1);
}

TEST_F(Timer, ATimerThatSetsTheNextOneKeepsIt) {
    TIMEOUT(5, hand_over);
    ASSERT_TRUE(pump_until([] { return every_runs >= 3; }));
    EXPECT_NE(timer_id(), -1);
}

TEST_F(Timer, ANullFunctionStopsTheTimer) {
    TIMEOUT(10, every);
    ASSERT_TRUE(pump_until([] { return every_runs >= 1; }));
    TIMEOUT(10, static_cast<wex::Callback>(nullptr));
    EXPECT_EQ(timer_id(), -1);
    int stopped_at = every_runs;
    pump(60);
    EXPECT_EQ(every_runs, stopped_at);
}
}  // namespace
