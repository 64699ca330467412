// Link events through the class vector's connection point, and the back door exports.
#include "com_test_support.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace zk::testing {
namespace {

// A sink of IZClassVectorEvents that notes "Add Parent->Child" / "Delete Parent->Child".
class LinkSink final : public IDispatch {
public:
    std::vector<std::wstring> events;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_IZClassVectorEvents) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        // Arguments arrive last first: rgvarg[0] is clsChild, rgvarg[1] clsParent.
        if (params->cArgs != 2)
            return DISP_E_BADPARAMCOUNT;
        std::wstring names[2];
        for (int i = 0; i < 2; ++i) {
            ComPtr<IZClass> cls;
            if (V_VT(&params->rgvarg[i]) == VT_DISPATCH && V_DISPATCH(&params->rgvarg[i]))
                V_DISPATCH(&params->rgvarg[i])
                    ->QueryInterface(__uuidof(IZClass),
                                     reinterpret_cast<void**>(cls.GetAddressOf()));
            names[i] = cls ? NameOf(cls.Get()) : L"?";
        }
        events.push_back((id == 1   ? L"Add "
                          : id == 2 ? L"Delete "
                                    : L"Other ") +
                         names[1] + L"->" + names[0]);
        return S_OK;
    }

private:
    ULONG refs_ = 1;
};

class KernelEvents : public ComTest {};

TEST_F(KernelEvents, AdvisedSinkHearsLinkChanges) {
    ComPtr<IZModel> model = NewModel();
    ComPtr<IZClass> parent = AddClass(model.Get(), L"Parent");
    AddClass(model.Get(), L"Child");
    LinkSink sink;
    DWORD cookie = 0;
    {
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(ClassVector(model.Get()).As(&container), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(DIID_IZClassVectorEvents, &point), S_OK);
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    } // the connection outlives the references to the vector

    EXPECT_EQ(parent->zrAddChildClass(Bstr(L"Child")), S_OK);
    EXPECT_EQ(parent->zrAddChildClass(Bstr(L"Child")), S_OK); // exists: no event
    EXPECT_EQ(parent->zrAddChildClass(Bstr(L"Parent")), S_OK);
    EXPECT_TRUE(FAILED(parent->zrAddChildClass(Bstr(L"Nobody"))));
    EXPECT_EQ(parent->zrRemoveChildClass(Bstr(L"Child")), S_OK);
    EXPECT_EQ(parent->zrRemoveChildClass(Bstr(L"Child")), S_OK);          // gone: no event
    EXPECT_EQ(ClassVector(model.Get())->zrRemove(Bstr(L"Parent")), S_OK); // links go silently
    EXPECT_EQ(sink.events, (std::vector<std::wstring>{L"Add Parent->Child", L"Add Parent->Parent",
                                                      L"Delete Parent->Child"}));

    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(ClassVector(model.Get()).As(&container), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID_IZClassVectorEvents, &point), S_OK);
    auto connections = [&] {
        ComPtr<IEnumConnections> list;
        EXPECT_EQ(point->EnumConnections(&list), S_OK);
        std::vector<DWORD> cookies;
        CONNECTDATA data;
        while (list && list->Next(1, &data, nullptr) == S_OK) {
            cookies.push_back(data.dwCookie);
            data.pUnk->Release();
        }
        return cookies;
    };
    EXPECT_EQ(connections(), std::vector<DWORD>{cookie});
    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    EXPECT_TRUE(connections().empty());
    ComPtr<IZClass> again = AddClass(model.Get(), L"Again");
    EXPECT_EQ(again->zrAddChildClass(Bstr(L"Child")), S_OK);
    EXPECT_EQ(sink.events.size(), 3u);
}

using SetGuid = BOOLEAN(WINAPI*)(IUnknown*, const GUID*);

TEST_F(KernelEvents, BackDoorSetsIdentifiersOfItsOwnObjectsOnly) {
    ComPtr<IZModel> model = NewModel();
    ComPtr<IZClass> cls = AddClass(model.Get(), L"Class");
    ComPtr<IZClassValue> cval = AddAttribute(cls.Get(), L"attribute");
    HMODULE kernel = GetModuleHandleW(L"zkernel.dll");
    auto set_class = reinterpret_cast<SetGuid>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "zrAbuseSetClassGUID")));
    auto set_value = reinterpret_cast<SetGuid>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "zrAbuseSetClassValueGUID")));
    ASSERT_TRUE(set_class && set_value);

    const GUID wanted = {
        0x0A1B2C3D, 0x4E5F, 0x6071, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};
    EXPECT_EQ(set_class(cls.Get(), &wanted), 1);
    GUID got{};
    ASSERT_EQ(cls->get_zrGUID(&got), S_OK);
    EXPECT_EQ(got, wanted);
    ComPtr<IZClass> found;
    ASSERT_EQ(ClassVector(model.Get())->zrLocateByGUID(const_cast<GUID*>(&wanted), &found), S_OK);
    EXPECT_EQ(found.Get(), cls.Get());

    EXPECT_EQ(set_value(cval.Get(), &wanted), 1);
    ASSERT_EQ(cval->get_zrGUID(&got), S_OK);
    EXPECT_EQ(got, wanted);

    // Foreign objects, the wrong kind of kernel object and null are refused.
    LinkSink foreign;
    EXPECT_EQ(set_class(&foreign, &wanted), 0);
    EXPECT_EQ(set_value(&foreign, &wanted), 0);
    EXPECT_EQ(set_class(cval.Get(), &wanted), 0);
    EXPECT_EQ(set_value(cls.Get(), &wanted), 0);
    EXPECT_EQ(set_class(nullptr, &wanted), 0);
    EXPECT_EQ(set_class(cls.Get(), nullptr), 0);
}

} // namespace
} // namespace zk::testing
