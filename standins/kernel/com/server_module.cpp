// The in-process server: entry point, class factory, unloading and self-registration. The
// table of creatable classes drives both the factory and the registration.
#include "com/com_support.h"
#include "com/model_object.h"

#include <zkernel.h>

namespace zk::com {

namespace {

struct ServerClass {
    const CLSID& clsid;
    const wchar_t* prog_id;
    const wchar_t* description;
    ComPtr<IUnknown> (*create)();
};

ComPtr<IUnknown> CreateModel() {
    return Adopt<IUnknown>(static_cast<IZModel*>(MakeObject<ModelObject>().Detach()));
}

const ServerClass kServerClasses[] = {
    {CLSID_ZModel, L"zkernel.ZModel", L"zkernel model (stand-in)", CreateModel},
};

const wchar_t kTypeLibrary[] = L"{001D54E6-3572-405F-8794-79CE321C5F3D}";

class ClassFactory final : public ComObjectBase, public IClassFactory {
public:
    explicit ClassFactory(const ServerClass& server_class) : class_(server_class) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return Barrier(IID_IClassFactory, [&] {
            Check(class_.create()->QueryInterface(iid, out), "creating the object");
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ModuleAddRef() : ModuleRelease();
        return S_OK;
    }

private:
    const ServerClass& class_;
};

std::wstring GuidString(const GUID& guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

void SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        ThrowHr(HRESULT_FROM_WIN32(status),
                "cannot write HKEY_CLASSES_ROOT\\" + Utf8(path.data(), path.size()));
}

void Register() {
    std::wstring path = ModulePath();
    for (const auto& server_class : kServerClasses) {
        std::wstring clsid = GuidString(server_class.clsid);
        std::wstring key = L"CLSID\\" + clsid;
        SetKey(key, nullptr, server_class.description);
        SetKey(key + L"\\InprocServer32", nullptr, path);
        SetKey(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        SetKey(key + L"\\ProgID", nullptr, server_class.prog_id);
        SetKey(key + L"\\TypeLib", nullptr, kTypeLibrary);
        SetKey(key + L"\\Version", nullptr, L"1.0");
        SetKey(server_class.prog_id, nullptr, server_class.description);
        SetKey(std::wstring(server_class.prog_id) + L"\\CLSID", nullptr, clsid);
    }
    ComPtr<ITypeLib> library;
    Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library), "loading the type library");
    Check(RegisterTypeLib(library.Get(), path.data(), nullptr), "registering the type library");
}

void Unregister() {
    for (const auto& server_class : kServerClasses) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidString(server_class.clsid)).c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, server_class.prog_id);
    }
    // RegisterTypeLib filed the library under the system kind of this architecture.
    UnRegisterTypeLib(LIBID_zkernel, 1, 0, LOCALE_NEUTRAL,
                      sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
}

} // namespace

} // namespace zk::com

using namespace zk::com;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        ReleaseTypeInformation(); // FreeLibrary only: at process exit oleaut32 may be gone
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const auto& server_class : kServerClasses)
        if (clsid == server_class.clsid)
            return Barrier(IID_IClassFactory, [&] {
                Check(MakeObject<ClassFactory>(server_class)->QueryInterface(iid, out),
                      "asking the class factory");
            });
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return ModuleCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    return Barrier(IID_NULL, [] { Register(); });
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    return Barrier(IID_NULL, [] { Unregister(); });
}
