// The stand-in's decoders of the handheld's replies against what a faulty
// or hostile handheld could send: random bytes, and valid replies with bits
// flipped, cut short, run on, with counts, lengths and results set to
// boundary and huge values, and with names left without a terminator. Each
// reply ends where a page no one may read begins, so a read past it
// crashes the test. A decode either succeeds with the values the bytes
// hold or fails and hands back nothing; a listing keeps exactly the
// records whose names end within their field; nothing stays allocated.
// TARNIX_FUZZ_CASES sets how many replies (20,000 by default) and
// TARNIX_FUZZ_SEED the seed; the run prints both.
#include "platform/rapi/RapiReplies.h"
#include "tests/platform/rapi/GuardedBuffer.h"
#include "tests/support/ProcessUsage.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<BYTE>;

constexpr DWORD DEFAULT_CASES = 20000;
constexpr DWORD DEFAULT_SEED = 0x7A4E1D05;
constexpr size_t RECORD_BYTES = sizeof(CE_FIND_DATA);
constexpr size_t NAME_OFFSET = offsetof(CE_FIND_DATA, cFileName);
constexpr size_t LISTING_HEAD_BYTES = 12;   // result, error, count
constexpr size_t MAX_RECORDS = 6;
constexpr size_t MAX_RANDOM_BYTES = 4096;
constexpr size_t MAX_RUN_ON_BYTES = 600;
// The longest reply made: random bytes, or a listing of the most records
// run on by every mutation.
constexpr size_t ROOM_BYTES = 16 * 1024;
// Handed back only by a decoder that wrote where it should not have.
constexpr BYTE UNTOUCHED = 0xA5;

DWORD SettingOr(const char* pszName, DWORD dwDefault)
{
    char szValue[32];
    const DWORD cch = GetEnvironmentVariableA(pszName, szValue, sizeof(szValue));
    return cch > 0 && cch < sizeof(szValue) ? strtoul(szValue, nullptr, 0) : dwDefault;
}

class CRandom
{
public:
    explicit CRandom(DWORD dwSeed) : m_engine(dwSeed) {}

    DWORD Word() { return static_cast<DWORD>(m_engine()); }
    // From 0 to n - 1.
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_engine); }
    bool OneIn(size_t n) { return Below(n) == 0; }
    BYTE Byte() { return static_cast<BYTE>(Word()); }
    WCHAR NonZeroUnit() { return static_cast<WCHAR>(1 + Below(0xFFFF)); }

private:
    std::mt19937 m_engine;
};

DWORD WordAt(const Bytes& bytes, size_t nOffset)
{
    DWORD dw;
    memcpy(&dw, bytes.data() + nOffset, sizeof(dw));
    return dw;
}

void SetWordAt(Bytes& bytes, size_t nOffset, DWORD dw)
{
    memcpy(bytes.data() + nOffset, &dw, sizeof(dw));
}

void PutWord(Bytes& bytes, DWORD dw)
{
    bytes.resize(bytes.size() + sizeof(dw));
    SetWordAt(bytes, bytes.size() - sizeof(dw), dw);
}

void PutRandomBytes(Bytes& bytes, size_t cb, CRandom& random)
{
    for (size_t i = 0; i < cb; ++i)
        bytes.push_back(random.Byte());
}

std::string Hex(const Bytes& bytes)
{
    std::string strHex;
    char szByte[4];
    for (size_t i = 0; i < bytes.size() && i < 64; ++i) {
        snprintf(szByte, sizeof(szByte), "%02X ", bytes[i]);
        strHex += szByte;
    }
    return strHex + "(" + std::to_string(bytes.size()) + " bytes)";
}

// Valid replies.

Bytes StatusReply(DWORD dwResult, DWORD dwError)
{
    Bytes bytes;
    PutWord(bytes, dwResult);
    PutWord(bytes, dwError);
    return bytes;
}

