#include "platform/rapi/RapiWire.h"

void CWireWriter::PutDword(DWORD dw)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<BYTE>(dw >> (8 * i)));
}

void CWireWriter::PutBytes(const void* pData, size_t cb)
{
    const BYTE* p = static_cast<const BYTE*>(pData);
    m_bytes.insert(m_bytes.end(), p, p + cb);
}

void CWireWriter::PutWide(const std::wstring& str)
{
    PutDword(static_cast<DWORD>(str.size()));
    for (wchar_t ch : str) {
        m_bytes.push_back(static_cast<BYTE>(ch));
        m_bytes.push_back(static_cast<BYTE>(ch >> 8));
    }
}

const BYTE* CWireReader::GetBytes(size_t cb)
{
    if (m_bFailed || cb > m_cb - m_nPos) {
        m_bFailed = TRUE;
        return nullptr;
    }
    const BYTE* p = m_pData + m_nPos;
    m_nPos += cb;
    return p;
}

BYTE CWireReader::GetByte()
{
    const BYTE* p = GetBytes(1);
    return p ? *p : 0;
}

DWORD CWireReader::GetDword()
{
    const BYTE* p = GetBytes(4);
    if (!p)
        return 0;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

std::wstring CWireReader::GetWide(DWORD nMaxUnits)
{
    DWORD nUnits = GetDword();
    if (nUnits > nMaxUnits)
        m_bFailed = TRUE;
    const BYTE* p = m_bFailed ? nullptr : GetBytes(nUnits * 2);
    if (!p)
        return std::wstring();
    std::wstring str(nUnits, L'\0');
    for (DWORD i = 0; i < nUnits; ++i)
        str[i] = static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return str;
}
