#include "tests/support/PaintedText.h"

#include "tests/support/AnsiText.h"

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
{
    auto* pTexts = reinterpret_cast<std::vector<PaintedText>*>(lParam);
    const auto* pBytes = reinterpret_cast<const BYTE*>(pRecord);
    if (pRecord->iType == EMR_EXTTEXTOUTW) {
        const auto* pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
        const auto* psz = reinterpret_cast<const wchar_t*>(pBytes + pText->emrtext.offString);
        pTexts->push_back({ AnsiFromWide(std::wstring(psz, pText->emrtext.nChars)),
                            { pText->emrtext.ptlReference.x, pText->emrtext.ptlReference.y } });
    } else if (pRecord->iType == EMR_EXTTEXTOUTA) {
        const auto* pText = reinterpret_cast<const EMREXTTEXTOUTA*>(pRecord);
        const auto* psz = reinterpret_cast<const char*>(pBytes + pText->emrtext.offString);
        pTexts->push_back({ std::string(psz, pText->emrtext.nChars),
                            { pText->emrtext.ptlReference.x, pText->emrtext.ptlReference.y } });
    }
    return 1;
}

}   // namespace

std::vector<PaintedText> PaintedTexts(HWND hWnd)
{
    std::vector<PaintedText> texts;
    HDC hReference = GetDC(hWnd);
    HDC hRecorder = CreateEnhMetaFileA(hReference, nullptr, nullptr, nullptr);
    ReleaseDC(hWnd, hReference);
    if (hRecorder == nullptr)
        return texts;
    SendMessageA(hWnd, WM_PRINT, reinterpret_cast<WPARAM>(hRecorder), PRF_ERASEBKGND | PRF_CLIENT);
    HENHMETAFILE hRecording = CloseEnhMetaFile(hRecorder);
    if (hRecording == nullptr)
        return texts;
    EnumEnhMetaFile(nullptr, hRecording, &CollectText, &texts, nullptr);
    DeleteEnhMetaFile(hRecording);
    return texts;
}

std::string PaintedTextIn(const std::vector<PaintedText>& texts, const RECT& rc)
{
    std::string str;
    for (const PaintedText& text : texts) {
        if (PtInRect(&rc, text.ptReference))
            str += text.strText;
    }
    return str;
}
