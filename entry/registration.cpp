// Self-registration: the type library and, for every served class, the keys under the classes
// root that let a client create it by CLSID or ProgID.
#include "entry/class_table.h"

#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/guid_conversion.h"
#include "platform/module_path.h"
#include "platform/win_owners.h"

#include <wrl/client.h>

#include <cstdio>
#include <string>

using Microsoft::WRL::ComPtr;

namespace kv {
namespace {

void CheckRegistry(LONG status, const std::wstring& key) {
    if (status != ERROR_SUCCESS)
        throw LibraryError(HRESULT_FROM_WIN32(status), L"Ошибка реестра: " + key);
}

void WriteText(const std::wstring& key_name, const wchar_t* value_name, const std::wstring& text) {
    RegistryKey key;
    CheckRegistry(RegCreateKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, key.Out(), nullptr),
                  key_name);
    CheckRegistry(RegSetValueExW(key.Get(), value_name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  key_name);
}

void DeleteTree(const std::wstring& key_name) {
    const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key_name.c_str());
    if (status != ERROR_FILE_NOT_FOUND)
        CheckRegistry(status, key_name);
}

bool KeyExists(const std::wstring& key_name) {
    RegistryKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ, key.Out()) ==
           ERROR_SUCCESS;
}

// The platform's short form of a path that contains a space.
std::wstring RegisteredPath(const std::wstring& path) {
    if (path.find(L' ') == std::wstring::npos)
        return path;
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring short_path(length, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), short_path.data(), length);
    if (length == 0 || written == 0 || written >= length)
        throw LibraryError(HRESULT_FROM_WIN32(GetLastError()), L"Нет короткого пути: " + path);
    short_path.resize(written);
    return short_path;
}

// The library's own type library, embedded in the module.
struct OwnTypeLibrary {
    OwnTypeLibrary() : path(ModulePath(ThisModule())) {
        check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library));
        TLIBATTR* attributes = nullptr;
        check(library->GetLibAttr(&attributes));
        libid = attributes->guid;
        major = attributes->wMajorVerNum;
        minor = attributes->wMinorVerNum;
        lcid = attributes->lcid;
        syskind = attributes->syskind;
        library->ReleaseTLibAttr(attributes);
        Bstr library_name;
        check(library->GetDocumentation(-1, library_name.Out(), nullptr, nullptr, nullptr));
        name = library_name.View();
    }

    std::wstring path;
    ComPtr<ITypeLib> library;
    GUID libid;
    WORD major, minor;
    LCID lcid;
    SYSKIND syskind; // SYS_WIN32 or SYS_WIN64: the key the registration went under
    std::wstring name;
};

struct ClassKeys {
    std::wstring clsid_key, prog_id, description;
};

// The class's keys as the type library describes it: ProgID "library.class", description the
// class's help string.
ClassKeys KeysOf(const OwnTypeLibrary& own, const ServedClass& served) {
    ComPtr<ITypeInfo> info;
    check(own.library->GetTypeInfoOfGuid(*served.clsid, &info));
    Bstr class_name, description;
    check(info->GetDocumentation(MEMBERID_NIL, class_name.Out(), description.Out(), nullptr,
                                 nullptr));
    return {L"CLSID\\" + WideGuidText(*served.clsid), own.name + L"." + std::wstring(class_name.View()),
            std::wstring(description.View())};
}

void RegisterServer() {
    OwnTypeLibrary own;
    check(RegisterTypeLib(own.library.Get(), own.path.data(), nullptr));
    wchar_t version[16];
    swprintf(version, 16, L"%d.%d", own.major, own.minor);
    const std::wstring server_path = RegisteredPath(own.path);
    for (const ServedClass& served : ServedClasses()) {
        const ClassKeys keys = KeysOf(own, served);
        WriteText(keys.clsid_key, nullptr, keys.description);
        WriteText(keys.clsid_key + L"\\InprocServer32", nullptr, server_path);
        WriteText(keys.clsid_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        WriteText(keys.clsid_key + L"\\ProgID", nullptr, keys.prog_id);
        WriteText(keys.clsid_key + L"\\Version", nullptr, version);
        WriteText(keys.clsid_key + L"\\TypeLib", nullptr, WideGuidText(own.libid));
        WriteText(keys.prog_id, nullptr, keys.description);
        WriteText(keys.prog_id + L"\\Clsid", nullptr, WideGuidText(*served.clsid));
    }
}

void UnregisterServer() {
    const OwnTypeLibrary own;
    for (const ServedClass& served : ServedClasses()) {
        const ClassKeys keys = KeysOf(own, served);
        DeleteTree(keys.prog_id);
        DeleteTree(keys.clsid_key);
    }
    if (KeyExists(L"TypeLib\\" + WideGuidText(own.libid)))
        check(UnRegisterTypeLib(own.libid, own.major, own.minor, own.lcid, own.syskind));
}

// Both entry points answer S_OK, or E_FAIL when any step raised an error.
template <class Step> HRESULT RegistrationStep(Step step) noexcept {
    const HRESULT hr = ComMethodBarrier(GUID_NULL, nullptr, [&] {
        step();
        return S_OK;
    });
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
}

} // namespace
} // namespace kv

extern "C" HRESULT __stdcall DllRegisterServer() {
    return kv::RegistrationStep(kv::RegisterServer);
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
    return kv::RegistrationStep(kv::UnregisterServer);
}
