#include "com/connection_enumerators.h"

namespace zk::com {

namespace {

// The element kinds: how each is copied out (with a reference) and released.
struct PointElement {
    using Type = IConnectionPoint*;
    static Type Copy(Type point) {
        point->AddRef();
        return point;
    }
    static void Free(Type point) { point->Release(); }
};

struct ConnectionElement {
    using Type = CONNECTDATA;
    static Type Copy(const Type& data) {
        data.pUnk->AddRef();
        return data;
    }
    static void Free(const Type& data) { data.pUnk->Release(); }
};

template <class Enum, class Element> class Enumerator final : public ComObjectBase, public Enum {
public:
    using Type = typename Element::Type;

    Enumerator(const std::vector<Type>& items, std::size_t position) : position_(position) {
        for (const Type& item : items)
            items_.push_back(Element::Copy(item));
    }
    ~Enumerator() override {
        for (const Type& item : items_)
            Element::Free(item);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Enum)) {
            *out = static_cast<Enum*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ZK_REFERENCE_COUNTING

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Type* elements, ULONG* fetched) override {
        if (fetched)
            *fetched = 0;
        if (!elements || (count > 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && position_ < items_.size(); ++done)
            elements[done] = Element::Copy(items_[position_++]);
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        std::size_t left = items_.size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Enum** copy) override {
        return Barrier(__uuidof(Enum), [&] {
            *Out(copy, nullptr) = MakeObject<Enumerator>(items_, position_).Detach();
        });
    }

private:
    std::vector<Type> items_;
    std::size_t position_;
};

} // namespace

ComPtr<IEnumConnectionPoints> EnumerateConnectionPoints(IConnectionPoint* point) {
    return MakeObject<Enumerator<IEnumConnectionPoints, PointElement>>(
        std::vector<IConnectionPoint*>{point}, 0);
}

ComPtr<IEnumConnections> EnumerateConnections(const std::vector<CONNECTDATA>& connections) {
    return MakeObject<Enumerator<IEnumConnections, ConnectionElement>>(connections, 0);
}

} // namespace zk::com
