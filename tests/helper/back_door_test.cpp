// The kernel's back door: found through the kernel's type-library registration, loaded, and
// its two exports called; a missing key, file or export is no error.
#include "kernel_fixture.h"
#include "kernel_key_override.h"

#include "platform/barriers.h"
#include "helper/abuse_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

using namespace kv;

namespace {

const GUID new_guid = {
    0x0A1B2C3D, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

std::wstring BinFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().wstring();
}

class BackDoor : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_TRUE(key_.Saved()) << "the kernel's type library is not registered";
        kernel_ = std::make_unique<KernelModel>();
        ASSERT_TRUE(kernel_->Created());
        cls_ = kernel_->AddClass(L"Part");
        cval_ = kernel_->AddAttribute(cls_.Get(), L"Mass");
    }
    void TearDown() override {
        cls_.Reset();
        cval_.Reset();
        kernel_.reset();
        CoUninitialize();
    }

    KernelKeyOverride key_;
    std::unique_ptr<KernelModel> kernel_;
    ComPtr<IZClass> cls_;
    ComPtr<IZClassValue> cval_;
};

TEST_F(BackDoor, SetsIdentifiersThroughTheRegisteredKernel) {
    TAbuseModel abuse;
    ASSERT_TRUE(abuse.LibraryLoaded());
    EXPECT_TRUE(abuse.SetClassGUID(cls_.Get(), new_guid));
    EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls_.Get())), GuidString(new_guid));
    EXPECT_TRUE(abuse.SetClassValueGUID(cval_.Get(), new_guid));
    EXPECT_EQ(GuidString(KernelModel::AttributeGuid(cval_.Get())), GuidString(new_guid));
}

TEST_F(BackDoor, HoldsNoReferenceAfterTheCall) {
    TAbuseModel abuse;
    const ULONG before = RefCount(cls_.Get());
    abuse.SetClassGUID(cls_.Get(), new_guid);
    EXPECT_EQ(RefCount(cls_.Get()), before);
}

TEST_F(BackDoor, WithoutKernelRegistrationNothingIsLoadedAndSettersAnswerFalse) {
    const GUID before = KernelModel::ClassGuid(cls_.Get());
    const struct {
        const char* name;
        std::function<void(KernelKeyOverride&)> change;
    } cases[] = {
        {"key absent", [](KernelKeyOverride& key) { key.RemoveKey(); }},
        {"file missing", [](KernelKeyOverride& key) { key.NameFile(L"C:\\nowhere\\zkernel.dll"); }},
        {"empty value", [](KernelKeyOverride& key) { key.NameFile(L""); }},
    };
    for (const auto& c : cases) {
        c.change(key_);
        TAbuseModel abuse;
        EXPECT_FALSE(abuse.LibraryLoaded()) << c.name;
        EXPECT_FALSE(abuse.SetClassGUID(cls_.Get(), new_guid)) << c.name;
        EXPECT_FALSE(abuse.SetClassValueGUID(cval_.Get(), new_guid)) << c.name;
        EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls_.Get())), GuidString(before)) << c.name;
    }
}

// A value that cannot be read as text is an error of the helper's construction, not a silently
// missing back door.
TEST_F(BackDoor, UnreadableRegistrationValueIsRaised) {
    key_.SetNumber(7);
    EXPECT_THROW(TAbuseModel(), LibraryError);
}

TEST_F(BackDoor, LibraryWithOneSetterServesOnlyThatOne) {
    key_.NameFile(BinFolder() + L"\\one_setter_kernel.dll");
    {
        TAbuseModel abuse;
        ASSERT_TRUE(abuse.LibraryLoaded());
        HMODULE fake = GetModuleHandleW(L"one_setter_kernel.dll");
        ASSERT_NE(fake, nullptr);
        using LastCall = void(__stdcall*)(GUID*, void**, ULONG*);
        const auto last_call = reinterpret_cast<LastCall>(
            reinterpret_cast<void*>(GetProcAddress(fake, "LastClassGuidCall")));

        const ULONG references = RefCount(cls_.Get());
        EXPECT_TRUE(abuse.SetClassGUID(cls_.Get(), new_guid));
        GUID given;
        void* object;
        ULONG references_during_call;
        last_call(&given, &object, &references_during_call);
        EXPECT_EQ(GuidString(given), GuidString(new_guid));
        EXPECT_EQ(object, static_cast<void*>(cls_.Get()));
        EXPECT_EQ(references_during_call, references + 1) << "no extra reference for the call";

        EXPECT_FALSE(abuse.SetClassValueGUID(cval_.Get(), new_guid));
    }
    EXPECT_EQ(GetModuleHandleW(L"one_setter_kernel.dll"), nullptr)
        << "the back door did not unload its library";
}

} // namespace
