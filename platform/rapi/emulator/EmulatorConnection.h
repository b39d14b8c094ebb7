// One connection from the stand-in library: reads requests, answers them
// from the store, and ends at the first request that makes no sense (bad
// size, unknown opcode, fields that do not add up, anything before the
// handshake), when the peer goes, or when a fault says the cable is pulled.
#pragma once

#include "platform/rapi/RapiWire.h"
#include "platform/rapi/Socket.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"

class CEmulatorConnection
{
public:
    CEmulatorConnection(CSocket link, DWORD dwId, CHandheldStore& store, CLinkFaults& faults);
    // Files left open by the peer are closed with the connection.
    ~CEmulatorConnection();
    CEmulatorConnection(const CEmulatorConnection&) = delete;
    CEmulatorConnection& operator=(const CEmulatorConnection&) = delete;

    void Serve();

private:
    enum Outcome
    {
        outReply,
        outSilent,   // no answer, keep listening
        outDrop,
    };

    Outcome Dispatch(CWireReader& request, CWireWriter& reply);
    // Sends the reply at the link's pace, a slice at a time.
    bool SendReply(const CWireWriter& reply);
    Outcome OnHello(CWireReader& request, CWireWriter& reply);
    Outcome OnFindAllFiles(CWireReader& request, CWireWriter& reply);
    Outcome OnCreateFile(CWireReader& request, CWireWriter& reply);
    Outcome OnWriteFile(CWireReader& request, CWireWriter& reply);
    Outcome OnCloseHandle(CWireReader& request, CWireWriter& reply);
    Outcome OnDeleteFile(CWireReader& request, CWireWriter& reply);

    CSocket m_link;
    DWORD m_dwId;
    CHandheldStore& m_store;
    CLinkFaults& m_faults;
    bool m_bGreeted = false;
};
