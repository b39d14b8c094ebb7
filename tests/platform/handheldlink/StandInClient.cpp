#include "tests/platform/handheldlink/StandInClient.h"

#include "platform/handheldwire/ByteCodec.h"

namespace {
using handheldwire::CByteWriter;

void PutPath(CByteWriter& writer, const std::u16string& strPath)
{
    writer.U32(static_cast<std::uint32_t>(strPath.size()));
    writer.Utf16(strPath);
}
}   // namespace

CStandInClient::CStandInClient(std::uint16_t nPort)
    : m_link(handheldlink::CLinkSocket::Connect("127.0.0.1", nPort, 2000))
{
}

bool CStandInClient::Request(const std::vector<std::uint8_t>& body, PrivateReply& reply, std::uint32_t msWait)
{
    std::vector<std::uint8_t> frame;
    handheldwire::AppendU32(frame, static_cast<std::uint32_t>(body.size()));
    frame.insert(frame.end(), body.begin(), body.end());
    std::uint8_t length[4];
    if (!SendRaw(frame) || !m_link.ReceiveExactly(length, 4, msWait))
        return false;
    std::vector<std::uint8_t> bytes(length[0] | (length[1] << 8) | (length[2] << 16) | (length[3] << 24));
    if (bytes.size() < 8 || !m_link.ReceiveExactly(bytes.data(), bytes.size(), msWait))
        return false;
    handheldwire::CByteReader reader(bytes.data(), bytes.size());
    reader.U32(reply.dwResult);
    reader.U32(reply.dwError);
    reply.rest.assign(bytes.begin() + 8, bytes.end());
    return true;
}

bool CStandInClient::SendRaw(const std::vector<std::uint8_t>& bytes)
{
    return m_link.SendAll(bytes.data(), bytes.size(), 2000);
}

bool CStandInClient::IsClosedWithin(std::uint32_t msWait)
{
    std::uint8_t buffer[256];
    for (;;) {
        const long cb = m_link.ReceiveSome(buffer, sizeof(buffer), msWait);
        if (cb < 0)
            return true;
        if (cb == 0)
            return false;
    }
}

std::vector<std::uint8_t> CStandInClient::Hello()
{
    CByteWriter writer;
    writer.U8(1);
    writer.U32(0x49505254);
    writer.U32(1);
    return writer.Take();
}

std::vector<std::uint8_t> CStandInClient::FindAll(std::uint32_t dwFlags, const std::u16string& strPattern)
{
    CByteWriter writer;
    writer.U8(2);
    writer.U32(dwFlags);
    PutPath(writer, strPattern);
    return writer.Take();
}

std::vector<std::uint8_t> CStandInClient::Create(const std::u16string& strPath)
{
    CByteWriter writer;
    writer.U8(3);
    writer.U32(0x40000000);   // GENERIC_WRITE
    writer.U32(0);
    writer.U32(2);   // CREATE_ALWAYS
    writer.U32(0x80);
    PutPath(writer, strPath);
    return writer.Take();
}

std::vector<std::uint8_t> CStandInClient::Write(std::uint32_t hFile, const std::vector<std::uint8_t>& data)
{
    CByteWriter writer;
    writer.U8(4);
    writer.U32(hFile);
    writer.U32(static_cast<std::uint32_t>(data.size()));
    writer.Bytes(data);
    return writer.Take();
}

std::vector<std::uint8_t> CStandInClient::Close(std::uint32_t hFile)
{
    CByteWriter writer;
    writer.U8(5);
    writer.U32(hFile);
    return writer.Take();
}

std::vector<std::uint8_t> CStandInClient::Delete(const std::u16string& strPath)
{
    CByteWriter writer;
    writer.U8(6);
    PutPath(writer, strPath);
    return writer.Take();
}
