#include "helper/abuse_model.h"

#include "platform/barriers.h"
#include "platform/win_owners.h"

#include <wrl/client.h>

#include <string>

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

// The key's default value as text, at full length ("" when it has none). Any other failure
// to read it is raised.
std::wstring ReadDefaultText(HKEY key) {
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes);
    if (status == ERROR_FILE_NOT_FOUND)
        return {};
    std::wstring text;
    for (;;) {
        if (status != ERROR_SUCCESS)
            throw LibraryError(HRESULT_FROM_WIN32(status),
                               L"Не удалось прочитать регистрацию ядра");
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw LibraryError(HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE),
                               L"Неверный тип значения регистрации ядра");
        // Room for the value and a terminator the registry may not have stored.
        text.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, nullptr, nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA) { // the value grew meanwhile
            status = ERROR_SUCCESS;
            continue;
        }
        if (status == ERROR_SUCCESS)
            break;
    }
    text.resize(bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TAbuseModel::TAbuseModel() {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, KernelLibraryKey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return;
    const std::wstring path = ReadDefaultText(key.Get());
    if (path.empty() || !FileExists(path))
        return;
    // The kernel runs in-process, so this returns the module that already serves the
    // kernel's objects rather than a second copy.
    library_.Reset(LoadLibraryW(path.c_str()));
    if (!library_)
        return;
    set_class_guid_ = reinterpret_cast<SetClassGuidExport>(
        reinterpret_cast<void*>(GetProcAddress(library_.Get(), "zrAbuseSetClassGUID")));
    set_class_value_guid_ = reinterpret_cast<SetClassValueGuidExport>(
        reinterpret_cast<void*>(GetProcAddress(library_.Get(), "zrAbuseSetClassValueGUID")));
}

bool TAbuseModel::SetClassGUID(IZClass* cls, const GUID& guid) {
    if (!set_class_guid_)
        return false;
    const ComPtr<IZClass> held(cls); // kept alive across the call
    return set_class_guid_(held.Get(), &guid) != 0;
}

bool TAbuseModel::SetClassValueGUID(IZClassValue* cval, const GUID& guid) {
    if (!set_class_value_guid_)
        return false;
    const ComPtr<IZClassValue> held(cval);
    return set_class_value_guid_(held.Get(), &guid) != 0;
}

} // namespace kv
