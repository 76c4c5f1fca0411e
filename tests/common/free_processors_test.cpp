#include <gtest/gtest.h>

#include <thread>

#include "common/free_processors.h"

TEST(FreeProcessors, OthersBusyProcessorsAreTakenOffAndOurOwnTimeIsNot) {
    const auto earlier = ReadProcessorTimes("cpu  100 0 50 1000 0 0 0 0 0 0", 40);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->Busy, 150u);
    EXPECT_EQ(earlier->Idle, 1000u);
    // 200 ticks pass (100 per processor). Idle machine: both free.
    auto later = ReadProcessorTimes("cpu  100 0 50 1200 0 0 0 0 0 0", 40);
    EXPECT_EQ(FreeBetween(*earlier, *later, 2, 2), 2);
    // We kept one processor busy ourselves: both still free for us.
    later = ReadProcessorTimes("cpu  200 0 50 1100 0 0 0 0 0 0", 140);
    EXPECT_EQ(FreeBetween(*earlier, *later, 2, 2), 2);
    // Another program kept one busy (steal and interrupts count too): one.
    later = ReadProcessorTimes("cpu  150 10 50 1100 0 20 10 10 0 0", 40);
    EXPECT_EQ(FreeBetween(*earlier, *later, 2, 2), 1);
    // Others kept both busy: still one, ours.
    later = ReadProcessorTimes("cpu  300 0 50 1000 0 0 0 0 0 0", 40);
    EXPECT_EQ(FreeBetween(*earlier, *later, 2, 2), 1);
    // Only two of a machine of eight are ours, and others keep three busy:
    // ours are still free.
    later = ReadProcessorTimes("cpu  100 0 125 1125 0 0 0 0 0 0", 40);
    EXPECT_EQ(FreeBetween(*earlier, *later, 2, 8), 2);
    // Counters that went back, or no time at all: every processor.
    EXPECT_EQ(FreeBetween(*later, *earlier, 2, 2), 2);
    EXPECT_EQ(FreeBetween(*earlier, *earlier, 2, 2), 2);
    // Lines that are not the processors' line.
    EXPECT_FALSE(ReadProcessorTimes("cpu0 1 2 3 4 5 6 7 8", 0));
    EXPECT_FALSE(ReadProcessorTimes("cpu 1 2 x", 0));
    EXPECT_FALSE(ReadProcessorTimes("", 0));
    // The live answer is one of the processors we may use.
    const int free = FreeProcessors();
    EXPECT_GE(free, 1);
    EXPECT_LE(free, static_cast<int>(std::thread::hardware_concurrency()));
}
