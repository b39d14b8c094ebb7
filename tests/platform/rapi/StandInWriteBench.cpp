// Write throughput of the stand-in library against the unthrottled
// emulator, in the 64 KiB blocks the installation engine writes, next to a
// local copy of the same bytes in the same blocks. A third figure shows the
// emulator held to a typical link's 200 KB/s.
#include "tests/platform/rapi/StandInSession.h"
#include "tests/support/BenchReport.h"
#include "tests/support/TempFolder.h"

#include <cstdio>
#include <vector>

namespace {
constexpr DWORD TOTAL = 32u << 20;
constexpr DWORD THROTTLED_TOTAL = 512u << 10;

// The local path of the engine: read a source stream, write a destination
// stream, 64 KiB at a time.
double TimeLocalCopy(const CTempFolder& folder, const std::vector<char>& block)
{
    std::string strSource = folder.PathOf("source.kda");
    FILE* pSource = fopen(strSource.c_str(), "wb");
    for (DWORD cbDone = 0; pSource && cbDone < TOTAL; cbDone += BENCH_BLOCK)
        fwrite(block.data(), 1, BENCH_BLOCK, pSource);
    if (!pSource || fclose(pSource) != 0)
        return -1;
    bool bOk = false;
    const double dSeconds = SecondsTaken([&] {
        pSource = fopen(strSource.c_str(), "rb");
        FILE* pDest = fopen(folder.PathOf("copy.kda").c_str(), "wb");
        std::vector<char> buffer(BENCH_BLOCK);
        size_t cbRead;
        while (pSource && pDest && (cbRead = fread(buffer.data(), 1, BENCH_BLOCK, pSource)) > 0)
            fwrite(buffer.data(), 1, cbRead, pDest);
        bOk = pSource && pDest;
        if (pSource)
            fclose(pSource);
        if (pDest && fclose(pDest) != 0)
            bOk = false;
    });
    return bOk ? dSeconds : -1;
}

double MeasureThroughHandheld(const std::string& strOptions, DWORD cbTotal)
{
    CTempFolder root;
    CEmulatorProcess emulator(root.Path(), strOptions);
    if (!emulator.Port())
        return -1;
    UseEndpoint(emulator.Endpoint());
    CStandInSession session;
    if (!session.IsAnswered(20000) || FAILED(session.HandheldResult()))
        return -1;
    return TimeHandheldWrites(BenchBlock(), cbTotal);
}

double MegabytesPerSecond(DWORD cb, double dSeconds)
{
    return cb / 1048576.0 / dSeconds;
}
}   // namespace

int main()
{
    if (!StandInLibrary()) {
        std::printf("rapi.dll is not in the system directory\n");
        return 1;
    }
    double dHandheld = MeasureThroughHandheld("", TOTAL);
    CTempFolder local;
    double dLocal = TimeLocalCopy(local, BenchBlock());
    double dThrottled = MeasureThroughHandheld("--throughput 200", THROTTLED_TOTAL);
    if (dHandheld <= 0 || dLocal <= 0 || dThrottled <= 0) {
        std::printf("a measurement failed (handheld %.3f s, local %.3f s, throttled %.3f s)\n", dHandheld, dLocal,
                    dThrottled);
        return 1;
    }
    std::printf("stand-in writes, 64 KiB blocks: %.1f MB/s (%u MiB in %.3f s)\n", MegabytesPerSecond(TOTAL, dHandheld),
                static_cast<unsigned>(TOTAL >> 20), dHandheld);
    std::printf("local copy, 64 KiB blocks:      %.1f MB/s (%u MiB in %.3f s)\n", MegabytesPerSecond(TOTAL, dLocal),
                static_cast<unsigned>(TOTAL >> 20), dLocal);
    std::printf("stand-in / local copy:          %.2f\n", dLocal / dHandheld);
    const double dHeldKBps = THROTTLED_TOTAL / 1024.0 / dThrottled;
    std::printf("emulator held to 200 KB/s:      %.0f KB/s\n", dHeldKBps);
    // The cap must hold, and must not slow the link below it either.
    const bool bCapHeld = ReportRatio("held / capped throughput", dHeldKBps / 200, RatioGoal::AtMost, 1.1);
    const bool bCapReached = ReportRatio("held / capped throughput", dHeldKBps / 200, RatioGoal::AtLeast, 0.9);
    return bCapHeld && bCapReached ? 0 : 1;
}
