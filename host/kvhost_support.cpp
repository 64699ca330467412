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

namespace {

// The text in the ANSI code page, "?" for what it lacks (never a look-alike); `lossy` tells
// whether anything was lacking.
std::string ToAnsi(const wchar_t* wide, std::size_t length, BOOL* lossy) {
    if (!wide || length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide,
                                         static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(length), ansi.data(),
                        size, nullptr, GetACP() == CP_UTF8 ? nullptr : lossy);
    return ansi;
}

} // namespace

std::string Narrow(const wchar_t* wide, std::size_t length) {
    BOOL lossy = FALSE;
    return ToAnsi(wide, length, &lossy);
}

std::string Narrow(BSTR text) {
    return Narrow(text, SysStringLen(text));
}

std::string ExportName(BSTR name, const char* what) {
    return ExportName(std::wstring_view(name ? name : L"", SysStringLen(name)), what);
}

std::string ExportName(std::wstring_view name, const char* what) {
    BOOL lossy = FALSE;
    std::string ansi = ToAnsi(name.data(), name.size(), &lossy);
    if (lossy)
        throw HostError(std::string("the ") + what + " \"" + ansi +
                        "\" holds a character that the ANSI code page lacks, and the library's "
                        "exports take names in that code page");
    return ansi;
}

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? Narrow(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

std::wstring ExpandedPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring expanded(wide.size() + 1, L'\0');
    for (;;) {
        // The answer counts the terminating zero; a larger one asks for a larger buffer.
        const DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(),
                                                       static_cast<DWORD>(expanded.size()));
        if (needed == 0)
            throw HostError("cannot expand " + path + ": " + SystemMessage(GetLastError()));
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.assign(needed, L'\0');
    }
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
    Required(security, "reading the security");
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
