// zkernel.dll keeps structures: registration, files and the server store, exact round trips,
// malformed files, and the event-group store.
#include "com_test_support.h"
#include "kernel_registration.h"
#include "core/structure_file.h"
#include "structure_description.h"
#include "structure_samples.h"

#include <memory>
#include <vector>

namespace zk::testing {
namespace {

class KernelStorage : public ComTest {};

TEST_F(KernelStorage, RegistrationNamesTheDll) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"zkernel.ZModel", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_ZModel);

    auto value = [](const wchar_t* key, const wchar_t* name) {
        wchar_t data[1024] = {};
        DWORD size = sizeof data;
        LONG status =
            RegGetValueW(HKEY_CLASSES_ROOT, key, name, RRF_RT_REG_SZ, nullptr, data, &size);
        return status == ERROR_SUCCESS ? std::wstring(data) : L"(missing)";
    };
    std::wstring dll = KernelDllPath();
    EXPECT_EQ(CompareStringOrdinal(value(kv::KernelTypeLibraryKey, nullptr).c_str(), -1,
                                   dll.c_str(), -1, TRUE),
              CSTR_EQUAL);
    const wchar_t* server = L"CLSID\\{91D7EEAA-4F13-439E-AAB1-BE7214567225}\\InprocServer32";
    EXPECT_EQ(CompareStringOrdinal(value(server, nullptr).c_str(), -1, dll.c_str(), -1, TRUE),
              CSTR_EQUAL);
    EXPECT_EQ(value(server, L"ThreadingModel"), L"Apartment");
}

TEST_F(KernelStorage, StoreAndLoadKeepEverything) {
    Structure original = RichStructure();
    TempFile source(L"rich.ztp"), stored(L"stored.ztp");
    WriteBytes(source.path(), WriteStructureFile(original));

    ComPtr<IZModel> model = NewModel();
    ASSERT_EQ(model->zrLoadModel(Bstr(source.path()), nullptr, 2), S_OK) << ErrorText();
    Bstr name;
    ASSERT_EQ(model->get_zrModelName(name.put()), S_OK);
    EXPECT_EQ(name.str(), source.path().substr(source.path().find_last_of(L'\\') + 1));

    // Values come back as the kinds they were stored with.
    ComPtr<IZClass> item;
    ASSERT_EQ(ClassVector(model.Get())->zrLocate(Bstr(L"Item"), &item), S_OK);
    ComPtr<IZClassValue> mass;
    ASSERT_EQ(item->zrnClassValueItem(Bstr(L"mass"), &mass), S_OK);
    ComPtr<IZProperties> props;
    ASSERT_EQ(mass->get_zrProperties(&props), S_OK);
    const std::pair<const wchar_t*, VARTYPE> kinds[] = {
        {L"ui8", VT_UI8},     {L"currency", VT_CY}, {L"date", VT_DATE}, {L"null", VT_NULL},
        {L"empty", VT_EMPTY}, {L"r4", VT_R4},       {L"bool", VT_BOOL}, {L"missing", VT_EMPTY}};
    for (const auto& [property, kind] : kinds) {
        VARIANT value;
        ASSERT_EQ(props->zrPropValue(Bstr(property), &value), S_OK);
        EXPECT_EQ(V_VT(&value), kind) << Utf8FromWide(property);
        VariantClear(&value);
    }

    ASSERT_EQ(model->zrSaveModel(Bstr(stored.path()), nullptr), S_OK) << ErrorText();
    Structure reread = ReadStructureFile(ReadBytes(stored.path()));
    original.SetName(Utf8FromWide(stored.path().substr(stored.path().find_last_of(L'\\') + 1)));
    EXPECT_EQ(Describe(reread), Describe(original));
}

TEST_F(KernelStorage, MalformedFileFailsAndKeepsTheModel) {
    const std::pair<const char*, std::string> files[] = {
        {"line 1", WriteStructureFile(RichStructure()).substr(0, 300)},
        {"/version", R"({"format": "zkernel-structure", "version": 7})"},
        {"/classes/0/name", R"({"format": "zkernel-structure", "version": 1,
                                "classes": [{"name": false}]})"},
        {"line 1, column 1", std::string("\0\xff\xfe garbage", 11)},
    };
    ComPtr<IZModel> model = NewModel();
    AddClass(model.Get(), L"Kept");
    for (const auto& [place, text] : files) {
        TempFile file(L"bad.ztp");
        WriteBytes(file.path(), text);
        EXPECT_TRUE(FAILED(model->zrLoadModel(Bstr(file.path()), nullptr, 2))) << place;
        std::string message = Utf8FromWide(ErrorText());
        EXPECT_NE(message.find(place), std::string::npos) << message;
        EXPECT_NE(message.find("bad.ztp"), std::string::npos) << message;
    }
    ComPtr<IZClass> kept;
    ASSERT_EQ(ClassVector(model.Get())->zrLocate(Bstr(L"Kept"), &kept), S_OK);
    EXPECT_TRUE(kept);

    EXPECT_TRUE(FAILED(model->zrLoadModel(Bstr(L"C:\\no\\such\\file.ztp"), nullptr, 2)));
    EXPECT_NE(ErrorText().find(L"file.ztp"), std::wstring::npos);
}

