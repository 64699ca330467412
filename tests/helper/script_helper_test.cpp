// The small methods of ZScriptHelper against the kernel stand-in: their effects, and that every
// failure inside them is swallowed with nothing changed.
#include "helper_fixture.h"
#include "support/fake_kernel.h"

#include <functional>

namespace {

const wchar_t* const some_guid = L"{0A1B2C3D-1111-2222-3333-444455556666}";

class HelperMethods : public ScriptHelperTest {
protected:
    void SetUp() override {
        ScriptHelperTest::SetUp();
        if (HasFatalFailure())
            return;
        designers_ = kernel_->AddGroup(L"designers", L"Конструкторы");
        viewers_ = kernel_->AddGroup(L"viewers", L"Наблюдатели");
        cls_ = kernel_->AddClass(L"Part");
        cval_ = kernel_->AddAttribute(cls_.Get(), L"Mass");
    }

    LONG designers_ = 0, viewers_ = 0;
    ComPtr<IZClass> cls_;
    ComPtr<IZClassValue> cval_;
};

TEST_F(HelperMethods, GiveAndRemoveRightsOfClassesAndAttributes) {
    IZLocalSecurity* security = kernel_->Security();
    EXPECT_EQ(helper_->zsGiveRights(cls_.Get(), 7, Text(L"designers"), security), S_OK);
    EXPECT_EQ(helper_->zsGiveRights(cval_.Get(), 3, Text(L"designers"), security), S_OK);
    EXPECT_EQ(helper_->zsGiveRights(cls_.Get(), 5, Text(L"viewers"), security), S_OK);
    EXPECT_EQ(kernel_->Rights(designers_, cls_.Get()), 7);
    EXPECT_EQ(kernel_->Rights(designers_, cval_.Get()), 3);
    EXPECT_EQ(kernel_->Rights(viewers_, cls_.Get()), 5);

    EXPECT_EQ(helper_->zsRemoveRights(cls_.Get(), Text(L"viewers"), security), S_OK);
    EXPECT_EQ(kernel_->Rights(viewers_, cls_.Get()), -1);
    EXPECT_EQ(kernel_->Rights(designers_, cls_.Get()), 7);
}

TEST_F(HelperMethods, ClearRightsRemovesEveryGroupsEntryOfThatItemOnly) {
    IZLocalSecurity* security = kernel_->Security();
    helper_->zsGiveRights(cls_.Get(), 7, Text(L"designers"), security);
    helper_->zsGiveRights(cls_.Get(), 5, Text(L"viewers"), security);
    helper_->zsGiveRights(cval_.Get(), 3, Text(L"designers"), security);
    EXPECT_EQ(helper_->zsClearRights(cls_.Get(), security), S_OK);
    EXPECT_EQ(kernel_->Rights(designers_, cls_.Get()), -1);
    EXPECT_EQ(kernel_->Rights(viewers_, cls_.Get()), -1);
    EXPECT_EQ(kernel_->Rights(designers_, cval_.Get()), 3);
}

TEST_F(HelperMethods, RightsCallsThatCannotWorkChangeNothingAndSucceed) {
    IZLocalSecurity* security = kernel_->Security();
    helper_->zsGiveRights(cls_.Get(), 7, Text(L"designers"), security);
    IUnknown* model = kernel_->Model();
    const struct {
        const char* name;
        std::function<HRESULT()> call;
    } calls[] = {
        {"give, no security",
         [&] { return helper_->zsGiveRights(cls_.Get(), 1, Text(L"designers"), nullptr); }},
        {"give, item neither class nor attribute",
         [&] { return helper_->zsGiveRights(model, 1, Text(L"designers"), security); }},
        {"give, security that is none",
         [&] { return helper_->zsGiveRights(cls_.Get(), 1, Text(L"designers"), cls_.Get()); }},
        {"give, unknown group",
         [&] { return helper_->zsGiveRights(cls_.Get(), 1, Text(L"nobody"), security); }},
        {"remove, unknown group",
         [&] { return helper_->zsRemoveRights(cls_.Get(), Text(L"nobody"), security); }},
        {"remove, no security",
         [&] { return helper_->zsRemoveRights(cls_.Get(), Text(L"designers"), nullptr); }},
        {"remove, no item",
         [&] { return helper_->zsRemoveRights(nullptr, Text(L"designers"), security); }},
        {"clear, no security", [&] { return helper_->zsClearRights(cls_.Get(), nullptr); }},
        {"clear, item neither class nor attribute",
         [&] { return helper_->zsClearRights(model, security); }},
    };
    for (const auto& c : calls) {
        EXPECT_EQ(c.call(), S_OK) << c.name;
        EXPECT_EQ(kernel_->Rights(designers_, cls_.Get()), 7) << c.name;
        ComPtr<IErrorInfo> stale;
        EXPECT_NE(GetErrorInfo(0, &stale), S_OK) << c.name << ": error information left behind";
    }
}

TEST_F(HelperMethods, DataTypeIsSetFromGuidText) {
    EXPECT_EQ(helper_->zsSetCValDataType(cval_.Get(), Text(some_guid)), S_OK);
    EXPECT_EQ(GuidString(KernelModel::DataType(cval_.Get())), some_guid);
}

TEST_F(HelperMethods, TextThatIsNoGuidChangesNothing) {
    helper_->zsSetCValDataType(cval_.Get(), Text(some_guid));
    const GUID class_guid = KernelModel::ClassGuid(cls_.Get());
    const wchar_t* const not_guids[] = {
        nullptr, // a script's "" may arrive as a null string
        L"",
        L"not a guid",
        L"zkernel.ZModel", // a ProgID, which the platform's conversion would look up
        L"{0A1B2C3D-1111-2222-3333-44445555666}",
        L"0A1B2C3D-1111-2222-3333-444455556666",
        L"{0A1B2C3D-1111-2222-3333-44445555666G}",
    };
    for (const wchar_t* text : not_guids) {
        EXPECT_EQ(helper_->zsSetCValDataType(cval_.Get(), Text(text)), S_OK);
        EXPECT_EQ(GuidString(KernelModel::DataType(cval_.Get())), some_guid)
            << testing::PrintToString(text);
        EXPECT_EQ(helper_->zsSetClassGUID(cls_.Get(), Text(text)), S_OK);
        EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls_.Get())), GuidString(class_guid))
            << testing::PrintToString(text);
    }
    EXPECT_EQ(helper_->zsSetCValDataType(nullptr, Text(some_guid)), S_OK);
    EXPECT_EQ(helper_->zsSetCValDataType(cls_.Get(), Text(some_guid)), S_OK);
}

