// The emulator's command line:
//   rapiemu --root FOLDER [--port N]
//           [--no-handshake] [--refuse[=HRESULT]]
//           [--capacity BYTES] [--drop-after BYTES]
//           [--latency MS] [--throughput KBPS]
// --port 0 lets the system choose; the emulator prints the port it listens
// on as its first line ("listening on 127.0.0.1:PORT").
#pragma once

#include <windows.h>
#include <string>

constexpr ULONGLONG UNLIMITED = ~0ull;

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
};

// FALSE with a message for the user when the command line is wrong.
bool ParseEmulatorOptions(int argc, wchar_t** argv, EmulatorOptions& options, std::wstring& strError);
