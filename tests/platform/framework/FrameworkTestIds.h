// Ids of the framework tests' own resources.
#pragma once

#define IDR_TESTFRAME     300
#define IDD_TESTTOPBAR    310
#define IDD_TESTBOTTOMBAR 311
#define IDD_TESTFORM      320
#define IDD_TESTMODELESS  330

#define IDC_BAR_ALL         1201
#define IDC_BAR_INS         1202
#define IDC_BAR_ORPHAN      1203
#define IDC_FORM_EDIT       1301
#define IDC_FORM_TREE       1302
#define IDC_MODELESS_FIRST  1401
#define IDC_MODELESS_SECOND 1402

// Commands of the routing tests: each is handled by fewer of the view,
// the document, the frame and the application.
#define ID_ROUTE_VIEW   2001
#define ID_ROUTE_DOC    2002
#define ID_ROUTE_FRAME  2003
#define ID_ROUTE_APP    2004
#define ID_ROUTE_NOBODY 2005
