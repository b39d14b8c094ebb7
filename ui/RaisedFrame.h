// The raised look shared by the list's heading cells and the totals cells:
// a white line along the left and top, a shadow line along the right and
// bottom.
#pragma once

#include "platform/framework/Gdi.h"

void DrawRaisedFrame(CDC* pDC, const CRect& rc, HGDIOBJ hShadowPen);