Bytes ValidHello(CRandom& random, DWORD)
{
    return StatusReply(random.Word(), random.Word());
}

Bytes ValidCreateFile(CRandom& random, DWORD)
{
    const DWORD dwHandle = random.OneIn(4) ? 0 : 1 + static_cast<DWORD>(random.Below(0xFFFFFFFE));
    return StatusReply(dwHandle, random.Word());
}

Bytes ValidOutcome(CRandom& random, DWORD)
{
    return StatusReply(random.OneIn(2), random.Word());
}

Bytes ValidWriteFile(CRandom& random, DWORD cbSent)
{
    Bytes bytes = StatusReply(random.OneIn(2), random.Word());
    PutWord(bytes, static_cast<DWORD>(random.Below(size_t(cbSent) + 1)));
    return bytes;
}

// Random fields and a name of up to 259 units with its terminator, now and
// then followed by leftovers.
void PutRecord(Bytes& bytes, CRandom& random)
{
    CE_FIND_DATA record;
    BYTE* const pRecord = reinterpret_cast<BYTE*>(&record);
    for (size_t i = 0; i < RECORD_BYTES; ++i)
        pRecord[i] = random.Byte();
    const size_t nLength = random.Below(MAX_PATH);
    for (size_t i = 0; i < nLength; ++i)
        record.cFileName[i] = random.NonZeroUnit();
    record.cFileName[nLength] = L'\0';
    if (random.OneIn(2))
        memset(record.cFileName + nLength, 0, (MAX_PATH - nLength) * sizeof(WCHAR));
    bytes.insert(bytes.end(), pRecord, pRecord + RECORD_BYTES);
}

Bytes ValidListing(CRandom& random, DWORD)
{
    const bool bSucceeded = !random.OneIn(4);
    const size_t nRecords = bSucceeded ? random.Below(MAX_RECORDS + 1) : 0;
    Bytes bytes = StatusReply(bSucceeded, random.Word());
    PutWord(bytes, static_cast<DWORD>(nRecords));
    for (size_t i = 0; i < nRecords; ++i)
        PutRecord(bytes, random);
    return bytes;
}

// Mutations, each blind to the call the reply belongs to.

// Boundary and huge values for a result, a count or a length.
DWORD BoundaryValue(CRandom& random, DWORD dwNow, size_t cbReply)
{
    const DWORD values[] = {
        0,
        1,
        2,
        dwNow - 1,
        dwNow + 1,
        0x7FFFFFFF,
        0x80000000,
        0xFFFFFFFE,
        0xFFFFFFFF,
        static_cast<DWORD>(cbReply / RECORD_BYTES),
        static_cast<DWORD>(cbReply / RECORD_BYTES + 1),
        0xFFFFFFFF / RECORD_BYTES,
        0xFFFFFFFF / RECORD_BYTES + 1,
        0x10000000,   // that many records come to 0 bytes in 32 bits
        0x10000001,   // and that many to one record
        0x10000,
        0x10001,
    };
    return values[random.Below(ARRAYSIZE(values))];
}

void FlipBits(Bytes& bytes, CRandom& random)
{
    for (size_t n = 1 + random.Below(8); n > 0 && !bytes.empty(); --n)
        bytes[random.Below(bytes.size())] ^= static_cast<BYTE>(1 << random.Below(8));
}

void SetAWord(Bytes& bytes, CRandom& random)
{
    const size_t nWords = std::min<size_t>(bytes.size() / 4, 3);
    if (nWords == 0)
        return;
    const size_t nOffset = 4 * random.Below(nWords);
    SetWordAt(bytes, nOffset, BoundaryValue(random, WordAt(bytes, nOffset), bytes.size()));
}

size_t WholeRecords(const Bytes& bytes)
{
    return bytes.size() < LISTING_HEAD_BYTES ? 0 : (bytes.size() - LISTING_HEAD_BYTES) / RECORD_BYTES;
}

