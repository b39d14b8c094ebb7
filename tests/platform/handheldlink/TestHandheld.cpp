#include "tests/platform/handheldlink/TestHandheld.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/UsbControl.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <type_traits>
#include <unistd.h>

namespace {
using handheldlink::CLinkSocket;
using handheldwire::Call;
using handheldwire::ControlEvent;
using handheldwire::RapiReply;
using handheldwire::RapiRequest;

constexpr std::uint32_t LOOK_MS = 50;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
const char* const LOOPBACK = "127.0.0.1";

std::uint32_t U32Of(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

handheldwire::DeviceInfo InfoOf(const TestHandheldSetup& setup)
{
    handheldwire::DeviceInfo info;
    info.nOsMajor = setup.nOsMajor;
    info.nOsMinor = setup.nOsMinor;
    info.strName = u"Test_PC";
    info.strPlatform = "PocketPC";
    info.strModel = "Test";
    if (setup.bUnlockOnDevice)
        info.dwPasswordKey = handheldwire::PASSWORD_ON_DEVICE;
    else if (!setup.strPassword.empty())
        info.dwPasswordKey = 0xA5;
    return info;
}

int BindTriggerSocket()
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    inet_pton(AF_INET, LOOPBACK, &addr.sin_addr);
    bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr));
    return s;
}

std::uint16_t PortOfSocket(int s)
{
    sockaddr_in addr{};
    socklen_t cb = sizeof(addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &cb);
    return ntohs(addr.sin_port);
}

bool TakeTrigger(int s)
{
    pollfd fd = { s, POLLIN, 0 };
    std::uint8_t buffer[16];
    return poll(&fd, 1, LOOK_MS) > 0 && recv(s, buffer, sizeof(buffer), 0) == 1 && buffer[0] == 0x7F;
}

// Entries right inside the folder of a pattern "\folder\*".
bool IsInFolder(const std::u16string& strPath, const std::u16string& strFolder)
{
    return strPath.size() > strFolder.size() && strPath.compare(0, strFolder.size(), strFolder) == 0
           && strPath.find(u'\\', strFolder.size()) == std::u16string::npos;
}
}   // namespace

CTestHandheld::CTestHandheld(const TestHandheldSetup& setup)
    : m_setup(setup), m_version(handheldwire::VersionForOs(setup.nOsMajor, setup.nOsMinor))
{
    if (m_setup.bUsb) {
        m_nTriggerSocket = BindTriggerSocket();
        m_mainThreads.emplace_back([this] { RunUsb(); });
    } else {
        m_sessionListener = CLinkSocket::Listen(LOOPBACK, 0);
        m_mainThreads.emplace_back([this] { RunLegacyControl(); });
        m_mainThreads.emplace_back([this] { RunLegacySessions(); });
    }
}

CTestHandheld::~CTestHandheld()
{
    m_bStop = true;
    for (std::thread& thread : m_mainThreads)
        thread.join();
    for (std::thread& thread : m_sessionThreads)
        thread.join();
    if (m_nTriggerSocket >= 0)
        close(m_nTriggerSocket);
}

handheldlink::LinkSettings CTestHandheld::Settings() const
{
    handheldlink::LinkSettings settings;
    settings.strDeviceAddress = LOOPBACK;
    settings.strPcAddress = LOOPBACK;
    settings.nTriggerPort = m_setup.bUsb ? PortOfSocket(m_nTriggerSocket) : 0;
    settings.nControlPort = 0;
    settings.nSessionPort = m_setup.bUsb ? 0 : m_sessionListener.LocalPort();
    return settings;
}

void CTestHandheld::ConnectTo(std::uint16_t nPcControlPort)
{
    m_nPcPort = nPcControlPort;
}

std::map<std::u16string, std::vector<std::uint8_t>> CTestHandheld::Files() const
{
    std::lock_guard<std::mutex> lock(m_cs);
    return m_files;
}

void CTestHandheld::RunUsb()
{
    while (!m_bStop) {
        if (!TakeTrigger(m_nTriggerSocket) || m_nPcPort == 0)
            continue;
        CLinkSocket control = CLinkSocket::Connect(LOOPBACK, m_nPcPort, 1000);
        handheldwire::CUsbControlDevice machine(InfoOf(m_setup));
        if (control.IsValid())
            ServeControl(control, machine);
    }
}

// Connects again whenever the connection ends, as a legacy handheld does.
void CTestHandheld::RunLegacyControl()
{
    while (!m_bStop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(LOOK_MS));
        CLinkSocket control = m_nPcPort ? CLinkSocket::Connect(LOOPBACK, m_nPcPort, 1000) : CLinkSocket();
        handheldwire::CLegacyControlDevice machine(InfoOf(m_setup));
        if (control.IsValid())
            ServeControl(control, machine);
    }
}

template <class Machine> void CTestHandheld::ServeControl(CLinkSocket& control, Machine& machine)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point unlockAt = Clock::time_point::max();
    while (!m_bStop) {
        const std::vector<std::uint8_t> out = machine.Take();
        if (!m_bSilent && !out.empty() && !control.SendAll(out.data(), out.size(), 1000))
            return;
        if constexpr (std::is_same_v<Machine, handheldwire::CUsbControlDevice>) {
            if (Clock::now() >= unlockAt) {
                machine.ReportUnlock(0);
                unlockAt = Clock::time_point::max();
                continue;
            }
        }
        std::uint8_t buffer[4096];
        const long cb = control.ReceiveSome(buffer, sizeof(buffer), LOOK_MS);
        if (cb < 0)
            return;
        for (const ControlEvent& event : machine.Feed(buffer, static_cast<std::size_t>(cb))) {
            if (event.kind == ControlEvent::PasswordOffered)
                machine.AnswerPassword(event.strPassword == m_setup.strPassword);
            else if (event.kind == ControlEvent::UnlockRequested && m_setup.msUnlockAfter >= 0)
                unlockAt = Clock::now() + std::chrono::milliseconds(m_setup.msUnlockAfter);
            else if (event.kind == ControlEvent::SessionRequested && machine.IsConnected())
                OnSessionRequested(event.dwSessionId);
        }
        if (machine.IsBroken())
            return;
    }
}

