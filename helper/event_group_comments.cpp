// Pass 9 of the import: every handler of the event group "UserGroup.xml" of the stored server
// structure is disabled, its code commented out under an empty handler of its signature.
#include "helper/import_passes.h"

#include "helper/event_handler_stub.h"
#include "platform/guid_conversion.h"

namespace kv::import {

namespace {

constexpr wchar_t kUserEventGroup[] = L"UserGroup.xml";

ComPtr<IZEventGroup> LocateUserEventGroup(IZModel* server) {
    ComPtr<IUnknown> store_object;
    check(server->zrGetEventGroups(&store_object));
    if (!store_object)
        throw LibraryError(E_POINTER, L"Ядро модели не вернуло хранилище групп событий");
    ComPtr<IZEventGroups> store;
    check(store_object.As(&store));
    check(store->zrRefresh());
    ComPtr<IZEventGroup> group;
    check(store->zrLocateEventGroup(Bstr(kUserEventGroup).Get(), &group));
    if (!group)
        throw LibraryError(E_INVALIDARG, std::wstring(kEventGroupMissing));
    return group;
}

// Kernels answer the handler owners as a 2-D array of variants holding texts or of texts. The
// array itself must declare the same cells, since SafeArrayGetElement copies a cell as it does.
VARTYPE OwnerCellType(const VARIANT& owners) {
    const VARTYPE cells = V_VT(&owners) & ~VT_ARRAY;
    SAFEARRAY* const rows = V_ARRAY(&owners);
    VARTYPE declared = VT_EMPTY;
    if (!(V_VT(&owners) & VT_ARRAY) || (cells != VT_VARIANT && cells != VT_BSTR) || !rows ||
        SafeArrayGetDim(rows) != 2 || FAILED(SafeArrayGetVartype(rows, &declared)) ||
        declared != cells)
        throw LibraryError(E_UNEXPECTED, L"Ядро модели вернуло список обработчиков не в виде "
                                         L"двумерного массива");
    return cells;
}

std::wstring OwnerCell(SAFEARRAY* owners, VARTYPE cells, LONG row, LONG column) {
    LONG index[2] = {row, column};
    if (cells == VT_BSTR) {
        Bstr cell;
        check(SafeArrayGetElement(owners, index, cell.Out()));
        return std::wstring(cell.View());
    }
    Variant cell;
    check(SafeArrayGetElement(owners, index, cell.Get()));
    return VariantWideText(*cell.Get());
}

void CommentOwnerHandlers(IZEventGroup* group, SAFEARRAY* owners, VARTYPE cells, LONG row) {
    const std::wstring owner = OwnerCell(owners, cells, row, 0);
    const std::wstring attribute = OwnerCell(owners, cells, row, 1);
    GUID owner_guid = GUID_NULL, attribute_guid = GUID_NULL;
    // The attribute column counts only for a handler that has an owner.
    const bool has_owner = !owner.empty();
    const bool has_attribute = has_owner && !attribute.empty();
    if (has_owner)
        owner_guid = GuidFromText(owner);
    if (has_attribute)
        attribute_guid = GuidFromText(attribute);
    const HandlerKinds kinds = HandlerKindsOf(has_owner, has_attribute);
    for (LONG kind = kinds.first; kind <= kinds.last; ++kind) {
        Bstr code;
        check(group->get_zrHandlerCode(owner_guid, attribute_guid, kind, code.Out()));
        if (code.View().empty())
            continue;
        check(group->put_zrHandlerCode(owner_guid, attribute_guid, kind,
                                       Bstr(CommentedHandler(kind, code.View())).Get()));
    }
}

void CommentUserEventGroup(IZModel* server) {
    const ComPtr<IZEventGroup> group = LocateUserEventGroup(server);
    Variant owners;
    check(group->get_zrHandlerOwners(owners.Out()));
    const VARTYPE cells = OwnerCellType(*owners.Get());
    SAFEARRAY* const rows = V_ARRAY(owners.Get());
    LONG last = -1;
    check(SafeArrayGetUBound(rows, 1, &last));
    for (LONG row = 0; row <= last; ++row)
        Guarded([&] { CommentOwnerHandlers(group.Get(), rows, cells, row); });
    check(group->zrSave());
}

} // namespace

void CommentEventGroup(ImportStructures& import) {
    import.report.StartSection(ReportSection::EventGroup);
    // The import goes on to its report; a failure is the section's one line.
    if (std::optional<std::wstring> failure =
            FailureOf([&] { CommentUserEventGroup(import.server_model.Get()); }))
        import.report.EventGroupFailed(*failure);
}

} // namespace kv::import
