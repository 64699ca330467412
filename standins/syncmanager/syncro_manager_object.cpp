#include "syncro_manager_object.h"

#include "com/server_store_folder.h"
#include "stand_in_object.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Owns a find handle.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

void SetError(const wchar_t* message) {
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create)))
        return;
    create->SetGUID(IID_StandInSyncroManager);
    create->SetSource(const_cast<LPOLESTR>(L"kvstandins.SyncroManager"));
    create->SetDescription(const_cast<LPOLESTR>(message));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
}

// The structure files of the folder, sorted by name; false when it cannot be listed.
bool StructureNames(const std::wstring& folder, std::vector<std::wstring>& names) {
    std::wstring pattern = folder;
    if (pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L"*.ztp";
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES)
        return false;
    std::sort(names.begin(), names.end());
    return true;
}

SAFEARRAY* NameArray(const std::vector<std::wstring>& names) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(names.size()));
    if (!array)
        return nullptr;
    for (LONG index = 0; index < static_cast<LONG>(names.size()); ++index) {
        VARIANT element;
        V_VT(&element) = VT_BSTR;
        V_BSTR(&element) =
            SysAllocStringLen(names[index].data(), static_cast<UINT>(names[index].size()));
        const HRESULT hr =
            V_BSTR(&element) ? SafeArrayPutElement(array, &index, &element) : E_OUTOFMEMORY;
        VariantClear(&element);
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            return nullptr;
        }
    }
    return array;
}

class SyncroManager final : public ComObject<IStandInSyncroManager> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, IID_StandInSyncroManager, object);
    }
    HRESULT STDMETHODCALLTYPE Unused3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused4() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetModelNames(VARIANT* names) override {
        if (!names)
            return E_POINTER;
        VariantInit(names);
        try {
            const std::wstring folder = zk::ServerStoreFolder();
            if (folder.empty()) {
                SetError(L"no server store is set up: set ZKERNEL_SERVER_STORE or the registry "
                         L"value HKLM\\Software\\zkernel\\ServerStore to its folder");
                return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
            }
            std::vector<std::wstring> structures;
            if (!StructureNames(folder, structures)) {
                const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
                SetError((L"the server store " + folder + L" cannot be listed").c_str());
                return FAILED(hr) ? hr : E_FAIL;
            }
            SAFEARRAY* array = NameArray(structures);
            if (!array)
                return E_OUTOFMEMORY;
            V_VT(names) = VT_ARRAY | VT_VARIANT;
            V_ARRAY(names) = array;
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
};

} // namespace

HRESULT CreateSyncroManager(const IID& iid, void** object) {
    return CreateStandIn<SyncroManager>(iid, object);
}
