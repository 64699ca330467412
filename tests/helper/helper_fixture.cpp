#include "helper_fixture.h"

void ScriptHelperTest::SetUp() {
    CoInitialize(nullptr);
    library_ = LoadLibraryW(L"korvalith.dll");
    ASSERT_NE(library_, nullptr);
    kernel_ = std::make_unique<KernelModel>();
    ASSERT_TRUE(kernel_->Created());
    helper_ = NewHelper();
    ASSERT_TRUE(helper_);
}

void ScriptHelperTest::TearDown() {
    helper_.Reset();
    kernel_.reset();
    CoFreeUnusedLibraries();
    CoUninitialize();
    if (library_)
        FreeLibrary(library_);
}

ComPtr<IZScriptHelper> ScriptHelperTest::NewHelper() {
    using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    const auto get_class_object = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(library_, "DllGetClassObject")));
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(get_class_object(CLSID_ZScriptHelper, IID_PPV_ARGS(&factory)), S_OK);
    ComPtr<IZScriptHelper> helper;
    if (factory) {
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper)), S_OK);
    }
    return helper;
}
