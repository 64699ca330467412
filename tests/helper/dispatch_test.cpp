// ZScriptHelper's type library and late-bound calls: what scripts see.
#include "helper_fixture.h"

#include <string>

namespace {

const wchar_t* const method_names[] = {
    L"zsSetCValDataType",
    L"zsClearRights",
    L"zsGiveRights",
    L"zsPropName",
    L"zsSetCoors",
    L"zsSetClassGUID",
    L"zsSetClassValueGUID",
    L"zsCopyObjGUID",
    L"zsImportAppendedToSvr",
    L"zsCopyModelRights",
    L"zsAllowChangesByEvents",
    L"zsRemoveRights",
    L"zsClassValueGUIDasStr",
};

class HelperDispatch : public ScriptHelperTest {
protected:
    ComPtr<IDispatch> Dispatch() {
        ComPtr<IDispatch> dispatch;
        EXPECT_EQ(helper_.As(&dispatch), S_OK);
        return dispatch;
    }

    // The interface's own type description (the vtable layout), behind the dispatch one.
    ComPtr<ITypeInfo> InterfaceInfo() {
        ComPtr<ITypeInfo> dispatch_info, interface_info;
        EXPECT_EQ(Dispatch()->GetTypeInfo(0, 0, &dispatch_info), S_OK);
        HREFTYPE reference = 0;
        EXPECT_EQ(dispatch_info->GetRefTypeOfImplType(-1, &reference), S_OK);
        EXPECT_EQ(dispatch_info->GetRefTypeInfo(reference, &interface_info), S_OK);
        return interface_info;
    }

    std::wstring HelpString(ITypeInfo* info, MEMBERID member) {
        Text help;
        EXPECT_EQ(info->GetDocumentation(member, nullptr, help.Out(), nullptr, nullptr), S_OK);
        return help.Str();
    }
};

TEST_F(HelperDispatch, MethodsAreInDispatchIdentifierOrder) {
    ComPtr<IDispatch> dispatch = Dispatch();
    ComPtr<ITypeInfo> info = InterfaceInfo();
    for (int index = 0; index < 13; ++index) {
        LPOLESTR name = const_cast<LPOLESTR>(method_names[index]);
        DISPID id = 0;
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0x409, &id), S_OK);
        EXPECT_EQ(id, index + 1) << testing::PrintToString(method_names[index]);

        FUNCDESC* function = nullptr;
        ASSERT_EQ(info->GetFuncDesc(static_cast<UINT>(index), &function), S_OK);
        EXPECT_EQ(function->memid, index + 1);
        EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + index) * sizeof(void*)))
            << "slot of " << testing::PrintToString(method_names[index]);
        info->ReleaseFuncDesc(function);
    }
}

TEST_F(HelperDispatch, TypeLibraryIdentityAndRussianHelpStrings) {
    ComPtr<ITypeInfo> info = InterfaceInfo();
    ComPtr<ITypeLib> library;
    UINT index = 0;
    ASSERT_EQ(info->GetContainingTypeLib(&library, &index), S_OK);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(GuidString(attributes->guid), L"{2C74D468-204F-46C7-BD49-DFF5391C316C}");
    EXPECT_EQ(attributes->lcid, 0x409u);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    library->ReleaseTLibAttr(attributes);

    Text library_help;
    library->GetDocumentation(-1, nullptr, library_help.Out(), nullptr, nullptr);
    EXPECT_EQ(library_help.Str(), L"korvalith Library");
    EXPECT_EQ(HelpString(info.Get(), MEMBERID_NIL), L"Dispatch interface for ZScriptHelper Object");
    EXPECT_EQ(HelpString(info.Get(), 1), L"Установить тип данных ClassValue");
    EXPECT_EQ(HelpString(info.Get(), 5), L"задать координаты блока класса на схеме");
    EXPECT_EQ(HelpString(info.Get(), 9),
              L"Внести разницу между структурами в структуру на сервере");
    EXPECT_EQ(HelpString(info.Get(), 13), L"");

    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_ZScriptHelper, &coclass), S_OK);
    EXPECT_EQ(HelpString(coclass.Get(), MEMBERID_NIL), L"ZScriptHelper Object");
}

TEST_F(HelperDispatch, LateBoundCallReachesTheMethod) {
    ComPtr<IZClass> cls = kernel_->AddClass(L"Part");
    ComPtr<IZClassValue> cval = kernel_->AddAttribute(cls.Get(), L"Mass");
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_DISPATCH;
    V_DISPATCH(&argument) = cval.Get();
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(Dispatch()->Invoke(13, IID_NULL, 0x409, DISPATCH_METHOD, &params, &result, nullptr,
                                 nullptr),
              S_OK);
    ASSERT_EQ(V_VT(&result), VT_BSTR);
    EXPECT_EQ(std::wstring(V_BSTR(&result)), GuidString(KernelModel::AttributeGuid(cval.Get())));
    VariantClear(&result);
}

TEST_F(HelperDispatch, LateBoundErrorCarriesTheMessage) {
    VARIANT arguments[2];
    for (VARIANT& argument : arguments) {
        VariantInit(&argument);
        V_VT(&argument) = VT_BSTR;
        V_BSTR(&argument) = SysAllocString(L"designers");
    }
    DISPPARAMS params = {arguments, nullptr, 2, 0};
    EXCEPINFO exception = {};
    EXPECT_EQ(Dispatch()->Invoke(10, IID_NULL, 0x409, DISPATCH_METHOD, &params, nullptr, &exception,
                                 nullptr),
              DISP_E_EXCEPTION);
    // The same group as source and destination is refused.
    EXPECT_EQ(exception.scode, E_INVALIDARG);
    ASSERT_NE(exception.bstrDescription, nullptr);
    EXPECT_EQ(std::wstring(exception.bstrDescription),
              L"Группа-источник и группа-приемник совпадают");
    ASSERT_NE(exception.bstrSource, nullptr);
    EXPECT_EQ(std::wstring(exception.bstrSource), L"TZScriptHelper.zsCopyModelRights");
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    for (VARIANT& argument : arguments)
        VariantClear(&argument);
}

} // namespace
