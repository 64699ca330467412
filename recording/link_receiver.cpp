#include "recording/link_receiver.h"
#include "recording/whole_fragment.h"

#include "kernel/kernel_reads.h"
#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/module_lifetime.h"
#include "recording/structure_fragments.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

constexpr DISPID kOnLinkAdd = 1;
constexpr DISPID kOnLinkDelete = 2;
// The events declare two arguments; named arguments numbered past this are not ours to keep.
constexpr DISPID kMostArguments = 16;

// The arguments of one call in declaration order: positional arguments arrive last first,
// after the named ones, which sit at the place their argument number gives.
class EventArguments {
public:
    explicit EventArguments(const DISPPARAMS* params) {
        if (!params || params->cArgs == 0)
            return;
        if (!params->rgvarg)
            throw LibraryError(E_INVALIDARG, L"Событие без массива аргументов");
        const UINT named = std::min(params->cNamedArgs, params->cArgs);
        if (named != 0 && !params->rgdispidNamedArgs)
            throw LibraryError(E_INVALIDARG, L"Событие без номеров именованных аргументов");
        const UINT positional = params->cArgs - named;
        std::size_t count = positional;
        for (UINT k = 0; k < named; ++k) {
            const DISPID position = params->rgdispidNamedArgs[k];
            if (position >= 0 && position < kMostArguments)
                count = std::max(count, static_cast<std::size_t>(position) + 1);
        }
        values_.resize(count);
        for (VARIANT& value : values_)
            VariantInit(&value);
        for (UINT i = 0; i < positional; ++i)
            Copy(params->rgvarg[params->cArgs - 1 - i], i);
        for (UINT k = 0; k < named; ++k) {
            const DISPID position = params->rgdispidNamedArgs[k];
            if (position >= 0 && position < kMostArguments)
                Copy(params->rgvarg[k], static_cast<std::size_t>(position));
        }
    }
    ~EventArguments() {
        for (VARIANT& value : values_)
            VariantClear(&value);
    }
    EventArguments(const EventArguments&) = delete;
    EventArguments& operator=(const EventArguments&) = delete;

    std::span<const VARIANT> View() const noexcept { return values_; }

private:
    void Copy(const VARIANT& source, std::size_t position) {
        check(VariantCopyInd(&values_[position], const_cast<VARIANT*>(&source)));
    }

    std::vector<VARIANT> values_;
};

// An event argument as an IDispatch reference; a missing or empty argument is null.
ComPtr<IDispatch> DispatchArgument(std::span<const VARIANT> arguments, std::size_t position) {
    ComPtr<IDispatch> object;
    if (position >= arguments.size())
        return object;
    const VARIANT& value = arguments[position];
    switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
        return object;
    case VT_DISPATCH:
        object = V_DISPATCH(&value);
        return object;
    case VT_UNKNOWN:
        if (V_UNKNOWN(&value))
            check(V_UNKNOWN(&value)->QueryInterface(IID_PPV_ARGS(&object)));
        return object;
    default: {
        Variant converted;
        check(VariantChangeType(converted.Get(), const_cast<VARIANT*>(&value), 0, VT_DISPATCH));
        object = V_DISPATCH(converted.Get());
        return object;
    }
    }
}

// The class an event argument names; an argument that is no class is an error of the event.
std::wstring ClassName(IDispatch* object) {
    if (!object)
        throw LibraryError(E_NOINTERFACE, L"Событие связи без класса");
    ComPtr<IZClass> cls;
    check(object->QueryInterface(IID_PPV_ARGS(&cls)));
    return NameOf(cls.Get());
}

} // namespace

// The sink advised on the class vector's connection point: a dispatch object for the link
// events' dispinterface. It forwards each call to its wrapper until the wrapper detaches it;
// the connection point may hold it a little longer.
class LinkEventSink final : public IDispatch {
public:
    explicit LinkEventSink(TZClassVector* source) : source_(source) {}
    LinkEventSink(const LinkEventSink&) = delete;
    LinkEventSink& operator=(const LinkEventSink&) = delete;

    void Detach() noexcept { source_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_IZClassVectorEvents)
            return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // Names and type information come from the kernel's own type library.
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
        const HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        return typeInfo_.CopyTo(info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        const HRESULT hr = LoadTypeInfo();
        return FAILED(hr) ? hr : DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
    }

    // Hands the event to the wrapper with its arguments in declaration order. A handler that
    // fails raises its error inside the event call, as an exception of this dispatch call.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (result)
            VariantInit(result);
        return DispatchBarrier(exception, L"korvalith", [&] {
            const EventArguments arguments(params);
            if (source_)
                source_->Dispatch(id, arguments.View());
            return S_OK;
        });
    }

