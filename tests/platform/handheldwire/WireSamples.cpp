#include "tests/platform/handheldwire/WireSamples.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <tuple>

using namespace handheldwire;

namespace wiretest {

Bytes Hex(const char* psz)
{
    Bytes bytes;
    std::string strDigits;
    for (const char* p = psz; *p; ++p) {
        if (std::isxdigit(static_cast<unsigned char>(*p)))
            strDigits += *p;
    }
    for (std::size_t i = 0; i + 1 < strDigits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(strDigits.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

RapiRequest SampleRequest(Call call)
{
    RapiRequest r;
    r.call = call;
    switch (call) {
    case Call::CreateFile:
        r.strName = u"\\My Documents\\dict.tdc";
        r.dwAccess = 0x40000000;
        r.dwShare = 1;
        r.dwCreation = 2;
        r.dwFlagsAndAttributes = 0x80;
        r.hTemplate = 0xFFFFFFFF;
        break;
    case Call::WriteFile:
        r.hFile = 0x1234;
        r.data = Bytes(1000, 0xC3);
        break;
    case Call::ReadFile:
        r.hFile = 0x99;
        r.cbToRead = 0x10000;
        break;
    case Call::CloseHandle:
    case Call::FindClose:
        r.hFile = 0xDEADBEEF;
        break;
    case Call::FindAllFiles:
        r.strName = u"\\Storage Card\\*.*";
        r.dwFlags = FAF_ATTRIBUTES | FAF_NAME | FAF_ATTRIB_NO_HIDDEN;
        break;
    case Call::MoveFile:
    case Call::CopyFile:
        r.strName = u"\\a\u4E2D.txt";
        r.strNewName = u"\\b\\c";
        r.bFailIfExists = call == Call::CopyFile;
        break;
    case Call::GetSpecialFolderPath:
        r.dwFolder = 5;
        r.cchBuffer = 260;
        break;
    default:
        r.strName = std::u16string(259, u'x');
        break;
    }
    return r;
}

namespace {
FindRecord SampleRecord(std::uint32_t n, std::uint32_t dwFlags)
{
    FindRecord record;
    const auto has = [dwFlags](std::uint32_t dwFlag) { return (dwFlags & dwFlag) != 0; };
    record.dwAttributes = has(FAF_ATTRIBUTES) ? 0x10 + n : 0;
    record.ftCreation = has(FAF_CREATION_TIME) ? 0x01D2000000000001ull + n : 0;
    record.ftLastAccess = has(FAF_LASTACCESS_TIME) ? 0x01D3000000000002ull : 0;
    record.ftLastWrite = has(FAF_LASTWRITE_TIME) ? 0x01D4000000000003ull : 0;
    record.nSizeHigh = has(FAF_SIZE_HIGH) ? 1 : 0;
    record.nSizeLow = has(FAF_SIZE_LOW) ? 0x80000000 + n : 0;
    record.dwOid = has(FAF_OID) ? 0x7000 + n : 0;
    record.strName = has(FAF_NAME) ? std::u16string(n == 2 ? 259 : 1 + n, static_cast<char16_t>(u'a' + n)) : u"";
    return record;
}
}   // namespace

RapiReply SampleReply(Call call, std::uint32_t dwFlags)
{
    RapiReply r;
    r.dwLastError = call == Call::FindAllFiles ? 0 : 183;
    r.dwResult = 1;
    switch (call) {
    case Call::WriteFile:
        r.cbDone = 65536;
        break;
    case Call::ReadFile:
        r.data = Hex("00 01 02 FF");
        r.cbDone = 4;
        break;
    case Call::FindAllFiles:
        for (std::uint32_t n = 0; n < 3; ++n)
            r.records.push_back(SampleRecord(n, dwFlags));
        break;
    case Call::FindFirstFile:
        r.dwResult = 0x4242;
        r.records.push_back(SampleRecord(4, 0xFF));
        break;
    case Call::GetSpecialFolderPath:
        r.dwResult = 0;
        r.strPath = u"\\My Documents";
        break;
    default:
        break;
    }
    return r;
}

std::vector<std::uint32_t> ListingFlags()
{
    std::vector<std::uint32_t> flags = { 0, 0xFF, FAF_ATTRIBUTES | FAF_NAME | FAF_FOLDERS_ONLY };
    for (std::uint32_t dwFlag = 1; dwFlag <= FAF_NAME; dwFlag <<= 1)
        flags.push_back(dwFlag);
    return flags;
}

DeviceInfo SampleInfo(std::uint32_t dwPasswordKey)
{
    DeviceInfo info;
    for (std::uint8_t i = 0; i < 16; ++i)
        info.guid[i] = static_cast<std::uint8_t>(0xA0 + i);
    info.nOsMajor = 5;
    info.nOsMinor = 2;
    info.strName = u"Pocket_PC";
    info.dwVersion = 3;
    info.dwCpuType = 2577;
    info.dwCurrentPartner = 0x11223344;
    info.dwId = 0x55667788;
    info.strPlatform = "PocketPC";
    info.strModel = "Model 9";
    info.components = { 0x0005000200000001ull, 7 };
    info.dwPasswordKey = dwPasswordKey;
    return info;
}

DeviceInfo SampleLegacyInfo(std::uint32_t dwPasswordKey)
{
    DeviceInfo info;
    info.nOsMajor = 4;
    info.nOsMinor = 20;
    info.nBuild = 1081;
    info.strName = u"Old_PPC";
    info.dwCpuType = 2577;
    info.dwCurrentPartner = 0x01020304;
    info.dwSecondPartner = 0x05060708;
    info.strPlatform = "PocketPC";
    info.strModel = "Model 3";
    info.dwPasswordKey = dwPasswordKey;
    return info;
}

bool SameRequest(const RapiRequest& a, const RapiRequest& b)
{
    const auto fields = [](const RapiRequest& r) {
        return std::tie(r.call, r.strName, r.strNewName, r.dwAccess, r.dwShare, r.dwCreation, r.dwFlagsAndAttributes,
                        r.hTemplate, r.hFile, r.data, r.cbToRead, r.dwFlags, r.bFailIfExists, r.dwFolder, r.cchBuffer);
    };
    return fields(a) == fields(b);
}

bool SameReply(const RapiReply& a, const RapiReply& b)
{
    const auto fields = [](const RapiReply& r) {
        return std::tie(r.hrFailure, r.dwLastError, r.dwResult, r.cbDone, r.data, r.records, r.strPath);
    };
    return fields(a) == fields(b);
}

bool SameInfo(const DeviceInfo& a, const DeviceInfo& b)
{
    const auto fields = [](const DeviceInfo& i) {
        return std::tie(i.nOsMajor, i.nOsMinor, i.nBuild, i.strName, i.dwVersion, i.dwCpuType, i.dwCurrentPartner,
                        i.dwId, i.dwSecondPartner, i.strPlatform, i.strModel, i.components, i.dwPasswordKey);
    };
    return std::memcmp(a.guid, b.guid, sizeof(a.guid)) == 0 && fields(a) == fields(b);
}

}   // namespace wiretest
