// One file being written at the destination: on a local drive or on the
// handheld. The installation copies into it chunk by chunk and, when a run
// is cancelled or a write fails and the user stops, deletes it.
#pragma once

#include <windows.h>

class CDestinationFile
{
public:
    virtual ~CDestinationFile() = default;
    // The number of bytes that reached the file.
    virtual DWORD Write(const BYTE* pData, DWORD cb) = 0;
    // FALSE when the last bytes did not reach the file.
    virtual BOOL Close() = 0;
    // Closes and removes the file; FALSE when it is still there.
    virtual BOOL Delete() = 0;
};