private:
    ~LinkEventSink() = default;

    HRESULT LoadTypeInfo() {
        if (typeInfo_)
            return S_OK;
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadRegTypeLib(LIBID_zkernel, 1, 0, LOCALE_NEUTRAL, &library);
        if (SUCCEEDED(hr))
            hr = library->GetTypeInfoOfGuid(DIID_IZClassVectorEvents, &typeInfo_);
        return hr;
    }

    LONG references_ = 1;
    TZClassVector* source_;
    ComPtr<ITypeInfo> typeInfo_;
    ModuleReference module_;
};

TZClassVector::TZClassVector() = default;

TZClassVector::~TZClassVector() {
    Disconnect();
}

void TZClassVector::Connect(IZClassVector* classVector) {
    Disconnect();
    classVector_ = classVector;
    if (!classVector)
        return;
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(classVector->QueryInterface(IID_PPV_ARGS(&container))) || !container)
        return;
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(DIID_IZClassVectorEvents, &point)) || !point)
        return;
    // The new sink's own reference is adopted as it is (mingw's ComPtr::Attach would add one).
    ComPtr<LinkEventSink> sink;
    *sink.ReleaseAndGetAddressOf() = new LinkEventSink(this);
    DWORD cookie = 0;
    const HRESULT hr = point->Advise(sink.Get(), &cookie);
    if (FAILED(hr)) {
        sink->Detach();
        check(hr);
    }
    connectionPoint_ = std::move(point);
    sink_ = std::move(sink);
    cookie_ = cookie;
}

void TZClassVector::Disconnect() noexcept {
    if (sink_) {
        // Detached first: an event raised while leaving reaches nobody.
        sink_->Detach();
        connectionPoint_->Unadvise(cookie_);
    }
    sink_.Reset();
    connectionPoint_.Reset();
    cookie_ = 0;
    classVector_.Reset();
}

void TZClassVector::Dispatch(DISPID id, std::span<const VARIANT> arguments) {
    const TZClassVectorOnLinkAdd* handler = id == kOnLinkAdd      ? &OnLinkAdd
                                            : id == kOnLinkDelete ? &OnLinkDelete
                                                                  : nullptr;
    if (!handler || !*handler)
        return;
    const ComPtr<IDispatch> parent = DispatchArgument(arguments, 0);
    const ComPtr<IDispatch> child = DispatchArgument(arguments, 1);
    (*handler)(*this, parent.Get(), child.Get());
}

TCVecEvts::TCVecEvts(IZModel* model) {
    if (!model)
        throw LibraryError(E_POINTER, L"Нет модели для записи сценария");
    ComPtr<IZClassVector> vector;
    check(model->zrGetClassVector(&vector));
    if (!vector)
        throw LibraryError(E_POINTER, L"Модель не вернула вектор классов");
    classVector_.Connect(vector.Get());
    classVector_.OnLinkAdd = [this](TZClassVector&, IDispatch* parent, IDispatch* child) {
        parentLinks_.Invalidate();
        WriteLink(parent, child, false);
    };
    classVector_.OnLinkDelete = [this](TZClassVector&, IDispatch* parent, IDispatch* child) {
        parentLinks_.Invalidate();
        WriteLink(parent, child, true);
    };
}

void TCVecEvts::Disconnect() noexcept {
    classVector_.Disconnect();
    parentLinks_.Invalidate();
}

ParentLinks* TCVecEvts::ParentLinksOf(IZClassVector* vector) {
    if (!vector || !classVector_.ReceivesEvents())
        return nullptr;
    ComPtr<IUnknown> connected, asked;
    if (FAILED(classVector_.ClassVector()->QueryInterface(IID_PPV_ARGS(&connected))) ||
        FAILED(vector->QueryInterface(IID_PPV_ARGS(&asked))) || connected != asked)
        return nullptr;
    return &parentLinks_;
}

ParentLinks* RecordingParentLinks(IZClassVector* vector) {
    auto* const receiver = dynamic_cast<TCVecEvts*>(LinkEventReceiver.get());
    return receiver ? receiver->ParentLinksOf(vector) : nullptr;
}

void TCVecEvts::WriteLink(IDispatch* parent, IDispatch* child, bool remove) {
    if (!RecordingActive)
        return;
    AsWholeFragment([&] {
        const std::wstring parentName = ClassName(parent);
        const std::wstring childName = ClassName(child);
        WriteLinkFragment(parentName, childName, remove);
    });
}

} // namespace kv
