// Every decoder and control state machine of the wire library against
// random bytes and against valid messages with bits flipped, words set to
// boundary values, cut short and run on. Each input sits in a buffer of
// exactly its size, so on the host build a read past it stops the test.
// Whatever decodes must encode again to bytes that decode to the same.
// TARNIX_FUZZ_CASES sets how many cases (20,000 by default) and
// TARNIX_FUZZ_SEED the seed; the run prints both.
#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/RapiCalls.h"
#include "platform/handheldwire/UsbControl.h"
#include "tests/platform/handheldwire/WireSamples.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <type_traits>

using namespace handheldwire;
using namespace wiretest;

namespace {

constexpr unsigned long DEFAULT_CASES = 20000;
constexpr unsigned long DEFAULT_SEED = 0x5EED0C0D;
constexpr std::uint32_t BOUNDARY_WORDS[] = { 0,      1,       2,          0x7F,       0x80,       0xFF,
                                             0x100,  0x103,   0x104,      0x105,      0x208,      0x209,
                                             0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF };

unsigned long SettingOr(const char* pszName, unsigned long nDefault)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue && *pszValue ? std::strtoul(pszValue, nullptr, 0) : nDefault;
}

class CRandom
{
public:
    explicit CRandom(unsigned long nSeed) : m_engine(static_cast<std::uint32_t>(nSeed)) {}

    std::uint32_t Word() { return static_cast<std::uint32_t>(m_engine()); }
    std::size_t Below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_engine); }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

    Bytes RandomBytes(std::size_t cbMost)
    {
        Bytes bytes(Below(cbMost + 1));
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(Word());
        return bytes;
    }

    // One to four changes of a valid message.
    void Mutate(Bytes& bytes)
    {
        for (std::size_t n = 1 + Below(4); n > 0; --n) {
            switch (Below(5)) {
            case 0:
                if (!bytes.empty())
                    bytes[Below(bytes.size())] ^= static_cast<std::uint8_t>(1u << Below(8));
                break;
            case 1:
                if (bytes.size() >= 4) {
                    const std::size_t nAt = Below(bytes.size() - 3);
                    const std::uint32_t dw = BOUNDARY_WORDS[Below(std::size(BOUNDARY_WORDS))];
                    for (int i = 0; i < 4; ++i)
                        bytes[nAt + i] = static_cast<std::uint8_t>(dw >> (8 * i));
                }
                break;
            case 2:
                bytes.resize(Below(bytes.size() + 1));
                break;
            case 3: {
                const Bytes more = RandomBytes(8);
                bytes.insert(bytes.end(), more.begin(), more.end());
                break;
            }
            default:
                if (!bytes.empty())
                    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(Below(bytes.size())));
                break;
            }
        }
    }

    // A valid message changed, or random bytes.
    Bytes Derived(const Bytes& valid)
    {
        if (OneIn(8))
            return RandomBytes(96);
        Bytes bytes = valid;
        Mutate(bytes);
        return bytes;
    }

private:
    std::mt19937 m_engine;
};

RapiVersion AnyVersion(CRandom& random)
{
    return random.OneIn(2) ? RapiVersion::V1 : RapiVersion::V2;
}

void FuzzRequest(CRandom& random)
{
    const RapiVersion version = AnyVersion(random);
    RapiRequest request = SampleRequest(ALL_CALLS[random.Below(std::size(ALL_CALLS))]);
    request.data.resize(random.Below(40));
    const Bytes bytes = random.Derived(EncodeRequest(request, version));
    RapiRequest decoded;
    if (!DecodeRequest(bytes.data(), bytes.size(), version, decoded))
        return;
    const Bytes again = EncodeRequest(decoded, version);
    RapiRequest twice;
    ASSERT_TRUE(DecodeRequest(again.data(), again.size(), version, twice));
    ASSERT_TRUE(SameRequest(twice, decoded));
}

