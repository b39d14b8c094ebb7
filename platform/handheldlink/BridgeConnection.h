// Serves one connection of the stand-in library: its handshake opens a
// remote-API session on the handheld, and each later request becomes one
// call there. Private handles stand for the handheld's own, so a handle
// the stand-in never got back is refused here, not passed on. The
// connection ends, without a reply, at a request that does not decode, at
// a reply from the handheld that lies, and as soon as the handheld's
// session or link is gone, so the stand-in reports the device not
// connected at once.
#pragma once

#include "platform/handheldlink/HandheldLink.h"
#include "platform/handheldlink/LinkSettings.h"
#include "platform/handheldlink/PrivateCodec.h"
#include "platform/handheldlink/RapiClient.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace handheldlink {

// What the stand-in is told when no handheld is there or unlocked:
// HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED).
constexpr std::uint32_t HR_DEVICE_NOT_CONNECTED = 0x8007048F;

class CBridgeConnection
{
public:
    // bStopping: the server is shutting down, and an idle connection ends.
    CBridgeConnection(CLinkSocket privateLink, IHandheldLink& link, const LinkSettings& settings,
                      const std::atomic<bool>& bStopping);

    void Serve();

private:
    // False when the stand-in or the handheld has gone.
    bool ReceiveRequest(std::vector<std::uint8_t>& body);
    // False when the connection must end without a reply.
    bool Answer(PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnHello(const PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnFindAllFiles(const PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnCreateFile(const PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnWriteFile(PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnCloseHandle(const PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool OnDeleteFile(const PrivateRequest& request, std::vector<std::uint8_t>& reply);
    bool Call(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    bool SendReply(const std::vector<std::uint8_t>& reply);

    CLinkSocket m_privateLink;
    IHandheldLink& m_link;
    const LinkSettings& m_settings;
    const std::atomic<bool>& m_bStopping;
    std::unique_ptr<CRapiClient> m_pClient;
    std::uint64_t m_nGeneration = 0;
    std::map<std::uint32_t, std::uint32_t> m_handles;   // private -> handheld
    std::uint32_t m_nNextHandle = 1;
};

}   // namespace handheldlink
