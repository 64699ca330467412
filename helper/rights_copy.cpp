#include "helper/rights_copy.h"

#include "helper/import_structures.h"
#include "helper/syncro_manager.h"

#include "kernel/kernel_reads.h"

namespace kv::import {

namespace {

constexpr wchar_t kCopyRightsSource[] = L"TZScriptHelper.zsCopyModelRights";

std::wstring GroupIdentifierOf(IZLocalSecurity* security, LONG group) {
    Variant identifier;
    check(security->zrGroupAttribute(group, 0, 2, identifier.Out()));
    return VariantWideText(*identifier.Get());
}

LONG GroupWithIdentifier(IZLocalSecurity* security, std::wstring_view identifier) {
    LONG group = 0;
    check(security->zrGroupByID(Bstr(identifier).Get(), &group));
    return group;
}

// The destination group ends with exactly the source group's entry for the object: none where
// the source has none.
void MoveRights(IZLocalSecurity* security, LONG source, LONG destination, GUID key) {
    check(security->zrRemoveRights(destination, &key));
    const std::int32_t rights = RightsOf(security, source, key);
    if (rights > kNoRightsEntry)
        check(security->zrSetRights(destination, &key, rights));
}

// One element of a one-dimensional safe array as a variant, whatever the array's element type.
void ArrayElement(SAFEARRAY* array, LONG index, VARTYPE type, Variant& element) {
    if (type == VT_VARIANT) {
        check(SafeArrayGetElement(array, &index, element.Get()));
        return;
    }
    // Every other element type lies at the start of the variant's value union.
    check(SafeArrayGetElement(array, &index, &V_UI1(element.Get())));
    V_VT(element.Get()) = type;
}

std::vector<std::wstring> ServerStructureNames() {
    ComPtr<IZSyncroManager> manager;
    check(CoCreateInstance(CLSID_CoZSyncroManager, nullptr,
                           CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&manager)));
    Variant names;
    check(manager->GetModelNames(names.Out()));
    const VARIANT& value = *names.Get();
    SAFEARRAY* array = nullptr;
    if (V_VT(&value) & VT_ARRAY)
        array = (V_VT(&value) & VT_BYREF) ? *V_ARRAYREF(&value) : V_ARRAY(&value);
    if (!array || SafeArrayGetDim(array) != 1)
        throw LibraryError(E_UNEXPECTED,
                           L"Менеджер синхронизации не вернул список структур сервера");
    LONG low = 0, high = -1;
    check(SafeArrayGetLBound(array, 1, &low));
    check(SafeArrayGetUBound(array, 1, &high));
    VARTYPE type = VT_EMPTY;
    check(SafeArrayGetVartype(array, &type));
    std::vector<std::wstring> structures;
    for (LONG index = low; index <= high; ++index) {
        Variant element;
        ArrayElement(array, index, type, element);
        structures.push_back(VariantWideText(*element.Get()));
    }
    return structures;
}

void CopyRightsInStructure(std::wstring_view structure, std::wstring_view source_group,
                           std::wstring_view destination_group) {
    const ComPtr<IZModel> model = NewKernelModel();
    check(model->zrLoadModel(Bstr(structure).Get(), nullptr, 4));
    const ComPtr<IZLocalSecurity> security = LocalSecurityOf(model.Get());
    ComPtr<IZClassVector> classes;
    check(model->zrGetClassVector(&classes));
    Required(classes, L"zrGetClassVector");
    const LONG source = GroupWithIdentifier(security.Get(), source_group);
    if (source == 0)
        throw LibraryError(E_INVALIDARG, L"Группа-источник не существует", kCopyRightsSource);
    const LONG destination = GroupWithIdentifier(security.Get(), destination_group);
    if (destination == 0)
        throw LibraryError(E_INVALIDARG, L"Группа-приемник не существует", kCopyRightsSource);
    // Removing before reading would leave a group copied onto itself without rights.
    if (destination == source)
        throw LibraryError(E_INVALIDARG, L"Группа-источник и группа-приемник совпадают",
                           kCopyRightsSource);
    const LONG count = ClassCount(classes.Get());
    for (LONG index = 0; index < count; ++index) {
        const ComPtr<IZClass> cls = ClassAt(classes.Get(), index);
        MoveRights(security.Get(), source, destination, SecurityKeyOf(cls.Get()));
        const LONG attributes = AttributeCount(cls.Get());
        for (LONG position = 0; position < attributes; ++position)
            MoveRights(security.Get(), source, destination,
                       SecurityKeyOf(AttributeAt(cls.Get(), position).Get()));
    }
    check(model->zrSaveModel(Bstr(L"").Get(), nullptr));
}

} // namespace

const std::vector<std::pair<LONG, LONG>>& GroupPairs::Pairs() {
    if (pairs_)
        return *pairs_;
    std::vector<std::pair<LONG, LONG>> pairs;
    for (LONG group = 0;;) {
        check(source_->zrNextGroup(group, &group));
        if (group == 0)
            break;
        const LONG target_group = GroupWithIdentifier(target_, GroupIdentifierOf(source_, group));
        if (target_group != 0)
            pairs.emplace_back(group, target_group);
    }
    return pairs_.emplace(std::move(pairs));
}

void CopyObjectRights(const GUID& from, const GUID& to, GroupPairs& groups) {
    for (const auto& [group, target_group] : groups.Pairs()) {
        const std::int32_t rights = RightsOf(groups.source(), group, from);
        // A group the target structure lacks would fail the whole object, and with it every
        // group after it: it is left out of the pairs instead.
        if (rights == kNoRightsEntry)
            continue;
        GUID key = to;
        check(groups.target()->zrSetRights(target_group, &key, rights));
    }
}

void CopyModelRights(std::wstring_view source_group, std::wstring_view destination_group) {
    if (source_group == destination_group)
        throw LibraryError(E_INVALIDARG, L"Группа-источник и группа-приемник совпадают",
                           kCopyRightsSource);
    for (const std::wstring& structure : ServerStructureNames())
        CopyRightsInStructure(structure, source_group, destination_group);
}

} // namespace kv::import
