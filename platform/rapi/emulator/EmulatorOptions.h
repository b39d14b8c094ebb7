// The emulator's command line:
//   rapiemu --root FOLDER [--port N]
//           [--no-handshake] [--refuse[=HRESULT]]
//           [--capacity BYTES] [--drop-after BYTES]
//           [--latency MS] [--throughput KBPS]
//           [--hostile-listing[=unterminated|overcount|cut]]
// --port 0 lets the system choose; the emulator prints the port it listens
// on as its first line ("listening on 127.0.0.1:PORT").
// --hostile-listing spoils every listing reply: each record followed by a
// copy whose name fills its field without a terminator (unterminated), a
// count one larger than the records sent (overcount), or the last record
// cut off halfway (cut); without a value the three come in turn.
#pragma once

#include <windows.h>
#include <string>

constexpr ULONGLONG UNLIMITED = ~0ull;

enum ListingFault
{
    lfNone,
    lfUnterminated,
    lfOvercount,
    lfCut,
    lfInTurn,   // the three above, one listing after the other
};

struct EmulatorOptions
{
    std::wstring strRoot;
    WORD nPort;
    bool bNoHandshake = false;          // accept connections, never answer the handshake
    HRESULT hrRefusal = S_OK;           // a failure: the handshake is answered with it
    ULONGLONG nCapacity = UNLIMITED;    // bytes of file data the store holds
    ULONGLONG nDropAfter = UNLIMITED;   // bytes written before the cable is pulled
    DWORD dwLatencyMs = 0;              // added to every call
    DWORD dwBytesPerSecond = 0;         // 0: as fast as loopback goes
    ListingFault listingFault = lfNone;
};

// FALSE with a message for the user when the command line is wrong.
bool ParseEmulatorOptions(int argc, wchar_t** argv, EmulatorOptions& options, std::wstring& strError);
