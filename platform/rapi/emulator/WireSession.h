// One session of the handheld's own protocol: remote-API frames on a
// connected socket, answered from the store, until the peer goes, a frame
// lies about its length, a request does not decode, or a fault ends it. A
// legacy handheld with a password first takes the password on the socket
// and answers it with one byte.
#pragma once

#include "platform/handheldwire/Frames.h"
#include "platform/rapi/Socket.h"
#include "platform/rapi/emulator/HandheldCalls.h"
#include "platform/rapi/emulator/HandheldSockets.h"

#include <string>

struct SessionSetup
{
    handheldwire::RapiVersion version;
    bool bPasswordStep;   // legacy, locked: the password comes first
    std::u16string strPassword;
    std::uint8_t nKey;
};

class CWireSession
{
public:
    CWireSession(CSocket link, DWORD dwId, const SessionSetup& setup, CHandheldStore& store, CLinkFaults& faults);

    void Serve();

private:
    bool TakePassword();
    // FALSE when the session ends.
    // began: when the frame's first bytes came.
    bool AnswerFrame(const std::vector<std::uint8_t>& payload, CLinkFaults::Clock::time_point began);
    std::vector<std::uint8_t> EncodeAnswer(const handheldwire::RapiRequest& request,
                                           const handheldwire::RapiReply& reply);
    // Sends the frame at the link's pace, a slice at a time; a frame cut
    // short ends the session halfway through.
    bool SendFrame(const std::vector<std::uint8_t>& payload);

    CSocket m_link;
    SessionSetup m_setup;
    CLinkFaults& m_faults;
    CHandheldCalls m_calls;
};
