#include "kernel_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

KernelModel::KernelModel() {
    if (!kvtest::StandInModel::Registered()) {
        ADD_FAILURE() << "zkernel.ZModel cannot be created: is zkernel.dll registered?";
        return;
    }
    model_.emplace();
    EXPECT_EQ(model_->Model().As(&admin_), S_OK);
    EXPECT_EQ(model_->Get()->zrGetLocalSecurity(&security_), S_OK);
}

void KernelModel::AddEventItem(const wchar_t* name, bool allow_changes) {
    BSTR text = SysAllocString(name);
    EXPECT_EQ(admin_->zrAddEventItem(text, allow_changes ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
    SysFreeString(text);
}

bool KernelModel::EventItemAllowsChanges(LONG index) {
    ComPtr<IZEventCollection> events;
    EXPECT_EQ(Model()->zrGetEventCollection(&events), S_OK);
    ComPtr<IZEventItem> item;
    EXPECT_EQ(events->zrItem(index, &item), S_OK);
    VARIANT_BOOL allow = VARIANT_FALSE;
    EXPECT_EQ(item->get_zrAllowChanges(&allow), S_OK);
    return allow != VARIANT_FALSE;
}

void KernelModel::Save(const std::wstring& path) {
    BSTR text = SysAllocString(path.c_str());
    EXPECT_EQ(Model()->zrSaveModel(text, nullptr), S_OK)
        << "saving " << testing::PrintToString(path);
    SysFreeString(text);
}

void KernelModel::Load(const std::wstring& path) {
    BSTR text = SysAllocString(path.c_str());
    EXPECT_EQ(Model()->zrLoadModel(text, nullptr, 2), S_OK)
        << "loading " << testing::PrintToString(path);
    SysFreeString(text);
}

LONG KernelModel::Rights(LONG group, IUnknown* item) {
    LONG words[4] = {};
    ComPtr<IZClassValue> cval;
    ComPtr<IZClass> cls;
    if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cval)))) {
        EXPECT_EQ(cval->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]), S_OK);
    } else if (SUCCEEDED(item->QueryInterface(IID_PPV_ARGS(&cls)))) {
        EXPECT_EQ(cls->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]), S_OK);
    }
    GUID key;
    std::memcpy(&key, words, sizeof(key));
    LONG rights = -1;
    EXPECT_EQ(security_->zrGetRights(group, &key, &rights), S_OK);
    return rights;
}

GUID KernelModel::ClassGuid(IZClass* cls) {
    GUID guid = {};
    EXPECT_EQ(cls->get_zrGUID(&guid), S_OK);
    return guid;
}

GUID KernelModel::AttributeGuid(IZClassValue* cval) {
    GUID guid = {};
    EXPECT_EQ(cval->get_zrGUID(&guid), S_OK);
    return guid;
}

GUID KernelModel::DataType(IZClassValue* cval) {
    GUID guid = {};
    EXPECT_EQ(cval->get_zrDataType(&guid), S_OK);
    return guid;
}

POINT KernelModel::Position(IZClass* cls) {
    ComPtr<IZClassPosition> position;
    EXPECT_EQ(cls->QueryInterface(IID_PPV_ARGS(&position)), S_OK);
    LONG x = 0, y = 0;
    position->GetPosition(&x, &y);
    return {x, y};
}

std::wstring GuidString(const GUID& guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

GUID GuidOf(const wchar_t* text) {
    GUID guid = {};
    EXPECT_EQ(CLSIDFromString(text, &guid), S_OK) << testing::PrintToString(text);
    return guid;
}

std::wstring TestFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"kv_helper_tests";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}
