// The real program, started as a process of its own in the test prefix and
// driven through its windows as a user's clicks and keys would drive it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

class CProgramProcess
{
public:
    // Starts the program with the command-line text strArguments; a client
    // area cxClient wide when given (the size a shortcut would ask for); in
    // the working folder strFolder when given, else in the test's own.
    explicit CProgramProcess(const std::string& strArguments, int cxClient = 0,
                             const std::string& strFolder = std::string());
    ~CProgramProcess();
    CProgramProcess(const CProgramProcess&) = delete;
    CProgramProcess& operator=(const CProgramProcess&) = delete;

    // The main window, once it is shown and the program waits for input;
    // null when it did not come up.
    HWND MainWindow() const { return m_hMain; }
    HWND Child(HWND hParent, int nId) const { return ::GetDlgItem(hParent, nId); }
    HWND CommandBar() const;
    HWND InstallButton() const;
    HWND ListView() const;
    HWND DestinationPane() const;

    // Lets the program catch up with everything it was posted or typed;
    // waits first for a dialog of the program to go.
    void WaitUntilIdle() const;
    // A command as a menu item gives it.
    void Command(UINT nId) const;
    // Keys as the keyboard types them, to the program's foreground window;
    // bControl holds Ctrl down, bShift Shift, bAlt Alt.
    void Keys(UINT nVirtualKey, bool bControl = false, bool bShift = false, bool bAlt = false) const;
    // A mouse click at client point (x, y) of hWnd.
    void Click(HWND hWnd, int x, int y) const;
    // The image a tree item of the program shows, as its tree asks for it;
    // -1 when the tree does not answer.
    int TreeItemImage(HWND hTree, HTREEITEM hItem) const;
    // The text of a tree item of the program; empty when the tree does not
    // answer.
    std::string TreeItemText(HWND hTree, HTREEITEM hItem) const;
    // The message box the program shows, or null.
    HWND FindMessageBox() const;

    // Waits for the program to end; its exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD dwTimeout) const;
    DWORD ProcessId() const { return m_dwProcessId; }

private:
    HWND FindMainWindow() const;
    bool InMenuMode() const;
    // Fills item as the tree in the program's process gives it (the record
    // and the text live there while it is asked); false when it does not.
    bool RemoteTreeItem(HWND hTree, TVITEMA& item, std::string* pstrText) const;
    // Keys pressed in the given order and let go in the reverse one.
    static void TypeKeys(const std::vector<WORD>& keys);

    HANDLE m_hProcess = nullptr;
    DWORD m_dwProcessId = 0;
    HWND m_hMain = nullptr;
};

// Polls fnDone until it holds or dwTimeout passes.
bool WaitFor(const std::function<bool()>& fnDone, DWORD dwTimeout = 10000);

// The top-level windows of a process that are shown.
std::vector<HWND> ShownWindowsOf(DWORD dwProcessId);
