// The library, window, text and model helpers of the command-line host.
#include "kvhost_support.h"

#include <cstdio>

namespace kvhost {

std::wstring Widen(const std::string& ansi) {
    if (ansi.empty())
        return {};
    int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const wchar_t* wide, std::size_t length) {
    if (!wide || length == 0)
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr,
                                   nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), ansi.data(), size, nullptr,
                        nullptr);
    return ansi;
}

std::string Narrow(BSTR text) {
    return Narrow(text, SysStringLen(text));
}

std::string TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info)
        return {};
    OutText description;
    if (FAILED(info->GetDescription(description.put())))
        return {};
    return description.ansi();
}

void Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr))
        return;
    std::string message = std::string(what) + " failed";
    std::string description = TakeErrorDescription();
    if (!description.empty())
        message += ": " + description;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    throw HostError(message + " (" + code + ")");
}

void RaiseExportFailure(const std::string& what) {
    std::string description = TakeErrorDescription();
    throw HostError(description.empty() ? what + " failed" : what + ": " + description);
}

Text::Text(const std::wstring& text)
    : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!value_)
        throw HostError("out of memory");
}

Text::~Text() {
    SysFreeString(value_);
}

Library::Library() : module_(LoadLibraryW(L"korvalith.dll")) {
    if (!module_)
        throw HostError("korvalith.dll could not be loaded (error " +
                        std::to_string(GetLastError()) + ")");
}

Library::~Library() {
    FreeLibrary(module_);
}

OwnerWindow::OwnerWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"kvhost", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    if (!window_)
        throw HostError("the owner window could not be created");
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(window_);
}

ComPtr<IZModel> NewModel() {
    CLSID clsid;
    Check(CLSIDFromProgID(L"zkernel.ZModel", &clsid), "finding zkernel.ZModel (is it registered?)");
    ComPtr<IZModel> model;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IZModel),
                           reinterpret_cast<void**>(model.GetAddressOf())),
          "creating zkernel.ZModel");
    return model;
}

ComPtr<IZModel> LoadModel(const std::string& path) {
    ComPtr<IZModel> model = NewModel();
    Check(model->zrLoadModel(Text(Widen(path)), nullptr, 2),
          ("loading the structure " + path).c_str());
    return model;
}

namespace {

std::wstring GroupAttribute(IZLocalSecurity* security, LONG group, LONG attribute) {
    VARIANT value;
    VariantInit(&value);
    Check(security->zrGroupAttribute(group, 0, attribute, &value), "reading a group attribute");
    VARIANT text;
    VariantInit(&text);
    HRESULT hr = VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR);
    VariantClear(&value);
    Check(hr, "reading a group attribute as text");
    std::wstring result(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
    VariantClear(&text);
    return result;
}

} // namespace

std::vector<UserGroup> UserGroups(IZModel* model) {
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(security.GetAddressOf()), "reading the security");
    std::vector<UserGroup> groups;
    for (LONG group = 0;;) {
        Check(security->zrNextGroup(group, &group), "walking the groups");
        if (!group)
            return groups;
        groups.push_back(
            {GroupAttribute(security.Get(), group, 2), GroupAttribute(security.Get(), group, 1)});
    }
}

} // namespace kvhost
