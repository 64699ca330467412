#include "log_server_object.h"

#include "stand_in_object.h"

#include <cstdio>

namespace {

std::wstring Text(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

class LogServer final : public ComObject<IStandInLogServer> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, IID_StandInLogServer, object);
    }
    HRESULT STDMETHODCALLTYPE Unused3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unused7() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE LogError(BSTR module, BSTR object, BSTR method, LONG code,
                                       BSTR message, BSTR details) override {
        if (LogServerFailing())
            return E_FAIL;
        try {
            wchar_t hex[16];
            std::swprintf(hex, 16, L"%08X", static_cast<unsigned>(code));
            RecordedCalls().push_back(L"LogError|" + Text(module) + L"|" + Text(object) + L"|" +
                                      Text(method) + L"|" + hex + L"|" + Text(message) + L"|" +
                                      Text(details));
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE LogNote(BSTR note) override {
        if (LogServerFailing())
            return E_FAIL;
        try {
            RecordedCalls().push_back(L"LogNote|" + Text(note));
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
};

class LogRecorder final : public ComObject<IKvLogRecorder> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, IID_IKvLogRecorder, object);
    }

    HRESULT STDMETHODCALLTYPE Calls(BSTR* calls) override {
        if (!calls)
            return E_POINTER;
        *calls = nullptr;
        try {
            std::wstring text;
            for (const std::wstring& call : RecordedCalls())
                text += call + L"\n";
            *calls = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            return *calls ? S_OK : E_OUTOFMEMORY;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE Clear() override {
        RecordedCalls().clear();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCreatable(BOOL creatable) override {
        LogServerCreatable() = creatable != FALSE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetFailing(BOOL failing) override {
        LogServerFailing() = failing != FALSE;
        return S_OK;
    }
};

} // namespace

std::vector<std::wstring>& RecordedCalls() {
    static std::vector<std::wstring> calls;
    return calls;
}

bool& LogServerCreatable() {
    static bool creatable = true;
    return creatable;
}

bool& LogServerFailing() {
    static bool failing = false;
    return failing;
}

HRESULT CreateLogServer(const IID& iid, void** object) {
    if (object)
        *object = nullptr;
    if (!LogServerCreatable())
        return CLASS_E_CLASSNOTAVAILABLE;
    return CreateStandIn<LogServer>(iid, object);
}

HRESULT CreateLogRecorder(const IID& iid, void** object) {
    return CreateStandIn<LogRecorder>(iid, object);
}
