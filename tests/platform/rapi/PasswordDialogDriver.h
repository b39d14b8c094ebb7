// The stand-in's password dialog and unlock notice as a user meets them,
// in the test's own process or in the program's: found among the shown
// windows, read, typed into and clicked.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

// The shown dialogs of a process: questions for a password (they have a
// password field) or unlock notices (they have none).
std::vector<HWND> ShownPasswordDialogs(DWORD dwProcessId, bool bQuestions);
// The first such dialog once it is shown; null when none is within
// dwTimeout (0: shown now).
HWND WaitForPasswordDialog(DWORD dwProcessId, bool bQuestion, DWORD dwTimeout = 10000);
// True once the dialog is gone, within dwTimeout.
bool WaitUntilClosed(HWND hDlg, DWORD dwTimeout = 10000);
// The text the dialog asks or tells with.
std::wstring PromptOf(HWND hDlg);
// Characters typed into the password field, one key at a time.
void TypePassword(HWND hDlg, const std::wstring& strTyped);
// Enter typed in the password field.
void PressEnter(HWND hDlg);
// A click on the dialog's button nButton (IDOK, IDCANCEL).
void PressButton(HWND hDlg, int nButton);
// The UTF-16 form of a UTF-8 text.
std::wstring WideFromUtf8(const char* pszUtf8);