void UnterminateAName(Bytes& bytes, CRandom& random)
{
    if (WholeRecords(bytes) == 0)
        return;
    BYTE* const pName =
        bytes.data() + LISTING_HEAD_BYTES + random.Below(WholeRecords(bytes)) * RECORD_BYTES + NAME_OFFSET;
    for (size_t i = 0; i < MAX_PATH; ++i) {
        const WCHAR ch = random.NonZeroUnit();
        memcpy(pName + i * sizeof(WCHAR), &ch, sizeof(ch));
    }
}

void CutARecordShort(Bytes& bytes, CRandom& random)
{
    if (WholeRecords(bytes) == 0)
        return;
    const size_t nRecord = random.Below(WholeRecords(bytes));
    bytes.resize(LISTING_HEAD_BYTES + nRecord * RECORD_BYTES + 1 + random.Below(RECORD_BYTES - 1));
}

void Mutate(Bytes& bytes, CRandom& random)
{
    switch (random.Below(6)) {
    case 0:
        FlipBits(bytes, random);
        break;
    case 1:
        bytes.resize(random.Below(bytes.size() + 1));
        break;
    case 2:
        PutRandomBytes(bytes, 1 + random.Below(MAX_RUN_ON_BYTES), random);
        break;
    case 3:
        SetAWord(bytes, random);
        break;
    case 4:
        UnterminateAName(bytes, random);
        break;
    default:
        CutARecordShort(bytes, random);
        break;
    }
}

// What the decoders made of the bytes.

template <typename Output> Output Untouched()
{
    Output output;
    memset(&output, UNTOUCHED, sizeof(output));
    return output;
}

template <typename Output> bool IsUntouched(const Output& output)
{
    const Output untouched = Untouched<Output>();
    return memcmp(&output, &untouched, sizeof(output)) == 0;
}

struct Verdict
{
    bool bDecoded;
    std::string strProblem;   // empty when the decoder answered as the bytes say
};

template <typename Output> Verdict Refused(BOOL bDecoded, const Output& output)
{
    if (bDecoded)
        return { true, "a reply that does not add up was decoded" };
    return { false, IsUntouched(output) ? "" : "a refused reply left output behind" };
}

Verdict Decoded(bool bAsTheBytesSay)
{
    return { true, bAsTheBytesSay ? "" : "the values decoded are not those of the bytes" };
}

const Verdict SOUND_REPLY_REFUSED = { false, "a reply that adds up was refused" };

bool IsOutcome(DWORD dwResult)
{
    return dwResult <= 1;
}

bool IsHandle(DWORD dwResult)
{
    return dwResult != 0xFFFFFFFF;
}

Verdict CheckHello(const BYTE* pBody, const Bytes& bytes, DWORD)
{
    HRESULT hrAnswer = Untouched<HRESULT>();
    const BOOL bDecoded = DecodeHelloReply(pBody, bytes.size(), &hrAnswer);
    if (bytes.size() != 8)
        return Refused(bDecoded, hrAnswer);
    if (!bDecoded)
        return SOUND_REPLY_REFUSED;
    return Decoded(hrAnswer == static_cast<HRESULT>(WordAt(bytes, 0)));
}

template <BOOL (*Decode)(const BYTE*, size_t, ReplyStatus*), bool (*IsResult)(DWORD)>
Verdict CheckStatusReply(const BYTE* pBody, const Bytes& bytes, DWORD)
{
    ReplyStatus status = Untouched<ReplyStatus>();
    const BOOL bDecoded = Decode(pBody, bytes.size(), &status);
    if (bytes.size() != 8 || !IsResult(WordAt(bytes, 0)))
        return Refused(bDecoded, status);
    if (!bDecoded)
        return SOUND_REPLY_REFUSED;
    return Decoded(status.dwResult == WordAt(bytes, 0) && status.dwError == WordAt(bytes, 4));
}

