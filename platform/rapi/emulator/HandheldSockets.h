// The sockets of the handheld's own protocol as the emulator opens them:
// listeners and the trigger socket bound to an address of its choosing,
// and connections out from the handheld's address to the PC's.
#pragma once

#include "platform/rapi/Socket.h"
#include "platform/rapi/SocketIo.h"
#include "platform/rapi/emulator/LinkFaults.h"

#include <cstdint>
#include <string>
#include <vector>

// Bound and listening (TCP) or bound (UDP); invalid on failure.
CSocket ListenTcp(const std::string& strAddress, WORD nPort);
CSocket BindUdp(const std::string& strAddress, WORD nPort);
// A non-blocking connection from strLocal (any port) to strRemote:nPort,
// made within dwTimeout; invalid on failure.
CSocket ConnectTcp(const std::string& strLocal, const std::string& strRemote, WORD nPort, DWORD dwTimeout);
// Makes an accepted or connected socket ready for the emulator's transfers:
// non-blocking, and each small reply sent at once.
bool PrepareLink(SOCKET s);
WORD PortOf(SOCKET s);
// What has arrived, at least one byte, within dwTimeout (INFINITE allowed).
IoStatus ReceiveSome(SOCKET s, std::vector<std::uint8_t>& bytes, DWORD dwTimeout);
IoStatus SendBytes(SOCKET s, const std::vector<std::uint8_t>& bytes, DWORD dwTimeout);
// Sends at the link's pace, a slice at a time, as a slow cable delivers.
IoStatus SendPaced(SOCKET s, const std::uint8_t* p, size_t cb, const CLinkFaults& faults, DWORD dwTimeout);
// Takes what arrives until the peer closes: a handheld that never speaks.
void StaySilent(SOCKET s);
