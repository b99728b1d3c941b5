#include "core/quotes/HostPacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

// Time is measured on the steady clock: the pacer waits on it, and the program's clock
// (which tests pin) has no part in it.
TEST(HostPacerTest, SecondRequestToAHostWaitsItsTurn) {
    HostPacer pacer;
    const auto start = Steady::now();

    EXPECT_TRUE(pacer.WaitTurn("stooq.com", 1, {}));
    const auto first = Steady::now();
    EXPECT_TRUE(pacer.WaitTurn("stooq.com", 1, {}));
    const auto second = Steady::now();

    EXPECT_LT(first - start, 100ms);
    EXPECT_GE(second - first, 950ms);
    EXPECT_LT(second - first, 1500ms);
}

TEST(HostPacerTest, OtherHostsAndNoPauseAreNotDelayed) {
    HostPacer pacer;
    const auto start = Steady::now();

    EXPECT_TRUE(pacer.WaitTurn("stooq.com", 30, {}));
    EXPECT_TRUE(pacer.WaitTurn("query1.finance.yahoo.com", 30, {}));
    EXPECT_TRUE(pacer.WaitTurn("finnhub.io", 0, {}));
    EXPECT_TRUE(pacer.WaitTurn("finnhub.io", 0, {}));
    EXPECT_TRUE(pacer.WaitTurn("127.0.0.1:8080", 30, {}));
    EXPECT_TRUE(pacer.WaitTurn("127.0.0.1:8081", 30, {}));

    EXPECT_LT(Steady::now() - start, 200ms);
}

// A caller that stops is not held for the rest of a long pause.
TEST(HostPacerTest, StoppingEndsAWaitAtOnce) {
    HostPacer pacer;
    ASSERT_TRUE(pacer.WaitTurn("stooq.com", 60, {}));

    auto start = Steady::now();
    EXPECT_FALSE(pacer.WaitTurn("stooq.com", 60, [] { return false; }));
    EXPECT_LT(Steady::now() - start, 100ms);

    start = Steady::now();
    const auto stop = start + 250ms;
    EXPECT_FALSE(pacer.WaitTurn("stooq.com", 60, [stop] { return Steady::now() < stop; }));
    EXPECT_GE(Steady::now() - start, 240ms);
    EXPECT_LT(Steady::now() - start, 600ms);
}

// Two runs sharing the pacer (the automatic update and a window) take turns: the one that
// asked second goes a pause after the first, not with it.
TEST(HostPacerTest, TwoThreadsForOneHostGoOneAfterTheOther) {
    HostPacer pacer;
    Steady::time_point went[2];
    const auto start = Steady::now();

    std::thread other(
        [&] { went[0] = pacer.WaitTurn("stooq.com", 1, {}) ? Steady::now() : start; });
    went[1] = pacer.WaitTurn("stooq.com", 1, {}) ? Steady::now() : start;
    other.join();

    const auto gap = went[0] > went[1] ? went[0] - went[1] : went[1] - went[0];
    EXPECT_GE(gap, 900ms);
    EXPECT_LT(gap, 1500ms);
}

}  // namespace
