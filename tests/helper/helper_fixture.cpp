#include "helper_fixture.h"

void ScriptHelperTest::SetUp() {
    CoInitialize(nullptr);
    library_.emplace();
    ASSERT_TRUE(library_->Loaded());
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
    library_.reset();
}

ComPtr<IZScriptHelper> ScriptHelperTest::NewHelper() {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(library_->GetClassObject(CLSID_ZScriptHelper, IID_PPV_ARGS(&factory)), S_OK);
    ComPtr<IZScriptHelper> helper;
    if (factory) {
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper)), S_OK);
    }
    return helper;
}
