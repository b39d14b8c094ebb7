// The program's one document template: the catalogue document shown in the
// main frame, with the content list as its first view.
#pragma once

#include "platform/framework/DocTemplate.h"

CSingleDocTemplate* CreateMainTemplate();
