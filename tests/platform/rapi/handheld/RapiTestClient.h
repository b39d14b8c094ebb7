// The PC's side of one remote-API session, built from the wire library:
// a request encoded and framed, the reply frame assembled and decoded.
#pragma once

// Ahead of the wire library: some of its call names (CreateFile, MoveFile...)
// are also Win32 macros, which must rename them alike wherever they are used.
#include <winsock2.h>
#include <windows.h>

#include "platform/handheldwire/Frames.h"
#include "platform/handheldwire/RapiCalls.h"
#include "tests/platform/rapi/handheld/TestLink.h"

constexpr DWORD REPLY_TIMEOUT_MS = 10000;

class CRapiTestClient
{
public:
    CRapiTestClient(CTestLink link, handheldwire::RapiVersion version) : m_link(std::move(link)), m_version(version) {}

    // False when no reply came or it did not decode.
    bool Call(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    // The payload of the next reply frame to any payload; false when no
    // whole frame came.
    bool RawCall(const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>& reply);
    const CTestLink& Link() const { return m_link; }

private:
    CTestLink m_link;
    handheldwire::RapiVersion m_version;
    handheldwire::CFrameAssembler m_assembler;
};
