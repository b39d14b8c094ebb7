// What a window writes when it paints itself: each text it draws, read back
// from an enhanced metafile recording of its painting, so a test checks the
// words and figures a user reads rather than pixels.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

struct PaintedText
{
    std::string strText;   // in the ANSI code page
    POINT ptReference;     // where it was drawn, in client coordinates
};

// The texts of one painting (background erase and client paint), in the
// order they are drawn.
std::vector<PaintedText> PaintedTexts(HWND hWnd);

// The texts drawn with their reference point inside rc, joined in order.
std::string PaintedTextIn(const std::vector<PaintedText>& texts, const RECT& rc);
