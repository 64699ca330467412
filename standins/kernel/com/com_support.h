// What every COM object of zkernel.dll shares: reference counting tied to the module count,
// IDispatch answered from the embedded type library, the error barrier of each method and the
// conversions between automation values and the core's UTF-8 texts and GUIDs.
//
// Objects live in single-threaded apartments (the server registers ThreadingModel Apartment);
// only the module count and the type-information cache are touched from several threads.
#pragma once

#include "com/call_failures.h"
#include "core/kernel_error.h"
#include "core/value.h"

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <string_view>
#include <optional>
#include <type_traits>
#include <utility>

namespace zk::com {

using Microsoft::WRL::ComPtr;

// --- module state -----------------------------------------------------------------------------

HMODULE ModuleHandle();
void SetModuleHandle(HMODULE module);
// Live objects and factory locks; DllCanUnloadNow answers S_OK at zero.
void ModuleAddRef();
void ModuleRelease();
LONG ModuleCount();
std::wstring ModulePath();
// The type information of one interface of the embedded type library, cached (not AddRef'd).
ITypeInfo* TypeInfoOf(REFIID iid);
void ReleaseTypeInformation();

// --- errors -----------------------------------------------------------------------------------

// A failure with the HRESULT the caller gets; KernelError carries the core's failures.
class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::string& message) : std::runtime_error(message), hr_(hr) {}
    HRESULT hr() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

[[noreturn]] void ThrowHr(HRESULT hr, const std::string& message);
// Throws ComError for a failing HRESULT of a platform call.
void Check(HRESULT hr, const char* what);
HRESULT HresultOf(ErrorKind kind);
// Sets the thread's error information: source "zkernel", the interface and the message.
void SetErrorMessage(REFIID iid, const std::string& message);

namespace detail {
// The object out-value of the call in progress on this thread, as Out() last saw one: where the
// failure switch drops the object of a call that is to answer with none.
inline thread_local IUnknown** object_out = nullptr;
HRESULT FailInjected(REFIID iid, const char* method);
void DropObject(IUnknown** out);

// A call's own record of its object out-value; an outer call's is put back when it ends.
class ObjectOutScope {
public:
    ObjectOutScope() noexcept : outer_(std::exchange(object_out, nullptr)) {}
    ~ObjectOutScope() { object_out = outer_; }
    ObjectOutScope(const ObjectOutScope&) = delete;
    ObjectOutScope& operator=(const ObjectOutScope&) = delete;

private:
    IUnknown** outer_;
};
} // namespace detail

// The one barrier of every COM method: runs the body and turns any exception into a failing
// HRESULT with error information. With the failure switch on, the call is counted first
// (call_failures.h); `method` names it in the injected failure's message.
template <class Body>
HRESULT Barrier(REFIID iid, Body&& body, const char* method = __builtin_FUNCTION()) noexcept {
    std::optional<CallFailure> injected;
    if (CallSwitchOn()) {
        injected = detail::CountCall(iid);
        if (injected == CallFailure::Error)
            return detail::FailInjected(iid, method);
    }
    const detail::ObjectOutScope out_scope;
    try {
        body();
        if (injected == CallFailure::NoObject)
            detail::DropObject(detail::object_out);
        return S_OK;
    } catch (const ComError& error) {
        SetErrorMessage(iid, error.what());
        return error.hr();
    } catch (const KernelError& error) {
        SetErrorMessage(iid, error.what());
        return HresultOf(error.kind());
    } catch (const std::bad_alloc&) {
        SetErrorMessage(iid, "out of memory");
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        SetErrorMessage(iid, error.what());
        return E_UNEXPECTED;
    } catch (...) {
        SetErrorMessage(iid, "unexpected failure");
        return E_UNEXPECTED;
    }
}

// An out-parameter: E_POINTER when missing, else set to the given known value. An object
// out-value is noted for the failure switch.
template <class T, class V> T* Out(T* out, V value) {
    if (!out)
        ThrowHr(E_POINTER, "an output argument is missing");
    *out = value;
    if constexpr (std::is_pointer_v<T> && std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>)
        detail::object_out = reinterpret_cast<IUnknown**>(out);
    return out;
}

// --- values -----------------------------------------------------------------------------------

std::string Utf8(const wchar_t* text, std::size_t length);
std::string Utf8(BSTR text);
inline std::string Utf8(const std::wstring& text) {
    return Utf8(text.data(), text.size());
}
std::wstring Wide(std::string_view text);
// A new BSTR owned by the caller (an out-parameter).
BSTR NewBstr(std::string_view text);
BSTR NewBstr(std::wstring_view text);
Guid ToGuid(const GUID& guid);
GUID ToGUID(const Guid& guid);
const GUID& Required(const GUID* guid);

// Owns a BSTR for the length of a call.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(BSTR owned) : value_(owned) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR get() const { return value_; }
    BSTR* put() {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    BSTR Detach() { return std::exchange(value_, nullptr); }

private:
    BSTR value_ = nullptr;
};

// --- object base ------------------------------------------------------------------------------

// Reference counting of one COM object; the module counts every live object.
class ComObjectBase {
public:
    ComObjectBase(const ComObjectBase&) = delete;
    ComObjectBase& operator=(const ComObjectBase&) = delete;

protected:
    ComObjectBase() { ModuleAddRef(); }
    virtual ~ComObjectBase() { ModuleRelease(); }
    ULONG AddRefObject() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG ReleaseObject() {
        ULONG left = static_cast<ULONG>(InterlockedDecrement(&refs_));
        if (left == 0)
            delete this;
        return left;
    }

private:
    LONG refs_ = 1;
};

// Takes over a reference the caller already owns. (mingw's ComPtr::Attach adds a reference,
// unlike the Windows SDK's, so it is not used.)
template <class T> ComPtr<T> Adopt(T* owned) {
    ComPtr<T> pointer(owned);
    owned->Release();
    return pointer;
}

// A new object with its first reference owned by the result.
template <class T, class... Args> ComPtr<T> MakeObject(Args&&... args) {
    return Adopt(new T(std::forward<Args>(args)...));
}

#define ZK_REFERENCE_COUNTING                                                                      \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                    \
        return AddRefObject();                                                                     \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE Release() override {                                                   \
        return ReleaseObject();                                                                    \
    }

// IDispatch of one dual interface I, answered from the type library. An object that embeds
// several dual interfaces derives from DispatchOf<> of each, so each answers for its own.
template <class I> class DispatchOf : public I {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        ITypeInfo* type_info = TypeInfoOf(__uuidof(I));
        if (!type_info)
            return TYPE_E_CANTLOADLIBRARY;
        type_info->AddRef();
        *info = type_info;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* type_info = TypeInfoOf(__uuidof(I));
        return type_info ? DispGetIDsOfNames(type_info, names, count, ids) : TYPE_E_CANTLOADLIBRARY;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* bad_argument) override {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* type_info = TypeInfoOf(__uuidof(I));
        if (!type_info)
            return TYPE_E_CANTLOADLIBRARY;
        return type_info->Invoke(static_cast<I*>(this), id, flags, params, result, exception,
                                 bad_argument);
    }
};

} // namespace zk::com