Verdict CheckWriteFile(const BYTE* pBody, const Bytes& bytes, DWORD cbSent)
{
    WriteFileReply reply = Untouched<WriteFileReply>();
    const BOOL bDecoded = DecodeWriteFileReply(pBody, bytes.size(), cbSent, &reply);
    if (bytes.size() != 12 || !IsOutcome(WordAt(bytes, 0)) || WordAt(bytes, 8) > cbSent)
        return Refused(bDecoded, reply);
    if (!bDecoded)
        return SOUND_REPLY_REFUSED;
    return Decoded(reply.status.dwResult == WordAt(bytes, 0) && reply.status.dwError == WordAt(bytes, 4)
                   && reply.cbWritten == WordAt(bytes, 8));
}

bool IsSoundListing(const Bytes& bytes)
{
    if (bytes.size() < LISTING_HEAD_BYTES)
        return false;
    const DWORD dwResult = WordAt(bytes, 0);
    const DWORD nRecords = WordAt(bytes, 8);
    return IsOutcome(dwResult) && (dwResult == TRUE || nRecords == 0)
           && bytes.size() == LISTING_HEAD_BYTES + ULONGLONG(nRecords) * RECORD_BYTES;
}

bool NameEndsInField(const Bytes& bytes, size_t nRecord)
{
    WCHAR name[MAX_PATH];
    memcpy(name, bytes.data() + LISTING_HEAD_BYTES + nRecord * RECORD_BYTES + NAME_OFFSET, sizeof(name));
    return std::find(name, name + MAX_PATH, L'\0') != name + MAX_PATH;
}

// The records handed on from a decoded listing are its sound ones, in order.
Verdict CheckKeptRecords(const FindAllFilesReply& reply, const Bytes& bytes)
{
    Bytes expected;
    for (size_t i = 0; i < WholeRecords(bytes); ++i) {
        if (NameEndsInField(bytes, i))
            expected.insert(expected.end(), bytes.begin() + LISTING_HEAD_BYTES + i * RECORD_BYTES,
                            bytes.begin() + LISTING_HEAD_BYTES + (i + 1) * RECORD_BYTES);
    }
    DWORD nKept = Untouched<DWORD>();
    LPCE_FIND_DATA pKept = Untouched<LPCE_FIND_DATA>();
    if (!CopySoundRecords(reply, &nKept, &pKept))
        return { true, "the sound records could not be copied" };
    if ((nKept == 0) != (pKept == nullptr))
        return { true, "a count of records that does not match the block handed back" };
    const BYTE* const pFirst = reinterpret_cast<const BYTE*>(pKept);
    const Bytes kept(pFirst, pFirst + nKept * RECORD_BYTES);
    LocalFree(pKept);
    return { true, kept == expected ? "" : "the records kept are not the sound ones" };
}

Verdict CheckFindAllFiles(const BYTE* pBody, const Bytes& bytes, DWORD)
{
    FindAllFilesReply reply = Untouched<FindAllFilesReply>();
    const BOOL bDecoded = DecodeFindAllFilesReply(pBody, bytes.size(), &reply);
    if (!IsSoundListing(bytes))
        return Refused(bDecoded, reply);
    if (!bDecoded)
        return SOUND_REPLY_REFUSED;
    if (reply.status.dwResult != WordAt(bytes, 0) || reply.status.dwError != WordAt(bytes, 4)
        || reply.nRecords != WordAt(bytes, 8) || reply.pRecords != pBody + LISTING_HEAD_BYTES)
        return Decoded(false);
    return CheckKeptRecords(reply, bytes);
}

struct CallUnderTest
{
    const char* pszName;
    Bytes (*pfnValidReply)(CRandom& random, DWORD cbSent);
    Verdict (*pfnCheck)(const BYTE* pBody, const Bytes& bytes, DWORD cbSent);
};

