// A job served on a thread of its own, which owns the job and deletes it
// when its Serve returns. The thread's handle is closed at once: nobody
// waits for a connection to end.
#pragma once

#include "platform/rapi/Handle.h"

#include <memory>

template <class Job> DWORD WINAPI DetachedThreadProc(void* pParam)
{
    std::unique_ptr<Job> pJob(static_cast<Job*>(pParam));
    pJob->Serve();
    return 0;
}

template <class Job> void StartDetached(std::unique_ptr<Job> pJob)
{
    CHandle hThread(CreateThread(nullptr, 0, DetachedThreadProc<Job>, pJob.get(), 0, nullptr));
    if (hThread.IsValid())
        pJob.release();
}
