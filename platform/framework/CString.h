// An 8-bit string in the system's ANSI code page, with the operations the
// program uses: loading from the string table, printf-style formatting,
// trimming, multibyte-aware lower-casing and comparison.
#pragma once

#include <windows.h>
#include <string>

class CString
{
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, nLength) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator LPCSTR() const { return m_str.c_str(); }
    char GetAt(int nIndex) const { return m_str[nIndex]; }
    char operator[](int nIndex) const { return m_str[nIndex]; }

    CString& operator=(const char* psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const char* psz)
    {
        m_str += psz ? psz : "";
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_str += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const char* b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, char ch)
    {
        CString r(a);
        r += ch;
        return r;
    }

    // Loads string nID of the program's string table, in the user's
    // language set, converted to the ANSI code page. FALSE (and an empty
    // string) when there is no such string.
    BOOL LoadString(UINT nID);
    void Format(const char* pszFormat, ...);
    void FormatV(const char* pszFormat, va_list args);

    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }
    // Lower-cases as AfxLowerMultibyte does.
    CString& MakeLower();

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    // Character searches that step over double-byte characters, so a trail
    // byte that looks like '\\' is never taken for one.
    int Find(char ch, int nStart = 0) const;
    int ReverseFind(char ch) const;

    // Compares as multibyte text of the ANSI code page, character by
    // character by code value (a double-byte character counts as lead byte
    // times 256 plus trail byte).
    int Compare(const char* psz) const;
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }

    // Direct access for APIs that fill a buffer: GetBuffer gives room for at
    // least nMinLength characters plus a terminator; ReleaseBuffer sets the
    // length (-1: up to the first NUL).
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
};

// Multibyte comparison by code value, as CString::Compare.
int AfxCompareMultibyte(const char* pszA, const char* pszB);

// The last single-byte character ch of a multibyte string, or null; a trail
// byte of a double-byte character never matches.
const char* AfxFindLastChar(const char* psz, char ch);

// Lower-cases a NUL-terminated multibyte string in place, as the system's
// ANSI lower-casing does (double-byte characters are left whole). The
// system may give a broken double-byte pair back shorter (a lead byte with
// an invalid trail byte becomes one character); the string then ends where
// the system says the text ends, with no stale byte after it.
void AfxLowerMultibyte(char* psz);
