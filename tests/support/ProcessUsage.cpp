#include "tests/support/ProcessUsage.h"

#include <tlhelp32.h>
#include <vector>

int CountHandles()
{
    int nHandles = 0;
    for (ULONG_PTR nValue = 4; nValue < 0x10000; nValue += 4) {
        DWORD dwFlags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(nValue), &dwFlags))
            ++nHandles;
    }
    return nHandles;
}

int CountThreads()
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int nThreads = 0;
    for (BOOL bMore = Thread32First(hSnapshot, &entry); bMore; bMore = Thread32Next(hSnapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++nThreads;
    }
    CloseHandle(hSnapshot);
    return nThreads;
}

SIZE_T HeapBytesInUse()
{
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    SIZE_T cbInUse = 0;
    for (HANDLE hHeap : heaps) {
        if (!HeapLock(hHeap))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(hHeap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                cbInUse += entry.cbData;
        }
        HeapUnlock(hHeap);
    }
    return cbInUse;
}
