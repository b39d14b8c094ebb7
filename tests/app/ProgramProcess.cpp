#include "tests/app/ProgramProcess.h"

#include "platform/framework/FrameworkIds.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr DWORD START_TIMEOUT_MS = 30000;

struct WindowSearch
{
    DWORD dwProcessId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectShown(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == pSearch->dwProcessId && ::IsWindowVisible(hWnd))
        pSearch->windows.push_back(hWnd);
    return TRUE;
}

}   // namespace

bool WaitFor(const std::function<bool()>& fnDone, DWORD dwTimeout)
{
    const DWORD dwStart = ::GetTickCount();
    while (!fnDone()) {
        if (::GetTickCount() - dwStart >= dwTimeout)
            return false;
        ::Sleep(20);
    }
    return true;
}

std::vector<HWND> ShownWindowsOf(DWORD dwProcessId)
{
    WindowSearch search = { dwProcessId, {} };
    ::EnumWindows(&CollectShown, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

CProgramProcess::CProgramProcess(const std::string& strArguments, int cxClient, const std::string& strFolder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (cxClient > 0) {
        // The size asked for the program's first window: the main frame's.
        RECT rc = { 0, 0, cxClient, 400 };
        ::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, TRUE, 0);
        startup.dwFlags = STARTF_USESIZE;
        startup.dwXSize = rc.right - rc.left;
        startup.dwYSize = rc.bottom - rc.top;
    }
    std::string strCommand = "\"" TARNIX_PROGRAM_PATH "\" " + strArguments;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(TARNIX_PROGRAM_PATH, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                          strFolder.empty() ? nullptr : strFolder.c_str(), &startup, &process))
        return;
    ::CloseHandle(process.hThread);
    m_hProcess = process.hProcess;
    m_dwProcessId = process.dwProcessId;
    WaitFor([this] { return (m_hMain = FindMainWindow()) != nullptr; }, START_TIMEOUT_MS);
    WaitUntilIdle();
}

CProgramProcess::~CProgramProcess()
{
    if (m_hProcess == nullptr)
        return;
    if (WaitForExit(0) == STILL_ACTIVE) {
        ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, 10000);
    }
    ::CloseHandle(m_hProcess);
}

HWND CProgramProcess::FindMainWindow() const
{
    // The main window is the one with the program's menu.
    for (HWND hWnd : ShownWindowsOf(m_dwProcessId)) {
        if (::GetMenu(hWnd) != nullptr)
            return hWnd;
    }
    return nullptr;
}

void CProgramProcess::WaitUntilIdle() const
{
    if (m_hProcess != nullptr)
        ::WaitForInputIdle(m_hProcess, 10000);
    if (m_hMain == nullptr)
        return;
    // The last messages sent to it have been handled.
    ::SendMessageTimeoutA(m_hMain, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    // A tap of Alt puts the menu bar into menu mode, and Esc takes it out:
    // keys are handled in the order typed, after every message posted
    // before them, so once menu mode shows, all that came earlier is done.
    // Only an enabled main window in front takes the keys; with a dialog
    // up, the keys would be the dialog's. Under Wine the tree view keeps
    // Alt to itself while it has the focus: then no menu mode comes, no
    // Esc is typed, and the callers' own waits have to do.
    if (!WaitFor([this] { return ::IsWindowEnabled(m_hMain) != FALSE; })) {
        ADD_FAILURE() << "the main window stayed disabled";
        return;
    }
    ::SetForegroundWindow(m_hMain);
    TypeKeys({ VK_MENU });
    if (!WaitFor([this] { return InMenuMode(); }, 2000))
        return;
    TypeKeys({ VK_ESCAPE });
    WaitFor([this] { return !InMenuMode(); });
}

bool CProgramProcess::InMenuMode() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(m_hMain, nullptr), &info)
           && (info.flags & GUI_INMENUMODE) != 0;
}

