#include "platform/rapi/DialogPasswords.h"

#include "platform/rapi/PasswordDialogIds.h"

namespace {
std::wstring LoadedText(HINSTANCE hResources, UINT nId)
{
    const wchar_t* pText = nullptr;
    const int cch = LoadStringW(hResources, nId, reinterpret_cast<LPWSTR>(&pText), 0);
    return cch > 0 ? std::wstring(pText, static_cast<size_t>(cch)) : std::wstring();
}

std::wstring WindowText(HWND hWnd)
{
    std::wstring strText(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    strText.resize(static_cast<size_t>(GetWindowTextW(hWnd, &strText[0], static_cast<int>(strText.size()))));
    return strText;
}

void Wipe(std::wstring& str)
{
    SecureZeroMemory(&str[0], str.size() * sizeof(wchar_t));
    str.clear();
}

// Nothing may unwind through the system's dialog code: a failure (no
// memory for a text) ends the dialog as a Cancel would.
template <INT_PTR (*OnMessage)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK GuardedProc(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    try {
        return OnMessage(hDlg, nMessage, wParam, lParam);
    } catch (...) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
}

// A dialog of another thread ends on its own thread, as EndDialog must be
// called there.
void EndFromElsewhere(HWND hDlg)
{
    PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
}
}   // namespace

CDialogPasswords::CDialogPasswords(HINSTANCE hResources) : m_hResources(hResources) {}

CDialogPasswords::~CDialogPasswords()
{
    EndUnlockNotice();
}

bool CDialogPasswords::NextPassword(bool bRetry, std::u16string& strPassword)
{
    {
        std::lock_guard<std::mutex> lock(m_cs);
        if (!m_bAnswersWanted)
            return false;
    }
    Question question = { this, bRetry, std::wstring() };
    const INT_PTR nResult =
        DialogBoxParamW(m_hResources, MAKEINTRESOURCEW(IDD_STANDIN_PASSWORD), nullptr,
                        GuardedProc<&CDialogPasswords::OnQuestionMessage>, reinterpret_cast<LPARAM>(&question));
    const bool bAnswered = nResult == IDOK && !question.strTyped.empty();
    if (bAnswered)
        strPassword.assign(question.strTyped.begin(), question.strTyped.end());
    Wipe(question.strTyped);
    return bAnswered;
}

void CDialogPasswords::ShowUnlockNotice()
{
    std::lock_guard<std::mutex> noticeLock(m_csNotice);
    {
        std::lock_guard<std::mutex> lock(m_cs);
        if (!m_bAnswersWanted || m_bNoticeOn)
            return;
        m_bNoticeOn = true;
    }
    if (m_notice.joinable())
        m_notice.join();
    try {
        m_notice = std::thread([this] {
            DialogBoxParamW(m_hResources, MAKEINTRESOURCEW(IDD_STANDIN_UNLOCK), nullptr,
                            GuardedProc<&CDialogPasswords::OnNoticeMessage>, reinterpret_cast<LPARAM>(this));
        });
    } catch (const std::system_error&) {
        // No thread for it: the handheld still waits to be unlocked, unannounced.
        std::lock_guard<std::mutex> lock(m_cs);
        m_bNoticeOn = false;
    }
}

void CDialogPasswords::EndUnlockNotice()
{
    std::lock_guard<std::mutex> noticeLock(m_csNotice);
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_bNoticeOn = false;
        if (m_hNotice)
            EndFromElsewhere(m_hNotice);
    }
    if (m_notice.joinable())
        m_notice.join();
}

void CDialogPasswords::Cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_bAnswersWanted = false;
        if (m_hQuestion)
            EndFromElsewhere(m_hQuestion);
    }
    EndUnlockNotice();
}

INT_PTR CDialogPasswords::OnQuestionMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        Question& question = *reinterpret_cast<Question*>(lParam);
        question.pOwner->StartQuestion(hDlg, question);
        return TRUE;
    }
    Question* pQuestion = reinterpret_cast<Question*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (pQuestion == nullptr)
        return FALSE;
    if (nMessage == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            pQuestion->pOwner->Answer(hDlg, *pQuestion);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        case IDC_STANDIN_PASSWORD:
            if (HIWORD(wParam) == EN_CHANGE)
                EnableWindow(GetDlgItem(hDlg, IDOK), GetWindowTextLengthW(reinterpret_cast<HWND>(lParam)) > 0);
            return TRUE;
        default:
            break;
        }
    } else if (nMessage == WM_DESTROY) {
        pQuestion->pOwner->Closed(pQuestion->pOwner->m_hQuestion, hDlg);
    }
    return FALSE;
}

void CDialogPasswords::StartQuestion(HWND hDlg, const Question& question)
{
    if (!Opened(m_hQuestion, hDlg, m_bAnswersWanted)) {
        EndDialog(hDlg, IDCANCEL);
        return;
    }
    const std::wstring strPrompt = LoadedText(m_hResources, question.bRetry ? IDS_STANDIN_RETRY : IDS_STANDIN_ASK);
    SetDlgItemTextW(hDlg, IDC_STANDIN_PROMPT, strPrompt.c_str());
    EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
    SetForegroundWindow(hDlg);
}

// Enter in an empty field is no answer: the question stays.
void CDialogPasswords::Answer(HWND hDlg, Question& question)
{
    question.strTyped = WindowText(GetDlgItem(hDlg, IDC_STANDIN_PASSWORD));
    if (!question.strTyped.empty())
        EndDialog(hDlg, IDOK);
}

INT_PTR CDialogPasswords::OnNoticeMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        CDialogPasswords* pOwner = reinterpret_cast<CDialogPasswords*>(lParam);
        if (pOwner->Opened(pOwner->m_hNotice, hDlg, pOwner->m_bNoticeOn))
            SetForegroundWindow(hDlg);
        else
            EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    CDialogPasswords* pOwner = reinterpret_cast<CDialogPasswords*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (pOwner == nullptr)
        return FALSE;
    if (nMessage == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    if (nMessage == WM_DESTROY)
        pOwner->Closed(pOwner->m_hNotice, hDlg);
    return FALSE;
}

bool CDialogPasswords::Opened(HWND& hSlot, HWND hDlg, const bool& bWanted)
{
    std::lock_guard<std::mutex> lock(m_cs);
    if (!bWanted)
        return false;
    hSlot = hDlg;
    return true;
}

void CDialogPasswords::Closed(HWND& hSlot, HWND hDlg)
{
    std::lock_guard<std::mutex> lock(m_cs);
    if (hSlot == hDlg)
        hSlot = nullptr;
}
