#include "platform/framework/CString.h"
#include "platform/framework/WinApp.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

BOOL CString::LoadString(UINT nID)
{
    m_str.clear();
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, so strings of any length load whole.
    const WCHAR* pwch = nullptr;
    int cwch = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pwch), 0);
    if (cwch <= 0 || pwch == nullptr)
        return FALSE;
    int cb = ::WideCharToMultiByte(CP_ACP, 0, pwch, cwch, nullptr, 0, nullptr, nullptr);
    m_str.resize(cb);
    ::WideCharToMultiByte(CP_ACP, 0, pwch, cwch, &m_str[0], cb, nullptr, nullptr);
    return TRUE;
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int cch = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (cch < 0) {
        m_str.clear();
        return;
    }
    std::vector<char> buffer(cch + 1);
    std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
    m_str.assign(buffer.data(), cch);
}

static bool IsTrimmedSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsTrimmedSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    // A trail byte may look like white space only in code pages whose trail
    // bytes reach below 0x40, which no East Asian code page does; walking
    // from the end is therefore safe.
    size_t n = m_str.size();
    while (n > 0 && IsTrimmedSpace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::MakeLower()
{
    // A broken double-byte pair may come back shorter; the string ends where
    // the lower-casing says the text ends.
    if (!m_str.empty())
        m_str.resize(::CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size())));
    return *this;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, nCount).c_str());
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength() - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0)
        return CString();
    return CString(m_str.substr(nFirst, nCount).c_str());
}

int CString::Find(char ch, int nStart) const
{
    const char* psz = m_str.c_str();
    for (const char* p = psz; *p != '\0'; p = ::CharNextA(p)) {
        if (p - psz >= nStart && *p == ch)
            return static_cast<int>(p - psz);
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    const char* p = AfxFindLastChar(m_str.c_str(), ch);
    return p ? static_cast<int>(p - m_str.c_str()) : -1;
}

int CString::Compare(const char* psz) const
{
    return AfxCompareMultibyte(m_str.c_str(), psz ? psz : "");
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(nMinLength);
    // std::string keeps a terminator after size(), so the caller may write
    // nMinLength characters and a NUL.
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_str.c_str()));
    m_str.resize(nNewLength);
}

// Reads one character of multibyte text as its code value and advances.
static unsigned NextMultibyteChar(const unsigned char*& p)
{
    unsigned code = *p++;
    if (::IsDBCSLeadByte(static_cast<BYTE>(code)) && *p != '\0')
        code = code * 256 + *p++;
    return code;
}

int AfxCompareMultibyte(const char* pszA, const char* pszB)
{
    const unsigned char* pA = reinterpret_cast<const unsigned char*>(pszA);
    const unsigned char* pB = reinterpret_cast<const unsigned char*>(pszB);
    for (;;) {
        unsigned a = NextMultibyteChar(pA);
        unsigned b = NextMultibyteChar(pB);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}

const char* AfxFindLastChar(const char* psz, char ch)
{
    const char* pLast = nullptr;
    for (const char* p = psz; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == ch)
            pLast = p;
    }
    return pLast;
}

void AfxLowerMultibyte(char* psz)
{
    psz[::CharLowerBuffA(psz, static_cast<DWORD>(std::strlen(psz)))] = '\0';
}
