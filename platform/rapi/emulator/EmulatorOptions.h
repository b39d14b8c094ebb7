// The emulator's command line (the usage text of EmulatorMain.cpp lists
// it). --mode private speaks the stand-in library's own protocol on
// 127.0.0.1:--port; the other modes speak the handheld's own: usb (OS 5.x,
// triggered over UDP, connects to the PC), legacy (OS 4.x, connects to the
// PC, takes sessions on its own port) and frames (remote-API frames from
// the first byte). A port of 0 where the emulator listens lets the system
// choose; the emulator prints the address it listens on as its first line
// ("listening on ADDRESS:PORT").
// --hostile-listing spoils every listing reply: each record followed by a
// copy whose name fills its field without a terminator (unterminated), a
// count one larger than the records sent (overcount), or the last record
// cut off halfway (cut); without a value the three come in turn. In the
// handheld's own protocol a search's one record is spoiled alike.
#pragma once

#include "platform/handheldwire/Frames.h"

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

enum EmulatorMode
{
    emPrivate,
    emUsb,
    emLegacy,
    emFrames,
};

constexpr DWORD NEVER_UNLOCKED = INFINITE;

struct EmulatorOptions
{
    std::wstring strRoot;
    WORD nPort;
    EmulatorMode mode = emPrivate;
    std::string strDeviceAddress = "127.0.0.2";
    std::string strPcAddress = "127.0.0.1";
    WORD nTriggerPort = 5679;   // UDP, where a USB handheld waits for the PC's trigger
    WORD nControlPort = 0;      // the PC's; 0 until parsed: 990 (usb) or 5679 (legacy)
    WORD nSessionPort = 0;      // the PC's (usb, 0: the control port), else the handheld's own (0: system-chosen)
    bool bSessionPortSet = false;
    DWORD nOsMajor = 5, nOsMinor = 2;
    bool bOsSet = false;
    handheldwire::RapiVersion version = handheldwire::RapiVersion::V2;
    bool bVersionSet = false;
    std::wstring strName = L"Pocket_PC";
    std::wstring strPassword;    // typed on the PC; empty: none
    DWORD dwUnlockAfterMs = 0;   // NEVER_UNLOCKED, or when the user unlocks
    bool bUnlockOnDevice = false;
    bool bCutFrames = false;            // every reply frame ends halfway and the connection closes
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
