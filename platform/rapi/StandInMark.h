// How our stand-in library is told from another remote API library of the
// same file name: the product name in its version record. The resource
// script writes it from here, and the prefix scripts look for the same text.
#pragma once

#define STAND_IN_PRODUCT_NAME "Tarnix remote API stand-in"

#ifndef RC_INVOKED
#include <windows.h>

// TRUE when the file's version record names it our stand-in, under any of
// the translations it lists; FALSE for any other file, or none at all.
BOOL IsOurStandIn(LPCSTR pszPath);
#endif
