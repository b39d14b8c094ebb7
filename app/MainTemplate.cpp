#include "app/MainTemplate.h"

#include "catalogue/TarnixDoc.h"
#include "res/resource.h"
#include "ui/MainFrame.h"
#include "ui/TarnixView.h"

CSingleDocTemplate* CreateMainTemplate()
{
    return new CSingleDocTemplate(IDR_MAINFRAME, &CreateObject<CTarnixDoc>, &CreateObject<CMainFrame>,
                                  &CreateObject<CTarnixView>);
}
