#include "tests/platform/rapi/PasswordDialogDriver.h"

#include "platform/rapi/PasswordDialogIds.h"

namespace {
struct Search
{
    DWORD dwProcessId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    Search& search = *reinterpret_cast<Search*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (dwProcessId == search.dwProcessId && IsWindowVisible(hWnd) && wcscmp(szClass, L"#32770") == 0)
        search.found.push_back(hWnd);
    return TRUE;
}
}   // namespace

std::vector<HWND> ShownPasswordDialogs(DWORD dwProcessId, bool bQuestions)
{
    Search search = { dwProcessId, {} };
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> wanted;
    for (HWND hDlg : search.found) {
        if (GetDlgItem(hDlg, IDC_STANDIN_PROMPT) != nullptr
            && (GetDlgItem(hDlg, IDC_STANDIN_PASSWORD) != nullptr) == bQuestions)
            wanted.push_back(hDlg);
    }
    return wanted;
}

HWND WaitForPasswordDialog(DWORD dwProcessId, bool bQuestion, DWORD dwTimeout)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        const std::vector<HWND> shown = ShownPasswordDialogs(dwProcessId, bQuestion);
        if (!shown.empty())
            return shown.front();
        if (GetTickCount() - dwStart >= dwTimeout)
            return nullptr;
        Sleep(20);
    }
}

bool WaitUntilClosed(HWND hDlg, DWORD dwTimeout)
{
    for (const DWORD dwStart = GetTickCount(); IsWindow(hDlg); Sleep(20)) {
        if (GetTickCount() - dwStart >= dwTimeout)
            return false;
    }
    return true;
}

std::wstring PromptOf(HWND hDlg)
{
    wchar_t szText[256] = {};
    SendMessageW(GetDlgItem(hDlg, IDC_STANDIN_PROMPT), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(szText));
    return szText;
}

void TypePassword(HWND hDlg, const std::wstring& strTyped)
{
    for (wchar_t ch : strTyped)
        SendMessageW(GetDlgItem(hDlg, IDC_STANDIN_PASSWORD), WM_CHAR, ch, 1);
}

void PressEnter(HWND hDlg)
{
    const HWND hField = GetDlgItem(hDlg, IDC_STANDIN_PASSWORD);
    PostMessageW(hField, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(hField, WM_KEYUP, VK_RETURN, 0xC0000001);
}

void PressButton(HWND hDlg, int nButton)
{
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nButton)));
}

std::wstring WideFromUtf8(const char* pszUtf8)
{
    std::wstring str(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, &str[0], static_cast<int>(str.size()));
    str.resize(str.empty() ? 0 : str.size() - 1);
    return str;
}
