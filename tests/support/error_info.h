// The thread's COM error information, as an export or a COM method leaves it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace kvtest {

// The description of the thread's error information ("" when there is none), taking it.
inline std::wstring TakeErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return {};
    BSTR description = nullptr;
    std::wstring text;
    if (SUCCEEDED(info->GetDescription(&description)) && description)
        text.assign(description, SysStringLen(description));
    SysFreeString(description);
    info->Release();
    return text;
}

} // namespace kvtest
