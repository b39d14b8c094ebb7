// The control connections: each device side driven against its PC side
// through the bytes they hand each other, fed in whole and byte by byte,
// and each side against hand-written byte sequences.
#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/UsbControl.h"
#include "tests/platform/handheldwire/WireSamples.h"

#include <gtest/gtest.h>

using namespace handheldwire;
using namespace wiretest;

namespace {

using Kinds = std::vector<ControlEvent::Kind>;

// A device side and a PC side joined: each pass moves what one side has to
// send into the other, in one piece or a byte at a time, and answers the
// device's prompts as the test says.
template <class Device, class Pc> class CLink
{
public:
    CLink(const DeviceInfo& info, bool bByteByByte) : m_device(info), m_bByteByByte(bByteByByte) {}

    Device m_device;
    Pc m_pc;
    std::vector<ControlEvent> m_deviceEvents, m_pcEvents;

    // Moves bytes until neither side has any to send.
    void Pump()
    {
        for (;;) {
            const Bytes toPc = m_device.Take();
            const Bytes toDevice = m_pc.Take();
            if (toPc.empty() && toDevice.empty())
                return;
            Deliver(toPc, m_pc, m_pcEvents);
            Deliver(toDevice, m_device, m_deviceEvents);
        }
    }

    static Kinds KindsOf(const std::vector<ControlEvent>& events)
    {
        Kinds kinds;
        for (const ControlEvent& event : events)
            kinds.push_back(event.kind);
        return kinds;
    }

private:
    template <class Side> void Deliver(const Bytes& bytes, Side& side, std::vector<ControlEvent>& events)
    {
        const std::size_t cbStep = m_bByteByByte ? 1 : std::max<std::size_t>(bytes.size(), 1);
        for (std::size_t n = 0; n < bytes.size(); n += cbStep) {
            for (ControlEvent& event : side.Feed(bytes.data() + n, std::min(cbStep, bytes.size() - n)))
                events.push_back(std::move(event));
        }
    }

    bool m_bByteByByte;
};

using CUsbLink = CLink<CUsbControlDevice, CUsbControlPc>;
using CLegacyLink = CLink<CLegacyControlDevice, CLegacyControlPc>;

TEST(Control, UsbPlainDeviceConnectsRequestsSessionsAndAnswersPings)
{
    for (bool bByteByByte : { false, true }) {
        CUsbLink link(SampleInfo(PASSWORD_NONE), bByteByByte);
        link.Pump();
        EXPECT_TRUE(SameInfo(link.m_pc.Info(), SampleInfo(PASSWORD_NONE)));
        ASSERT_TRUE(link.m_pc.IsConnected() && link.m_device.IsConnected());
        EXPECT_EQ(link.m_pc.RequestSession(), 1u);
        link.m_pc.Ping();
        EXPECT_EQ(link.m_pc.RequestSession(), 2u);
        link.Pump();
        EXPECT_EQ(CUsbLink::KindsOf(link.m_pcEvents),
                  (Kinds{ ControlEvent::HandshakeDone, ControlEvent::PingAnswered }));
        ASSERT_EQ(CUsbLink::KindsOf(link.m_deviceEvents),
                  (Kinds{ ControlEvent::HandshakeDone, ControlEvent::SessionRequested, ControlEvent::Ping,
                          ControlEvent::SessionRequested }));
        EXPECT_EQ(link.m_deviceEvents[1].dwSessionId, 1u);
        EXPECT_EQ(link.m_deviceEvents[3].dwSessionId, 2u);
        EXPECT_FALSE(link.m_pc.IsBroken() || link.m_device.IsBroken());
    }
}

TEST(Control, UsbPasswordWrongThenRight)
{
    for (bool bByteByByte : { false, true }) {
        CUsbLink link(SampleInfo(0x1A5), bByteByByte);
        link.Pump();
        EXPECT_EQ(link.m_pc.RequestSession(), 0u);   // locked: no session yet
        for (const char16_t* psz : { u"wrong", u"right" }) {
            link.m_pc.OfferPassword(psz);
            link.Pump();
            ASSERT_EQ(link.m_deviceEvents.back().kind, ControlEvent::PasswordOffered);
            EXPECT_EQ(link.m_deviceEvents.back().strPassword, psz);
            link.m_device.AnswerPassword(std::u16string(psz) == u"right");
            link.Pump();
            ASSERT_EQ(link.m_pcEvents.back().kind, ControlEvent::PasswordVerdict);
            EXPECT_EQ(link.m_pcEvents.back().bAccepted, std::u16string(psz) == u"right");
        }
        EXPECT_TRUE(link.m_pc.IsConnected() && link.m_device.IsConnected());
        EXPECT_EQ(link.m_pc.RequestSession(), 1u);
    }
}

TEST(Control, UsbOnDeviceUnlockRefusedThenGranted)
{
    CUsbLink link(SampleInfo(PASSWORD_ON_DEVICE), false);
    link.Pump();
    for (std::uint32_t nResult : { 5u, 0u }) {
        link.m_pc.RequestUnlock();
        link.Pump();
        ASSERT_EQ(link.m_deviceEvents.back().kind, ControlEvent::UnlockRequested);
        link.m_device.ReportUnlock(nResult);
        link.Pump();
    }
    EXPECT_EQ(CUsbLink::KindsOf(link.m_pcEvents),
              (Kinds{ ControlEvent::HandshakeDone, ControlEvent::PasswordVerdict, ControlEvent::Unlocked }));
    EXPECT_FALSE(link.m_pcEvents[1].bAccepted);
    EXPECT_EQ(link.m_deviceEvents.back().kind, ControlEvent::Unlocked);
    EXPECT_TRUE(link.m_pc.IsConnected() && link.m_device.IsConnected());
}

TEST(Control, UsbPcTakesTheDocumentedSequencesAndBreaksOnOthers)
{
    const Bytes info = Concat({ Hex("04 00 00 00"), MakeFrame(EncodeUsbInfo(SampleInfo(PASSWORD_ON_DEVICE))) });
    struct Case
    {
        const char* pszWhat;
        Bytes fromDevice;
        Bytes expectedToDevice;   // after RequestUnlock
        bool bBroken;
    } cases[] = {
        { "6 before 0", Concat({ Hex("06 00 00 00 00 00 00 00"), info, Hex("00 00 00 00") }),
          Hex("07 00 00 00 08 00 00 00 04 00 00 00 05 00 00 00 03 00 00 00 08 00 00 00 00 00 00 00 0C 00 00 00"),
          false },
        { "info alone", Concat({ info, Hex("00 00 00 00") }), Hex("08 00 00 00 00 00 00 00 0C 00 00 00"), false },
        { "unknown request", Hex("09 00 00 00"), {}, true },
        { "info longer than the most", Hex("04 00 00 00 01 10 00 00"), {}, true },
        { "info that does not parse", Concat({ Hex("04 00 00 00 04 00 00 00"), Hex("00 00 00 00") }), {}, true },
    };
    for (const Case& c : cases) {
        CUsbControlPc pc;
        const std::size_t cbFirst =
            c.fromDevice.size() >= 4 && !c.bBroken ? c.fromDevice.size() - 4 : c.fromDevice.size();
        pc.Feed(c.fromDevice.data(), cbFirst);
        pc.RequestUnlock();
        pc.Feed(c.fromDevice.data() + cbFirst, c.fromDevice.size() - cbFirst);
        EXPECT_EQ(pc.IsBroken(), c.bBroken) << c.pszWhat;
        if (!c.bBroken) {
            EXPECT_EQ(pc.Take(), c.expectedToDevice) << c.pszWhat;
            EXPECT_TRUE(pc.IsConnected()) << c.pszWhat;
        }
    }
}

TEST(Control, UsbDeviceTakesEitherOptionsAnswerAndBreaksOnOthers)
{
    struct Case
    {
        const char* pszWhat;
        const char* pszFromPc;
        bool bBroken;
    } cases[] = {
        { "7 8 4 5", "03 00 00 00 07 00 00 00 08 00 00 00 04 00 00 00 05 00 00 00", false },
        { "7 8 4 1", "03 00 00 00 07 00 00 00 08 00 00 00 04 00 00 00 01 00 00 00", false },
        { "7 8 4 2", "03 00 00 00 07 00 00 00 08 00 00 00 04 00 00 00 02 00 00 00", true },
        { "wrong first answer", "04 00 00 00", true },
        { "session with a wrong kind",
          "03 00 00 00 07 00 00 00 08 00 00 00 04 00 00 00 05 00 00 00 "
          "05 00 00 00 03 00 00 00 01 00 00 00",
          true },
    };
    for (const Case& c : cases) {
        CUsbControlDevice device(SampleInfo(PASSWORD_NONE));
        const Bytes bytes = Hex(c.pszFromPc);
        device.Feed(bytes.data(), bytes.size());
        EXPECT_EQ(device.IsBroken(), c.bBroken) << c.pszWhat;
        EXPECT_EQ(device.IsConnected(), !c.bBroken) << c.pszWhat;
    }
}

TEST(Control, LegacyPasswordWrongThenRightAndPings)
{
    for (bool bByteByByte : { false, true }) {
        CLegacyLink link(SampleLegacyInfo(0x3C), bByteByByte);
        link.Pump();
        EXPECT_EQ(link.m_pc.Info().dwPasswordKey, LEGACY_CHALLENGE | 0x3C);
        EXPECT_EQ(link.m_pc.Info().strName, u"Old_PPC");
        for (bool bRight : { false, true }) {
            link.m_pc.OfferPassword(bRight ? u"right" : u"wrong");
            link.Pump();
            ASSERT_EQ(link.m_deviceEvents.back().kind, ControlEvent::PasswordOffered);
            link.m_device.AnswerPassword(link.m_deviceEvents.back().strPassword == u"right");
            link.Pump();
            EXPECT_EQ(link.m_pcEvents.back().bAccepted, bRight);
        }
        link.m_pc.Ping();
        link.Pump();
        EXPECT_EQ(link.m_pcEvents.back().kind, ControlEvent::PingAnswered);
        EXPECT_EQ(link.m_deviceEvents.back().kind, ControlEvent::Ping);
        EXPECT_TRUE(link.m_pc.IsConnected() && link.m_device.IsConnected());
    }
}

TEST(Control, LegacyPcReadsHeadersAsDocumented)
{
    const Bytes info = MakeFrame(EncodeLegacyInfo(SampleLegacyInfo(PASSWORD_NONE)));
    struct Case
    {
        const char* pszWhat;
        Bytes fromDevice;
        bool bConnected, bBroken;
    } cases[] = {
        { "empty messages, info", Concat({ Hex("00 00 00 00 00 00 00 00"), info }), true, false },
        { "challenge, info", Concat({ Hex("12 02 00 00"), info }), false, false },
        { "undersize message", Hex("23 00 00 00"), false, true },
        { "two challenges", Concat({ Hex("12 02 00 00 13 02 00 00"), info }), false, true },
        { "info, then a stray word", Concat({ info, Hex("01 00 00 00") }), false, true },
    };
    for (const Case& c : cases) {
        CLegacyControlPc pc;
        pc.Feed(c.fromDevice.data(), c.fromDevice.size());
        EXPECT_EQ(pc.IsConnected(), c.bConnected) << c.pszWhat;
        EXPECT_EQ(pc.IsBroken(), c.bBroken) << c.pszWhat;
    }
    CLegacyControlPc pc;
    const Bytes locked = Concat({ Hex("12 02 00 00"), info });
    pc.Feed(locked.data(), locked.size());
    pc.OfferPassword(u"ab");
    EXPECT_EQ(pc.Take(), EncodePassword(u"ab", 0x12));
}

}   // namespace
