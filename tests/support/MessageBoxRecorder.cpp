#include "tests/support/MessageBoxRecorder.h"

#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

const char g_szDialogClass[] = "#32770";
const UINT g_uUnknownButtons = static_cast<UINT>(-1);

struct ButtonSet
{
    UINT uType;
    UINT uIdMask;   // bit n set: the box has the button with id n
};

constexpr UINT IdBit(int nId)
{
    return 1u << nId;
}

const ButtonSet g_buttonSets[] = {
    { MB_OK, IdBit(IDOK) },
    { MB_OKCANCEL, IdBit(IDOK) | IdBit(IDCANCEL) },
    { MB_ABORTRETRYIGNORE, IdBit(IDABORT) | IdBit(IDRETRY) | IdBit(IDIGNORE) },
    { MB_YESNOCANCEL, IdBit(IDYES) | IdBit(IDNO) | IdBit(IDCANCEL) },
    { MB_YESNO, IdBit(IDYES) | IdBit(IDNO) },
    { MB_RETRYCANCEL, IdBit(IDRETRY) | IdBit(IDCANCEL) },
    { MB_CANCELTRYCONTINUE, IdBit(IDCANCEL) | IdBit(IDTRYAGAIN) | IdBit(IDCONTINUE) },
};

const int g_nAnswerIds[] = {
    IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE,
};

struct IconKind
{
    UINT uIcon;
    LPCSTR pszSystemIcon;
};

const IconKind g_iconKinds[] = {
    { MB_ICONHAND, IDI_HAND },
    { MB_ICONQUESTION, IDI_QUESTION },
    { MB_ICONEXCLAMATION, IDI_EXCLAMATION },
    { MB_ICONASTERISK, IDI_ASTERISK },
};

bool IsClass(HWND hWnd, const char* pszClass)
{
    char szClass[32];
    return GetClassNameA(hWnd, szClass, sizeof(szClass)) > 0 && lstrcmpiA(szClass, pszClass) == 0;
}

// The program's own dialogs are of the dialog class too; a message box is
// the one whose dialog procedure lives in user32.
bool IsMessageBox(HWND hWnd)
{
    if (!IsClass(hWnd, g_szDialogClass))
        return false;
    auto pszProc = reinterpret_cast<LPCSTR>(GetWindowLongPtrW(hWnd, DWLP_DLGPROC));
    HMODULE hModule = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              pszProc, &hModule)
           && hModule == GetModuleHandleA("user32.dll");
}

// The system keeps only the buttons the caller asked for; the others of its
// template are destroyed before the box shows.
std::vector<int> ButtonsOf(HWND hBox)
{
    std::vector<int> aIds;
    for (int nId : g_nAnswerIds)
        if (GetDlgItem(hBox, nId))
            aIds.push_back(nId);
    return aIds;
}

UINT ButtonTypeOf(const std::vector<int>& aIds)
{
    UINT uIdMask = 0;
    for (int nId : aIds)
        uIdMask |= IdBit(nId);
    for (const ButtonSet& set : g_buttonSets)
        if (set.uIdMask == uIdMask)
            return set.uType;
    return g_uUnknownButtons;
}

bool IsIconStatic(HWND hWnd)
{
    return IsClass(hWnd, "Static") && (GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The box shows one of the shared system icons, so its handle tells which.
UINT IconOf(HWND hIconStatic)
{
    auto hIcon = reinterpret_cast<HICON>(SendMessageA(hIconStatic, STM_GETICON, 0, 0));
    for (const IconKind& kind : g_iconKinds)
        if (hIcon && hIcon == LoadIconA(nullptr, kind.pszSystemIcon))
            return kind.uIcon;
    return 0;
}

MessageBoxRecord ReadMessageBox(HWND hBox)
{
    MessageBoxRecord record{ WindowTextOf(hBox), std::string(), ButtonTypeOf(ButtonsOf(hBox)), 0 };
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (IsIconStatic(hChild))
            record.uIcon = IconOf(hChild);
        else if (IsClass(hChild, "Static"))
            record.strText = WindowTextOf(hChild);
    }
    return record;
}

}   // namespace

CMessageBoxRecorder* CMessageBoxRecorder::s_pActive = nullptr;

CMessageBoxRecorder::CMessageBoxRecorder() : m_hHook(SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId()))
{
    EXPECT_EQ(nullptr, s_pActive) << "only one message-box recorder at a time";
    EXPECT_NE(nullptr, m_hHook) << "CBT hook not installed";
    s_pActive = this;
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    UnhookWindowsHookEx(m_hHook);
    s_pActive = nullptr;
    EXPECT_TRUE(m_aAnswers.empty()) << m_aAnswers.size() << " scripted answer(s) left unused";
}

LRESULT CALLBACK CMessageBoxRecorder::CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // Activation comes after WM_INITDIALOG, when the box holds its final
    // texts, buttons and icon.
    if (s_pActive && nCode == HCBT_ACTIVATE)
        s_pActive->OnActivate(reinterpret_cast<HWND>(wParam));
    else if (s_pActive && nCode == HCBT_DESTROYWND)
        s_pActive->OnDestroy(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CMessageBoxRecorder::OnActivate(HWND hWnd)
{
    // A box activated again (after another window had the focus) was answered
    // already.
    if (!IsMessageBox(hWnd) || std::count(m_aOpenBoxes.begin(), m_aOpenBoxes.end(), hWnd))
        return;
    m_aOpenBoxes.push_back(hWnd);
    m_aBoxes.push_back(ReadMessageBox(hWnd));
    if (m_fnWhileShown)
        m_fnWhileShown(hWnd);

    int nAnswer = NextAnswer();
    const std::vector<int> aButtons = ButtonsOf(hWnd);
    if (!std::count(aButtons.begin(), aButtons.end(), nAnswer)) {
        ADD_FAILURE() << "message box \"" << m_aBoxes.back().strText << "\" has no button " << nAnswer;
        nAnswer = aButtons.empty() ? IDCANCEL : aButtons.front();
    }
    // Posted: the box's own modal loop picks the click up as soon as it runs.
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nAnswer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hWnd, nAnswer)));
}

void CMessageBoxRecorder::OnDestroy(HWND hWnd)
{
    m_aOpenBoxes.erase(std::remove(m_aOpenBoxes.begin(), m_aOpenBoxes.end(), hWnd), m_aOpenBoxes.end());
}

int CMessageBoxRecorder::NextAnswer()
{
    if (m_aAnswers.empty())
        return IDOK;
    int nAnswer = m_aAnswers.front();
    m_aAnswers.pop_front();
    return nAnswer;
}
