// kvstandins.dll: the in-process server of the outside components' stand-ins (the log server
// and its recorder, the synchronisation manager, the directory component). Class table, class
// factory, registration and unloading.
#include "directory/directory_object.h"
#include "log_server_object.h"
#include "server_lifetime.h"
#include "stand_in_object.h"
#include "syncro_manager_object.h"

#include <olectl.h>

#include <string>

namespace {

LONG live_objects = 0;
HMODULE this_module = nullptr;

struct ServedClass {
    const CLSID* id;
    const wchar_t* name;
    HRESULT (*create)(const IID& iid, void** object);
};

const ServedClass served_classes[] = {
    {&CLSID_StandInLogServer, L"Log server (stand-in)", CreateLogServer},
    {&CLSID_KvLogRecorder, L"Log server recorder (stand-in)", CreateLogRecorder},
    {&CLSID_StandInSyncroManager, L"Synchronisation manager (stand-in)", CreateSyncroManager},
    {&CLSID_StandInDirectory, L"Directory component (stand-in)", CreateDirectoryComponent},
};

class ClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ClassFactory(const ServedClass& served) : served_(served) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, IID_IClassFactory, object);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return served_.create(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ServerObjectCreated() : ServerObjectDestroyed();
        return S_OK;
    }

private:
    const ServedClass& served_;
};

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ModuleFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(this_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT RegisterClassKey(const ServedClass& served, const std::wstring& module) {
    const std::wstring key = L"CLSID\\" + GuidText(*served.id);
    HKEY class_key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &class_key, nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    SetText(class_key, nullptr, served.name);
    HKEY server_key = nullptr;
    LONG status = RegCreateKeyExW(class_key, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &server_key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = SetText(server_key, nullptr, module);
        if (status == ERROR_SUCCESS)
            status = SetText(server_key, L"ThreadingModel", L"Apartment");
        RegCloseKey(server_key);
    }
    RegCloseKey(class_key);
    return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

} // namespace

void ServerObjectCreated() noexcept {
    InterlockedIncrement(&live_objects);
}

void ServerObjectDestroyed() noexcept {
    InterlockedDecrement(&live_objects);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        this_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID id, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const ServedClass& served : served_classes)
        if (*served.id == id)
            return CreateStandIn<ClassFactory>(iid, object, served);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return live_objects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring module = ModuleFile();
    if (module.empty())
        return SELFREG_E_CLASS;
    for (const ServedClass& served : served_classes)
        if (const HRESULT hr = RegisterClassKey(served, module); FAILED(hr))
            return hr;
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    for (const ServedClass& served : served_classes)
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(*served.id)).c_str());
    return S_OK;
}