// A server store in the temporary folder, named by the environment of this process.
class ServerStore : public KernelStorage {
protected:
    void SetUp() override {
        KernelStorage::SetUp();
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"zkernel-store-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        SetEnvironmentVariableW(L"ZKERNEL_SERVER_STORE", folder_.c_str());
        Structure structure = RichStructure();
        WriteBytes(Path(), WriteStructureFile(structure));
    }
    void TearDown() override {
        DeleteFileW(Path().c_str());
        RemoveDirectoryW(folder_.c_str());
        SetEnvironmentVariableW(L"ZKERNEL_SERVER_STORE", nullptr);
        KernelStorage::TearDown();
    }
    std::wstring Path() const { return folder_ + L"\\structure.ztp"; }

    std::wstring folder_;
};

TEST_F(ServerStore, LoadsByNameAndStoresBack) {
    ComPtr<IZModel> model = NewModel();
    ASSERT_EQ(model->zrLoadModel(Bstr(L"structure.ztp"), nullptr, 36), S_OK) << ErrorText();
    Bstr name;
    ASSERT_EQ(model->get_zrModelName(name.put()), S_OK);
    EXPECT_EQ(name.str(), L"structure.ztp");
    AddClass(model.Get(), L"Added on the server");
    VARIANT_BOOL modified = VARIANT_FALSE;
    ASSERT_EQ(model->get_zrModified(&modified), S_OK);
    EXPECT_EQ(modified, VARIANT_TRUE);
    ASSERT_EQ(model->zrSaveModel(Bstr(L""), nullptr), S_OK) << ErrorText();
    ASSERT_EQ(model->get_zrModified(&modified), S_OK);
    EXPECT_EQ(modified, VARIANT_FALSE);
    Structure stored = ReadStructureFile(ReadBytes(Path()));
    EXPECT_TRUE(stored.FindClass("Added on the server"));

    EXPECT_TRUE(FAILED(model->zrLoadModel(Bstr(L"..\\escape.ztp"), nullptr, 4)));
    EXPECT_TRUE(FAILED(NewModel()->zrSaveModel(Bstr(L""), nullptr))); // never loaded
}

TEST_F(ServerStore, EventGroupsAreSavedIntoTheStoredStructure) {
    ComPtr<IZModel> model = NewModel();
    ASSERT_EQ(model->zrLoadModel(Bstr(L"structure.ztp"), nullptr, 4), S_OK) << ErrorText();
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(model->zrGetEventGroups(&unknown), S_OK);
    ComPtr<IZEventGroups> store;
    ASSERT_EQ(unknown.As(&store), S_OK);
    ASSERT_EQ(store->zrRefresh(), S_OK) << ErrorText();
    ComPtr<IZEventGroup> missing;
    ASSERT_EQ(store->zrLocateEventGroup(Bstr(L"Missing.xml"), &missing), S_OK);
    EXPECT_FALSE(missing);
    ComPtr<IZEventGroup> group;
    ASSERT_EQ(store->zrLocateEventGroup(Bstr(L"UserGroup.xml"), &group), S_OK);
    ASSERT_TRUE(group);

    // Rows of (owner, attribute) texts: the model's handlers, a class's, an attribute's.
    VARIANT owners;
    ASSERT_EQ(group->get_zrHandlerOwners(&owners), S_OK);
    ASSERT_EQ(V_VT(&owners), VT_ARRAY | VT_VARIANT);
    ASSERT_EQ(SafeArrayGetDim(V_ARRAY(&owners)), 2u);
    LONG rows = -1, columns = -1;
    SafeArrayGetUBound(V_ARRAY(&owners), 1, &rows);
    SafeArrayGetUBound(V_ARRAY(&owners), 2, &columns);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(columns, 1);
    auto cell = [&](LONG row, LONG column) {
        LONG index[2] = {row, column};
        VARIANT value;
        VariantInit(&value);
        SafeArrayGetElement(V_ARRAY(&owners), index, &value);
        std::wstring text = V_VT(&value) == VT_BSTR ? V_BSTR(&value) : L"(not text)";
        VariantClear(&value);
        return text;
    };
    ComPtr<IZClass> item;
    ASSERT_EQ(ClassVector(model.Get())->zrLocate(Bstr(L"Item"), &item), S_OK);
    GUID item_guid;
    ASSERT_EQ(item->get_zrGUID(&item_guid), S_OK);
    wchar_t item_text[40];
    StringFromGUID2(item_guid, item_text, 40);
    EXPECT_EQ(cell(0, 0), L"");
    EXPECT_EQ(cell(0, 1), L"");
    EXPECT_EQ(cell(1, 0), item_text);
    EXPECT_EQ(cell(1, 1), L"");
    EXPECT_EQ(cell(2, 0), item_text);
    EXPECT_EQ(cell(2, 1).size(), 38u);
    VariantClear(&owners);

    // The model is stored first; the group is written into the stored file afterwards.
    ASSERT_EQ(model->zrSaveModel(Bstr(L""), nullptr), S_OK);
    Bstr code;
    ASSERT_EQ(group->get_zrHandlerCode(GUID_NULL, GUID_NULL, 0, code.put()), S_OK);
    EXPECT_EQ(code.str(), L"' model\r\nx = 1");
    ASSERT_EQ(group->put_zrHandlerCode(GUID_NULL, GUID_NULL, 0, Bstr(L"' commented\r\n")), S_OK);
    ASSERT_EQ(group->put_zrHandlerCode(item_guid, GUID_NULL, 21, Bstr(L"new")), S_OK);
    ASSERT_EQ(group->zrSave(), S_OK) << ErrorText();

    auto groups = ReadEventGroups(ReadBytes(Path()));
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0].handlers.size(), 4u);
    EXPECT_EQ(groups[0].handlers[0].code, "' commented\r\n");
    EXPECT_EQ(groups[0].handlers[3].code, "new");
    EXPECT_EQ(GuidText(groups[0].handlers[3].owner), Utf8FromWide(item_text));
    EXPECT_EQ(groups[1].name, "Empty.xml");
    EXPECT_EQ(ReadStructureFile(ReadBytes(Path())).ClassCount(), 3u);

    // Storing the model again keeps the saved group.
    ASSERT_EQ(model->zrSaveModel(Bstr(L""), nullptr), S_OK);
    EXPECT_EQ(ReadEventGroups(ReadBytes(Path()))[0].handlers[0].code, "' commented\r\n");
    ASSERT_EQ(store->zrRefresh(), S_OK);
}