void CTestHandheld::OnSessionRequested(std::uint32_t nId)
{
    CLinkSocket session = CLinkSocket::Connect(LOOPBACK, m_nPcPort, 1000);
    std::vector<std::uint8_t> id;
    handheldwire::AppendU32(id, nId);
    if (!session.IsValid() || !session.SendAll(id.data(), id.size(), 1000))
        return;
    std::lock_guard<std::mutex> lock(m_csSessions);
    m_sessionThreads.emplace_back([this](CLinkSocket s) { ServeSession(std::move(s)); }, std::move(session));
}

void CTestHandheld::RunLegacySessions()
{
    while (!m_bStop) {
        CLinkSocket session = m_sessionListener.Accept(LOOK_MS);
        if (!session.IsValid() || (!m_setup.strPassword.empty() && !TakeSessionPassword(session)))
            continue;
        std::lock_guard<std::mutex> lock(m_csSessions);
        m_sessionThreads.emplace_back([this](CLinkSocket s) { ServeSession(std::move(s)); }, std::move(session));
    }
}

bool CTestHandheld::TakeSessionPassword(CLinkSocket& session)
{
    std::uint8_t count[2];
    if (!session.ReceiveExactly(count, 2, 1000))
        return false;
    std::vector<std::uint8_t> encoded(count[0] | (count[1] << 8));
    std::u16string strPassword;
    const bool bAccepted = session.ReceiveExactly(encoded.data(), encoded.size(), 1000)
                           && handheldwire::DecodePassword(encoded.data(), encoded.size(), 0xA5, strPassword)
                           && strPassword == m_setup.strPassword;
    const std::vector<std::uint8_t> verdict = handheldwire::EncodeSessionVerdict(bAccepted);
    return session.SendAll(verdict.data(), verdict.size(), 1000) && bAccepted;
}

void CTestHandheld::ServeSession(CLinkSocket session)
{
    while (!m_bStop) {
        if (!session.WaitReadable(LOOK_MS))
            continue;
        std::uint8_t length[4];
        if (!session.ReceiveExactly(length, 4, 1000))
            return;
        std::vector<std::uint8_t> payload(U32Of(length));
        RapiRequest request;
        if (payload.size() > handheldwire::MAX_FRAME_PAYLOAD
            || !session.ReceiveExactly(payload.data(), payload.size(), 1000)
            || !handheldwire::DecodeRequest(payload.data(), payload.size(), m_version, request))
            return;
        const std::vector<std::uint8_t> frame = handheldwire::MakeFrame(
            handheldwire::EncodeReply(request.call, request.dwFlags, Answer(request), m_version));
        if (!session.SendAll(frame.data(), frame.size(), 1000))
            return;
    }
}

RapiReply CTestHandheld::Answer(const RapiRequest& request)
{
    std::lock_guard<std::mutex> lock(m_cs);
    RapiReply reply;
    switch (request.call) {
    case Call::CreateFile:
        m_files[request.strName].clear();
        m_handles[m_nNextHandle] = request.strName;
        reply.dwResult = m_nNextHandle++;
        return reply;
    case Call::WriteFile: {
        const auto it = m_handles.find(request.hFile);
        if (it == m_handles.end()) {
            reply.dwLastError = ERROR_INVALID_HANDLE;
            return reply;
        }
        std::vector<std::uint8_t>& file = m_files[it->second];
        file.insert(file.end(), request.data.begin(), request.data.end());
        reply.dwResult = 1;
        reply.cbDone = static_cast<std::uint32_t>(request.data.size()) + (m_setup.bOverstatesWrites ? 1 : 0);
        return reply;
    }
    case Call::CloseHandle:
        reply.dwResult = m_handles.erase(request.hFile);
        reply.dwLastError = reply.dwResult ? 0 : ERROR_INVALID_HANDLE;
        return reply;
    case Call::DeleteFile:
        reply.dwResult = m_files.erase(request.strName);
        reply.dwLastError = reply.dwResult ? 0 : ERROR_FILE_NOT_FOUND;
        return reply;
    case Call::FindAllFiles:
        return List(request);
    default:
        reply.dwLastError = ERROR_INVALID_HANDLE;
        return reply;
    }
}

RapiReply CTestHandheld::List(const RapiRequest& request)
{
    RapiReply reply;
    reply.dwResult = 1;
    const std::u16string strFolder = request.strName.substr(0, request.strName.rfind(u'\\') + 1);
    for (const auto& [strPath, data] : m_files) {
        if (!IsInFolder(strPath, strFolder))
            continue;
        handheldwire::FindRecord record;
        record.dwAttributes = 0x80;
        record.nSizeLow = static_cast<std::uint32_t>(data.size());
        record.strName = strPath.substr(strFolder.size());
        reply.records.push_back(record);
    }
    if (m_setup.bUnterminatedName) {
        handheldwire::FindRecord record;
        record.strName.assign(handheldwire::MAX_NAME_UNITS, u'x');
        reply.records.push_back(record);
    }
    return reply;
}
