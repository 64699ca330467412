// The in-process server's class object and unloading contract, through the library's own
// entry points (no registration needed).
#include "support/korvalith_library.h"
#include "support/reference_count.h"

#include <korvalith.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

using kvtest::DllCanUnloadNowFunction;
using kvtest::DllGetClassObjectFunction;
using kvtest::KorvalithLibrary;

class ComServer : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        get_class_object_ = library_.ByName<DllGetClassObjectFunction>("DllGetClassObject");
        can_unload_now_ = library_.ByName<DllCanUnloadNowFunction>("DllCanUnloadNow");
        ASSERT_TRUE(get_class_object_ && can_unload_now_);
    }
    void TearDown() override { CoUninitialize(); }

    ComPtr<IClassFactory> Factory() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(get_class_object_(CLSID_ZScriptHelper, IID_PPV_ARGS(&factory)), S_OK);
        return factory;
    }

    KorvalithLibrary library_;
    DllGetClassObjectFunction get_class_object_ = nullptr;
    DllCanUnloadNowFunction can_unload_now_ = nullptr;
};

TEST_F(ComServer, OtherClassesAreNotAvailable) {
    const CLSID other = {
        0x91D7EEAA, 0x4F13, 0x439E, {0xAB, 0xB1, 0xBE, 0x72, 0x14, 0x56, 0x72, 0x25}};
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(get_class_object_(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComServer, FactoryAnswersOnlyForItsInterfaces) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(get_class_object_(CLSID_ZScriptHelper, IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(get_class_object_(CLSID_ZScriptHelper, IID_PPV_ARGS(&unknown)), S_OK);
    EXPECT_REF(unknown.Get(), 1);
}

TEST_F(ComServer, FactoryMakesANewHelperEveryTime) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    ComPtr<IZScriptHelper> first, second;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&first)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&second)), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_REF(first.Get(), 1);
}

TEST_F(ComServer, HelperAnswersForItsInterfacesAsOneObject) {
    ComPtr<IClassFactory> factory = Factory();
    ComPtr<IZScriptHelper> helper;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper)), S_OK);
    ComPtr<IDispatch> dispatch;
    ComPtr<ISupportErrorInfo> error_info;
    ComPtr<IUnknown> unknown_one, unknown_two;
    ASSERT_EQ(helper.As(&dispatch), S_OK);
    ASSERT_EQ(helper.As(&error_info), S_OK);
    ASSERT_EQ(error_info.As(&unknown_one), S_OK);
    ASSERT_EQ(dispatch.As(&unknown_two), S_OK);
    EXPECT_EQ(unknown_one.Get(), unknown_two.Get()) << "IUnknown identity differs";
    EXPECT_REF(helper.Get(), 5);
    ComPtr<IClassFactory> not_there;
    EXPECT_EQ(helper.As(&not_there), E_NOINTERFACE);
    EXPECT_EQ(error_info->InterfaceSupportsErrorInfo(IID_IZScriptHelper), S_OK);
    EXPECT_EQ(error_info->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(ComServer, AggregationIsRefused) {
    ComPtr<IClassFactory> factory = Factory();
    ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_PPV_ARGS(&object)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComServer, CanUnloadOnlyWhenNoObjectOrLockLives) {
    EXPECT_EQ(can_unload_now_(), S_OK);
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "with a factory alive";

    ComPtr<IUnknown> helper;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&helper)), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "with a helper and a lock";

    helper.Reset();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "with a lock";

    ComPtr<IClassFactory> again = Factory();
    again->LockServer(FALSE);
    again.Reset();
    EXPECT_EQ(can_unload_now_(), S_OK);
}

} // namespace