// The handler owners' cells as texts, row by row, each read as the array declares its cells;
// "(not text)" for a cell that holds anything else.
std::vector<std::wstring> OwnerCells(const VARIANT& owners) {
    std::vector<std::wstring> cells;
    SAFEARRAY* array = V_ARRAY(&owners);
    LONG rows = -1;
    SafeArrayGetUBound(array, 1, &rows);
    for (LONG row = 0; row <= rows; ++row)
        for (LONG column = 0; column < 2; ++column) {
            LONG index[2] = {row, column};
            if (V_VT(&owners) == (VT_ARRAY | VT_BSTR)) {
                Bstr text;
                SafeArrayGetElement(array, index, text.put());
                cells.push_back(text.str());
                continue;
            }
            VARIANT value;
            VariantInit(&value);
            SafeArrayGetElement(array, index, &value);
            cells.push_back(V_VT(&value) == VT_BSTR ? V_BSTR(&value) : L"(not text)");
            VariantClear(&value);
        }
    return cells;
}

// Switched, every model answers the same rows as a 2-D array of texts; switched back, as one of
// variants holding texts.
TEST_F(ServerStore, HandlerOwnersAreTextsWhenSwitched) {
    ComPtr<IZModel> model = NewModel();
    ASSERT_EQ(model->zrLoadModel(Bstr(L"structure.ztp"), nullptr, 4), S_OK) << ErrorText();
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(model->zrGetEventGroups(&unknown), S_OK);
    ComPtr<IZEventGroups> store;
    ASSERT_EQ(unknown.As(&store), S_OK);
    ComPtr<IZEventGroup> group;
    ASSERT_EQ(store->zrLocateEventGroup(Bstr(L"UserGroup.xml"), &group), S_OK);
    ASSERT_TRUE(group);

    VARIANT variants, texts;
    ASSERT_EQ(group->get_zrHandlerOwners(&variants), S_OK);
    {
        KernelSwitch switched(&IZModelAdmin::zrSetHandlerOwnersAsTexts);
        ASSERT_EQ(group->get_zrHandlerOwners(&texts), S_OK);
    }
    ASSERT_EQ(V_VT(&texts), VT_ARRAY | VT_BSTR);
    EXPECT_EQ(SafeArrayGetDim(V_ARRAY(&texts)), 2u);
    VARTYPE declared = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(V_ARRAY(&texts), &declared), S_OK);
    EXPECT_EQ(declared, VT_BSTR);
    ASSERT_EQ(V_VT(&variants), VT_ARRAY | VT_VARIANT);
    const std::vector<std::wstring> variant_cells = OwnerCells(variants);
    EXPECT_EQ(variant_cells.size(), 6u);
    EXPECT_EQ(OwnerCells(texts), variant_cells);
    VariantClear(&texts);
    VariantClear(&variants);

    VARIANT again;
    ASSERT_EQ(group->get_zrHandlerOwners(&again), S_OK);
    EXPECT_EQ(V_VT(&again), VT_ARRAY | VT_VARIANT) << "switched back";
    VariantClear(&again);
}

} // namespace
} // namespace zk::testing
