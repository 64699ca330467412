#include "com/com_support.h"

#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace zk::com {

namespace {

HMODULE g_module = nullptr;
LONG g_module_count = 0;

// Type information per interface, loaded once from the module's embedded type library.
std::mutex g_type_info_mutex;
ITypeLib* g_type_library = nullptr;
std::vector<std::pair<IID, ITypeInfo*>> g_type_infos;

} // namespace

HMODULE ModuleHandle() {
    return g_module;
}
void SetModuleHandle(HMODULE module) {
    g_module = module;
}
void ModuleAddRef() {
    InterlockedIncrement(&g_module_count);
}
void ModuleRelease() {
    InterlockedDecrement(&g_module_count);
}
LONG ModuleCount() {
    return InterlockedCompareExchange(&g_module_count, 0, 0);
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            ThrowHr(HRESULT_FROM_WIN32(GetLastError()), "cannot find the path of zkernel.dll");
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // the path was cut: ask again with more room
    }
}

ITypeInfo* TypeInfoOf(REFIID iid) {
    std::lock_guard lock(g_type_info_mutex);
    for (const auto& [known, info] : g_type_infos)
        if (known == iid)
            return info;
    try {
        if (!g_type_library &&
            FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &g_type_library)))
            return nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
    ITypeInfo* info = nullptr;
    if (FAILED(g_type_library->GetTypeInfoOfGuid(iid, &info)))
        return nullptr;
    g_type_infos.emplace_back(iid, info);
    return info;
}

void ReleaseTypeInformation() {
    std::lock_guard lock(g_type_info_mutex);
    for (auto& [iid, info] : g_type_infos)
        info->Release();
    g_type_infos.clear();
    if (g_type_library)
        std::exchange(g_type_library, nullptr)->Release();
}

void ThrowHr(HRESULT hr, const std::string& message) {
    throw ComError(hr, message);
}

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
        ThrowHr(hr, std::string(what) + " failed (" + code + ")");
    }
}

HRESULT HresultOf(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::InvalidArgument:
    case ErrorKind::NotFound:
        return E_INVALIDARG;
    case ErrorKind::Removed:
        return RPC_E_DISCONNECTED;
    case ErrorKind::BadFile:
        return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    default:
        return E_FAIL;
    }
}

HRESULT detail::FailInjected(REFIID iid, const char* method) {
    SetErrorMessage(iid, std::string(method) + " failed: the failure switch of the kernel stand-in");
    return E_FAIL;
}

void detail::DropObject(IUnknown** out) {
    if (out && *out)
        std::exchange(*out, nullptr)->Release();
}

void SetErrorMessage(REFIID iid, const std::string& message) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create)))
        return;
    std::wstring text = L"zkernel: ";
    try {
        text += Wide(message);
    } catch (const std::exception&) {
    }
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(L"zkernel"));
    create->SetDescription(text.data());
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info)))
        SetErrorInfo(0, info.Get());
}

std::string Utf8(const wchar_t* text, std::size_t length) {
    if (length == 0)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string Utf8(BSTR text) {
    return text ? Utf8(text, SysStringLen(text)) : std::string();
}

std::wstring Wide(std::string_view text) {
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

BSTR NewBstr(std::wstring_view text) {
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value)
        throw std::bad_alloc();
    return value;
}

BSTR NewBstr(std::string_view text) {
    return NewBstr(std::wstring_view(Wide(text)));
}

Guid ToGuid(const GUID& guid) {
    Guid out;
    std::memcpy(out.bytes.data(), &guid, sizeof guid);
    return out;
}

GUID ToGUID(const Guid& guid) {
    GUID out;
    std::memcpy(&out, guid.bytes.data(), sizeof out);
    return out;
}

const GUID& Required(const GUID* guid) {
    if (!guid)
        ThrowHr(E_POINTER, "a GUID argument is missing");
    return *guid;
}

} // namespace zk::com
