// The pulled cable counted across connections: a write that starts while
// another is under way gets only what is left once that one is counted.
#include "platform/rapi/emulator/LinkFaults.h"
#include "platform/rapi/Handle.h"

#include <gtest/gtest.h>
#include <thread>

namespace {
constexpr DWORD WAIT_MS = 5000;

TEST(LinkFaultsTest, WritesAtOnceCannotPassTheDropTogether)
{
    EmulatorOptions options;
    options.nDropAfter = 5000;
    CLinkFaults faults(options);
    CHandle hInside(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    CHandle hRelease(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool bFirstPulled = true;
    std::thread first([&] {
        bFirstPulled = faults.WriteBeforeDrop(4000, [&](DWORD cbLimit) {
            SetEvent(hInside.Get());
            WaitForSingleObject(hRelease.Get(), WAIT_MS);
            return cbLimit;
        });
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hInside.Get(), WAIT_MS));
    DWORD cbSecondLimit = 0;
    bool bSecondPulled = false;
    std::thread second(
        [&] { bSecondPulled = faults.WriteBeforeDrop(4000, [&](DWORD cbLimit) { return cbSecondLimit = cbLimit; }); });
    Sleep(300);   // time for the second write to pass the first, were it let
    SetEvent(hRelease.Get());
    first.join();
    second.join();
    EXPECT_FALSE(bFirstPulled);
    EXPECT_EQ(1000u, cbSecondLimit);
    EXPECT_TRUE(bSecondPulled);
}
}   // namespace