const CallUnderTest CALLS[] = {
    { "handshake", ValidHello, CheckHello },
    { "create file", ValidCreateFile, CheckStatusReply<DecodeCreateFileReply, IsHandle> },
    { "close or delete", ValidOutcome, CheckStatusReply<DecodeOutcomeReply, IsOutcome> },
    { "write file", ValidWriteFile, CheckWriteFile },
    { "listing", ValidListing, CheckFindAllFiles },
};

DWORD BytesSent(CRandom& random)
{
    const DWORD sizes[] = { 0, 1, 4096, 65535, 65536 };
    return random.OneIn(2) ? sizes[random.Below(ARRAYSIZE(sizes))] : static_cast<DWORD>(random.Below(65537));
}

// A quarter of the replies valid as a handheld sends them, an eighth
// random bytes (mostly few), the rest valid ones mutated up to three times.
Bytes MakeReply(const CallUnderTest& call, CRandom& random, DWORD cbSent)
{
    const size_t nKind = random.Below(8);
    Bytes bytes;
    if (nKind == 0) {
        PutRandomBytes(bytes, random.Below(random.OneIn(2) ? 16 : MAX_RANDOM_BYTES), random);
        return bytes;
    }
    bytes = call.pfnValidReply(random, cbSent);
    if (nKind <= 2)
        return bytes;
    for (size_t n = 1 + random.Below(3); n > 0; --n)
        Mutate(bytes, random);
    return bytes;
}

TEST(ReplyFuzzTest, EveryReplyDecodesToItsBytesOrFailsCleanly)
{
    const DWORD nCases = SettingOr("TARNIX_FUZZ_CASES", DEFAULT_CASES);
    const DWORD dwSeed = SettingOr("TARNIX_FUZZ_SEED", DEFAULT_SEED);
    printf("reply fuzz: %lu cases, seed %lu\n", nCases, dwSeed);
    CGuardedBuffer buffer(ROOM_BYTES);
    CRandom random(dwSeed);
    DWORD decoded[ARRAYSIZE(CALLS)] = {};
    const SIZE_T cbHeapBefore = HeapBytesInUse();
    for (DWORD i = 0; i < nCases; ++i) {
        const size_t nCall = i % ARRAYSIZE(CALLS);
        const DWORD cbSent = BytesSent(random);
        const Bytes bytes = MakeReply(CALLS[nCall], random, cbSent);
        const std::string strCase = std::string(CALLS[nCall].pszName) + " reply of case " + std::to_string(i)
                                    + " (seed " + std::to_string(dwSeed) + ")";
        const BYTE* const pBody = buffer.Place(bytes.data(), bytes.size());
        ASSERT_NE(nullptr, pBody) << "no room for " << bytes.size() << " bytes";
        buffer.Describe(strCase);
        const Verdict verdict = CALLS[nCall].pfnCheck(pBody, bytes, cbSent);
        ASSERT_EQ("", verdict.strProblem) << strCase << ", " << cbSent << " bytes sent: " << Hex(bytes);
        decoded[nCall] += verdict.bDecoded;
    }
    // The run itself keeps a few dozen bytes (the last case's description).
    EXPECT_LT(HeapBytesInUse(), cbHeapBefore + 4096) << "memory left allocated";
    // A run that never decodes, or never refuses, tries nothing.
    for (size_t nCall = 0; nCall < ARRAYSIZE(CALLS); ++nCall) {
        const DWORD nTried = nCases / ARRAYSIZE(CALLS);
        printf("  %-16s %lu decoded, %lu refused\n", CALLS[nCall].pszName, decoded[nCall], nTried - decoded[nCall]);
        if (nCases >= DEFAULT_CASES) {
            EXPECT_GT(decoded[nCall], nTried / 10) << CALLS[nCall].pszName;
            EXPECT_LT(decoded[nCall], nTried - nTried / 10) << CALLS[nCall].pszName;
        }
    }
}
}   // namespace