void CProgramProcess::TypeKeys(const std::vector<WORD>& keys)
{
    std::vector<INPUT> inputs;
    const auto key = [&inputs](WORD wVk, bool bUp) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = wVk;
        input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    // Held in the order given, let go in the reverse order.
    for (WORD wVk : keys)
        key(wVk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        key(*it, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND CProgramProcess::CommandBar() const
{
    return Child(m_hMain, IDW_COMMAND_BAR);
}

HWND CProgramProcess::InstallButton() const
{
    return Child(CommandBar(), ID_INSTALL);
}

HWND CProgramProcess::ListView() const
{
    return Child(Child(m_hMain, AFX_IDW_PANE_FIRST), AFX_IDW_PANE_FIRST);
}

HWND CProgramProcess::DestinationPane() const
{
    return Child(Child(m_hMain, AFX_IDW_PANE_FIRST), AFX_IDW_PANE_FIRST + 1);
}

void CProgramProcess::Command(UINT nId) const
{
    ::PostMessageA(m_hMain, WM_COMMAND, nId, 0);
}

void CProgramProcess::Keys(UINT nVirtualKey, bool bControl, bool bShift, bool bAlt) const
{
    ::SetForegroundWindow(m_hMain);
    std::vector<WORD> keys;
    if (bControl)
        keys.push_back(VK_CONTROL);
    if (bShift)
        keys.push_back(VK_SHIFT);
    if (bAlt)
        keys.push_back(VK_MENU);
    keys.push_back(static_cast<WORD>(nVirtualKey));
    TypeKeys(keys);
    WaitUntilIdle();
}

void CProgramProcess::Click(HWND hWnd, int x, int y) const
{
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    WaitUntilIdle();
}

int CProgramProcess::TreeItemImage(HWND hTree, HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_IMAGE;
    item.hItem = hItem;
    return RemoteTreeItem(hTree, item, nullptr) ? item.iImage : -1;
}

std::string CProgramProcess::TreeItemText(HWND hTree, HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = hItem;
    std::string strText;
    return RemoteTreeItem(hTree, item, &strText) ? strText : std::string();
}

bool CProgramProcess::RemoteTreeItem(HWND hTree, TVITEMA& item, std::string* pstrText) const
{
    constexpr int TEXT_CHARS = MAX_PATH;
    BYTE* pRemote = static_cast<BYTE*>(
        ::VirtualAllocEx(m_hProcess, nullptr, sizeof(TVITEMA) + TEXT_CHARS, MEM_COMMIT, PAGE_READWRITE));
    if (pRemote == nullptr)
        return false;
    if (pstrText != nullptr) {
        item.pszText = reinterpret_cast<LPSTR>(pRemote + sizeof(TVITEMA));
        item.cchTextMax = TEXT_CHARS;
    }
    char szText[TEXT_CHARS] = {};
    DWORD_PTR dwAnswer = 0;
    const bool bAnswered =
        ::WriteProcessMemory(m_hProcess, pRemote, &item, sizeof(item), nullptr)
        && ::SendMessageTimeoutA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pRemote), SMTO_NORMAL, 10000,
                                 &dwAnswer)
        && dwAnswer && ::ReadProcessMemory(m_hProcess, pRemote, &item, sizeof(item), nullptr)
        && (pstrText == nullptr
            || ::ReadProcessMemory(m_hProcess, pRemote + sizeof(TVITEMA), szText, sizeof(szText) - 1, nullptr));
    ::VirtualFreeEx(m_hProcess, pRemote, 0, MEM_RELEASE);
    if (bAnswered && pstrText != nullptr)
        *pstrText = szText;
    return bAnswered;
}

HWND CProgramProcess::FindMessageBox() const
{
    // A message box is a dialog with the static text of id 0xFFFF.
    for (HWND hWnd : ShownWindowsOf(m_dwProcessId)) {
        char szClass[16] = {};
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (std::string(szClass) == "#32770" && ::GetDlgItem(hWnd, 0xFFFF) != nullptr)
            return hWnd;
    }
    return nullptr;
}

DWORD CProgramProcess::WaitForExit(DWORD dwTimeout) const
{
    DWORD dwExitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(m_hProcess, dwTimeout) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_hProcess, &dwExitCode);
    return dwExitCode;
}
