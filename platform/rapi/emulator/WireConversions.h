// The emulator's Windows-side values in the wire library's forms: UTF-16
// text as std::u16string, and CE_FIND_DATA as a wire record.
#pragma once

#include "platform/handheldwire/RapiCalls.h"
#include "platform/rapi/rapi.h"

#include <string>

std::wstring WideOf(const std::u16string& str);
std::u16string Utf16Of(const std::wstring& str);
handheldwire::FindRecord RecordOf(const CE_FIND_DATA& data);