TEST_F(HelperMethods, PropertyNameByPosition) {
    ComPtr<IZProperties> props;
    ASSERT_EQ(cval_->get_zrProperties(&props), S_OK);
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = 1;
    props->zrAddProp(Text(L"color"), value);
    props->zrAddProp(Text(L"size"), value);

    const struct {
        IUnknown* props;
        LONG position;
        const wchar_t* name;
    } cases[] = {
        {props.Get(), 0, L"color"}, {props.Get(), 1, L"size"}, {props.Get(), 2, L""},
        {props.Get(), -1, L""},     {nullptr, 0, L""},         {cls_.Get(), 0, L""},
    };
    for (const auto& c : cases) {
        Text name;
        EXPECT_EQ(helper_->zsPropName(c.props, c.position, name.Out()), S_OK);
        EXPECT_EQ(name.Str(), c.name) << "position " << c.position;
    }
    EXPECT_EQ(helper_->zsPropName(props.Get(), 0, nullptr), E_POINTER);
}

TEST_F(HelperMethods, CoordinatesMoveTheClassBlock) {
    EXPECT_EQ(helper_->zsSetCoors(cls_.Get(), 120, 340), S_OK);
    const POINT position = KernelModel::Position(cls_.Get());
    EXPECT_EQ(position.x, 120);
    EXPECT_EQ(position.y, 340);
    EXPECT_EQ(helper_->zsSetCoors(nullptr, 1, 2), S_OK);
    EXPECT_EQ(helper_->zsSetCoors(cval_.Get(), 1, 2), S_OK);
}

TEST_F(HelperMethods, IdentifiersAreSetThroughTheBackDoor) {
    EXPECT_EQ(helper_->zsSetClassGUID(cls_.Get(), Text(some_guid)), S_OK);
    EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls_.Get())), some_guid);
    EXPECT_EQ(helper_->zsSetClassValueGUID(cval_.Get(), Text(some_guid)), S_OK);
    EXPECT_EQ(GuidString(KernelModel::AttributeGuid(cval_.Get())), some_guid);
}

TEST_F(HelperMethods, IdentifierSettersIgnoreObjectsOfTheOtherKind) {
    const GUID class_guid = KernelModel::ClassGuid(cls_.Get());
    const GUID attribute_guid = KernelModel::AttributeGuid(cval_.Get());
    EXPECT_EQ(helper_->zsSetClassGUID(cval_.Get(), Text(some_guid)), S_OK);
    EXPECT_EQ(helper_->zsSetClassValueGUID(cls_.Get(), Text(some_guid)), S_OK);
    EXPECT_EQ(helper_->zsSetClassGUID(nullptr, Text(some_guid)), S_OK);
    EXPECT_EQ(GuidString(KernelModel::ClassGuid(cls_.Get())), GuidString(class_guid));
    EXPECT_EQ(GuidString(KernelModel::AttributeGuid(cval_.Get())), GuidString(attribute_guid));
}