void FuzzReply(CRandom& random)
{
    const RapiVersion version = AnyVersion(random);
    const Call call = ALL_CALLS[random.Below(std::size(ALL_CALLS))];
    const std::vector<std::uint32_t> flags = ListingFlags();
    const std::uint32_t dwFlags = flags[random.Below(flags.size())];
    const Bytes bytes = random.Derived(EncodeReply(call, dwFlags, SampleReply(call, dwFlags), version));
    RapiReply decoded;
    if (!DecodeReply(call, dwFlags, bytes.data(), bytes.size(), version, decoded))
        return;
    const Bytes again = EncodeReply(call, dwFlags, decoded, version);
    RapiReply twice;
    ASSERT_TRUE(DecodeReply(call, dwFlags, again.data(), again.size(), version, twice));
    ASSERT_TRUE(SameReply(twice, decoded));
}

void FuzzInfo(CRandom& random)
{
    const bool bUsb = random.OneIn(2);
    const Bytes valid = bUsb ? EncodeUsbInfo(SampleInfo(random.Word())) : EncodeLegacyInfo(SampleLegacyInfo(0));
    const Bytes bytes = random.Derived(valid);
    DeviceInfo info;
    const bool bTaken =
        bUsb ? DecodeUsbInfo(bytes.data(), bytes.size(), info) : DecodeLegacyInfo(bytes.data(), bytes.size(), info);
    if (bTaken) {
        ASSERT_LE(info.strName.size(), MAX_DEVICE_NAME_UNITS);
    }
}

void FuzzPassword(CRandom& random)
{
    const std::uint8_t nKey = static_cast<std::uint8_t>(random.Word());
    const Bytes encoded = EncodePassword(u"secret", nKey);
    const Bytes bytes = random.Derived(Bytes(encoded.begin() + 2, encoded.end()));
    std::u16string str;
    if (DecodePassword(bytes.data(), bytes.size(), nKey, str)) {
        ASSERT_EQ(str.find(u'\0'), std::u16string::npos);
    }
}

void FuzzFrames(CRandom& random)
{
    const Bytes bytes = random.Derived(Concat({ MakeFrame(Hex("01 02")), MakeFrame(Bytes(40, 7)) }));
    CFrameAssembler assembler(64);
    Bytes payload;
    std::size_t cbTaken = 0;
    for (std::size_t n = 0; n < bytes.size();) {
        const std::size_t cb = std::min(bytes.size() - n, 1 + random.Below(16));
        const Bytes chunk(bytes.begin() + static_cast<std::ptrdiff_t>(n),
                          bytes.begin() + static_cast<std::ptrdiff_t>(n + cb));
        assembler.Feed(chunk.data(), chunk.size());
        n += cb;
        while (assembler.Next(payload)) {
            ASSERT_TRUE(!payload.empty() && payload.size() <= 64);
            cbTaken += 4 + payload.size();
        }
    }
    ASSERT_LE(cbTaken, bytes.size());
}

// What a PC sends to a device of the given key over a whole connection.
Bytes PcStream(const DeviceInfo& info, bool bLegacy)
{
    CUsbControlDevice usbDevice(info);
    CUsbControlPc usbPc;
    CLegacyControlDevice legacyDevice(info);
    CLegacyControlPc legacyPc;
    Bytes stream;
    const auto pump = [&]() {
        for (int i = 0; i < 8; ++i) {
            const Bytes toPc = bLegacy ? legacyDevice.Take() : usbDevice.Take();
            const Bytes toDevice = bLegacy ? legacyPc.Take() : usbPc.Take();
            stream.insert(stream.end(), toDevice.begin(), toDevice.end());
            for (const ControlEvent& event : bLegacy ? legacyDevice.Feed(toDevice.data(), toDevice.size())
                                                     : usbDevice.Feed(toDevice.data(), toDevice.size())) {
                if (event.kind == ControlEvent::PasswordOffered)
                    bLegacy ? legacyDevice.AnswerPassword(true) : usbDevice.AnswerPassword(true);
                if (event.kind == ControlEvent::UnlockRequested)
                    usbDevice.ReportUnlock(0);
            }
            bLegacy ? legacyPc.Feed(toPc.data(), toPc.size()) : usbPc.Feed(toPc.data(), toPc.size());
        }
    };
    pump();
    bLegacy ? legacyPc.OfferPassword(u"pw") : usbPc.OfferPassword(u"pw");
    if (!bLegacy)
        usbPc.RequestUnlock();
    pump();
    bLegacy ? legacyPc.Ping() : usbPc.Ping();
    if (!bLegacy)
        usbPc.RequestSession();
    pump();
    return stream;
}

