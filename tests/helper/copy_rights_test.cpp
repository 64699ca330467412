// zsCopyModelRights over the structures of the server store, listed by the synchronisation
// manager stand-in: the destination group ends with exactly the source group's rights in every
// structure, each structure stored; a group missing in a later structure leaves the earlier ones
// stored and fails with its message; the same group as source and destination is refused.
#include "import_fixture.h"

namespace {

using CopyRightsTest = ServerStoreTest;

// A group's rights on an object (by its GUID text) in a structure file; -1 for no entry.
LONG StoredRights(const std::wstring& path, const wchar_t* group, const wchar_t* key) {
    ComPtr<IZModel> model;
    EXPECT_EQ(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model)),
              S_OK);
    EXPECT_EQ(model->zrLoadModel(Text(path.c_str()), nullptr, 2), S_OK);
    ComPtr<IZLocalSecurity> security;
    EXPECT_EQ(model->zrGetLocalSecurity(&security), S_OK);
    LONG handle = 0;
    EXPECT_EQ(security->zrGroupByID(Text(group), &handle), S_OK);
    EXPECT_NE(handle, 0) << testing::PrintToString(group);
    GUID guid = {};
    EXPECT_EQ(CLSIDFromString(key, &guid), S_OK);
    LONG rights = -1;
    EXPECT_EQ(security->zrGetRights(handle, &guid, &rights), S_OK);
    return rights;
}

struct StoredRight {
    const wchar_t* structure;
    const wchar_t* group;
    const wchar_t* key;
    LONG rights;
};

TEST_F(CopyRightsTest, DestinationGroupGetsExactlyTheSourceRightsInEveryStructure) {
    PutInStore(L"rights_a.ztp", L"a.ztp");
    PutInStore(L"rights_b.ztp", L"b.ztp");
    ASSERT_EQ(helper_->zsCopyModelRights(Text(L"source"), Text(L"target")), S_OK)
        << testing::PrintToString(TakeErrorDescription());

    const StoredRight expected[] = {
        // Copied where the source has an entry, removed where it has none.
        {L"a.ztp", L"target", L"{C0000000-0000-0000-0000-0000000000A1}", 5},
        {L"a.ztp", L"target", L"{A0000000-0000-0000-0000-0000000000A1}", 3},
        {L"a.ztp", L"target", L"{A0000000-0000-0000-0000-0000000000A2}", -1},
        {L"a.ztp", L"target", L"{C0000000-0000-0000-0000-0000000000A2}", -1},
        {L"b.ztp", L"target", L"{C0000000-0000-0000-0000-0000000000B1}", 4},
        {L"b.ztp", L"target", L"{A0000000-0000-0000-0000-0000000000B1}", -1},
        // The source and the other groups keep theirs.
        {L"a.ztp", L"source", L"{C0000000-0000-0000-0000-0000000000A1}", 5},
        {L"a.ztp", L"source", L"{A0000000-0000-0000-0000-0000000000A1}", 3},
        {L"a.ztp", L"other", L"{C0000000-0000-0000-0000-0000000000A1}", 2},
    };
    for (const StoredRight& right : expected)
        EXPECT_EQ(StoredRights(StorePath(right.structure), right.group, right.key), right.rights)
            << testing::PrintToString(right.structure) << " " << testing::PrintToString(right.group)
            << " " << testing::PrintToString(right.key);
}

struct MissingGroup {
    const char* name;
    const wchar_t* second_structure;
    const wchar_t* message;
};

class CopyRightsMissingGroup : public ServerStoreTest,
                               public testing::WithParamInterface<MissingGroup> {};

TEST_P(CopyRightsMissingGroup, EarlierStructuresStayStoredAndTheCallFails) {
    PutInStore(L"rights_a.ztp", L"a.ztp");
    PutInStore(GetParam().second_structure, L"b.ztp");
    const std::string second_before = FileBytes(StorePath(L"b.ztp"));

    EXPECT_EQ(helper_->zsCopyModelRights(Text(L"source"), Text(L"target")), E_INVALIDARG);
    EXPECT_EQ(TakeErrorDescription(), GetParam().message);
    EXPECT_EQ(
        StoredRights(StorePath(L"a.ztp"), L"target", L"{C0000000-0000-0000-0000-0000000000A1}"), 5);
    EXPECT_EQ(FileBytes(StorePath(L"b.ztp")), second_before);
}

INSTANTIATE_TEST_SUITE_P(InTheSecondStructure, CopyRightsMissingGroup,
                         testing::Values(MissingGroup{"Destination", L"rights_b_without_target.ztp",
                                                      L"Группа-приемник не существует"},
                                         MissingGroup{"Source", L"rights_b_without_source.ztp",
                                                      L"Группа-источник не существует"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Removing before reading would take every right from a group copied onto itself.
TEST_F(CopyRightsTest, SameSourceAndDestinationIsRefusedWithNothingChanged) {
    PutInStore(L"rights_a.ztp", L"a.ztp");
    const std::string before = FileBytes(StorePath(L"a.ztp"));
    EXPECT_EQ(helper_->zsCopyModelRights(Text(L"source"), Text(L"source")), E_INVALIDARG);
    EXPECT_EQ(TakeErrorDescription(), L"Группа-источник и группа-приемник совпадают");
    EXPECT_EQ(FileBytes(StorePath(L"a.ztp")), before);
}

} // namespace