TEST_F(HelperMethods, CopyObjGuidCopiesBetweenKernelObjects) {
    ComPtr<IZClass> other = kernel_->AddClass(L"Assembly");
    const GUID source = KernelModel::ClassGuid(cls_.Get());
    const GUID before = KernelModel::ClassGuid(other.Get());
    EXPECT_EQ(helper_->zsCopyObjGUID(cls_.Get(), nullptr), S_OK);
    EXPECT_EQ(helper_->zsCopyObjGUID(nullptr, other.Get()), S_OK);
    EXPECT_EQ(helper_->zsCopyObjGUID(kernel_->Security(), other.Get()), S_OK);
    EXPECT_EQ(GuidString(KernelModel::ClassGuid(other.Get())), GuidString(before));
    EXPECT_EQ(helper_->zsCopyObjGUID(cls_.Get(), other.Get()), S_OK);
    EXPECT_EQ(GuidString(KernelModel::ClassGuid(other.Get())), GuidString(source));
}

TEST_F(HelperMethods, AttributeGuidAsText) {
    Text text;
    EXPECT_EQ(helper_->zsClassValueGUIDasStr(cval_.Get(), text.Out()), S_OK);
    EXPECT_EQ(text.Str(), GuidString(KernelModel::AttributeGuid(cval_.Get())));
    EXPECT_EQ(text.Str().size(), 38u);
    for (IUnknown* not_attribute :
         {static_cast<IUnknown*>(cls_.Get()), static_cast<IUnknown*>(nullptr)}) {
        EXPECT_EQ(helper_->zsClassValueGUIDasStr(not_attribute, text.Out()), S_OK);
        EXPECT_EQ(text.Str(), L"");
    }
}

TEST_F(HelperMethods, AllowChangesOnEveryEventItem) {
    kernel_->AddEventItem(L"OnSave", false);
    kernel_->AddEventItem(L"OnOpen", false);
    ComPtr<IDispatch> model;
    ASSERT_EQ(kernel_->Model()->QueryInterface(IID_PPV_ARGS(&model)), S_OK);
    EXPECT_EQ(helper_->zsAllowChangesByEvents(model.Get(), VARIANT_TRUE), S_OK);
    EXPECT_TRUE(kernel_->EventItemAllowsChanges(0));
    EXPECT_TRUE(kernel_->EventItemAllowsChanges(1));
    EXPECT_EQ(helper_->zsAllowChangesByEvents(model.Get(), VARIANT_FALSE), S_OK);
    EXPECT_FALSE(kernel_->EventItemAllowsChanges(1));
    EXPECT_EQ(helper_->zsAllowChangesByEvents(nullptr, VARIANT_TRUE), S_OK);
}

// A kernel that answers success without an event collection: the small method swallows the
// error, as it swallows the kernel's failures, and the host goes on.
TEST_F(HelperMethods, AllowChangesWithoutAnEventCollectionChangesNothingAndFailsNothing) {
    const ComPtr<FakeModel> model = FakeModel::Create(S_OK, nullptr);
    model->AnswerNullObjects();
    EXPECT_EQ(helper_->zsAllowChangesByEvents(static_cast<IZModel*>(model.Get()), VARIANT_TRUE),
              S_OK);
}

TEST_F(HelperMethods, KernelObjectsKeepTheirReferenceCounts) {
    IZLocalSecurity* security = kernel_->Security();
    const ULONG class_refs = RefCount(cls_.Get()), attribute_refs = RefCount(cval_.Get()),
                security_refs = RefCount(security);
    helper_->zsGiveRights(cls_.Get(), 7, Text(L"designers"), security);
    helper_->zsClearRights(cval_.Get(), security);
    helper_->zsSetClassGUID(cls_.Get(), Text(some_guid));
    helper_->zsSetClassValueGUID(cval_.Get(), Text(L"bad"));
    helper_->zsSetCoors(cls_.Get(), 1, 1);
    helper_->zsCopyObjGUID(cls_.Get(), cval_.Get());
    Text text;
    helper_->zsClassValueGUIDasStr(cval_.Get(), text.Out());
    EXPECT_EQ(RefCount(cls_.Get()), class_refs);
    EXPECT_EQ(RefCount(cval_.Get()), attribute_refs);
    EXPECT_EQ(RefCount(security), security_refs);
}

TEST_F(HelperMethods, ImportAndRightsCopyingReportTheirErrors) {
    Text report(L"stale");
    EXPECT_EQ(helper_->zsImportAppendedToSvr(Text(L"no such distribution.ztp"), Text(L"b.ztp"),
                                             VARIANT_TRUE, report.Out()),
              E_INVALIDARG);
    EXPECT_EQ(report.Str(), L"");
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    Text description;
    info->GetDescription(description.Out());
    EXPECT_EQ(description.Str(), L"no such distribution.ztp - файл не найден");
    Text source;
    info->GetSource(source.Out());
    EXPECT_EQ(source.Str(), L"zsImportAppendedToSvr");

    EXPECT_EQ(helper_->zsCopyModelRights(Text(L"designers"), Text(L"designers")), E_INVALIDARG);
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    info->GetDescription(description.Out());
    EXPECT_EQ(description.Str(), L"Группа-источник и группа-приемник совпадают");
}

} // namespace