// Feeds bytes in random pieces, answering the machine's prompts at random.
template <class Machine> void FeedInPieces(CRandom& random, Machine& machine, const Bytes& bytes)
{
    for (std::size_t n = 0; n < bytes.size();) {
        const std::size_t cb = std::min(bytes.size() - n, 1 + random.Below(24));
        const Bytes chunk(bytes.begin() + static_cast<std::ptrdiff_t>(n),
                          bytes.begin() + static_cast<std::ptrdiff_t>(n + cb));
        n += cb;
        for (const ControlEvent& event : machine.Feed(chunk.data(), chunk.size())) {
            if constexpr (!std::is_same_v<Machine, CUsbControlPc> && !std::is_same_v<Machine, CLegacyControlPc>) {
                if (event.kind == ControlEvent::PasswordOffered)
                    machine.AnswerPassword(random.OneIn(2));
            }
            if constexpr (std::is_same_v<Machine, CUsbControlDevice>) {
                if (event.kind == ControlEvent::UnlockRequested)
                    machine.ReportUnlock(random.OneIn(2) ? 0 : random.Word());
            }
        }
        machine.Take();
    }
}

void FuzzControl(CRandom& random)
{
    static const std::uint32_t KEYS[] = { PASSWORD_NONE, PASSWORD_ON_DEVICE, 0x5A };
    const std::uint32_t dwKey = KEYS[random.Below(std::size(KEYS))];
    switch (random.Below(4)) {
    case 0: {
        CUsbControlDevice device(SampleInfo(dwKey));
        FeedInPieces(random, device, random.Derived(PcStream(SampleInfo(dwKey), false)));
        break;
    }
    case 1: {
        CUsbControlDevice device(SampleInfo(dwKey));
        const Bytes stream = random.Derived(device.Take());
        CUsbControlPc pc;
        FeedInPieces(random, pc,
                     random.Derived(Concat({ Hex("00 00 00 00 06 00 00 00 04 00 00 00"),
                                             MakeFrame(EncodeUsbInfo(SampleInfo(dwKey))), stream })));
        break;
    }
    case 2: {
        const DeviceInfo info = SampleLegacyInfo(dwKey == PASSWORD_ON_DEVICE ? 0x77 : dwKey);
        CLegacyControlDevice device(info);
        FeedInPieces(random, device, random.Derived(PcStream(info, true)));
        break;
    }
    default: {
        CLegacyControlDevice device(SampleLegacyInfo(dwKey == PASSWORD_NONE ? 0 : 0x77));
        CLegacyControlPc pc;
        FeedInPieces(random, pc, random.Derived(Concat({ device.Take(), Hex("02 00 01 00 78 56 34 12") })));
        break;
    }
    }
}

TEST(WireFuzz, DecodersAndControlMachinesSurviveRandomAndMutatedBytes)
{
    const unsigned long nCases = SettingOr("TARNIX_FUZZ_CASES", DEFAULT_CASES);
    const unsigned long nSeed = SettingOr("TARNIX_FUZZ_SEED", DEFAULT_SEED);
    std::printf("wire fuzz: %lu cases, seed 0x%lX\n", nCases, nSeed);
    CRandom random(nSeed);
    void (*const fuzzers[])(CRandom&) = { FuzzRequest, FuzzReply, FuzzInfo, FuzzPassword, FuzzFrames, FuzzControl };
    for (unsigned long n = 0; n < nCases; ++n) {
        fuzzers[n % std::size(fuzzers)](random);
        if (HasFatalFailure()) {
            std::printf("failed at case %lu\n", n);
            return;
        }
    }
}

}   // namespace
