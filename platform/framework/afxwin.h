// The framework layer in one include.
#pragma once

#include "platform/framework/CString.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/CmdTarget.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Wnd.h"
#include "platform/framework/Geometry.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Document.h"
#include "platform/framework/WinApp.h"
