// Passes 7 and 8 of the import: the rights of the user's groups and the order of attributes are
// carried over from the user's structure to the server classes of the same names.
#include "helper/import_passes.h"

#include "helper/rights_copy.h"

#include "recording/kernel_access.h"

namespace kv::import {

namespace {

ComPtr<IZLocalSecurity> SecurityOf(IZModel* model) {
    ComPtr<IZLocalSecurity> security;
    check(model->zrGetLocalSecurity(&security));
    if (!security)
        throw LibraryError(E_POINTER, L"Ядро модели не вернуло объект безопасности");
    return security;
}

// The server class of the user class's name, null when the server has none.
ComPtr<IZClass> ServerClassOf(ImportStructures& import, LONG index, ComPtr<IZClass>& user_class) {
    user_class = ClassAt(import.user.Get(), index);
    return LocateClass(import.server.Get(), ClassName(user_class.Get()));
}

// The first position of the class's attribute of that name, -1 when none has it.
LONG PositionOf(IZClass* cls, std::wstring_view name) {
    const LONG count = AttributeCount(cls);
    for (LONG position = 0; position < count; ++position)
        if (AttributeName(AttributeAt(cls, position).Get()) == name)
            return position;
    return -1;
}

// Moves the attribute to the top of the class by swaps with its upper neighbour.
void MoveToTop(IZClass* cls, const std::wstring& name) {
    const Bstr moved(name);
    for (LONG position = PositionOf(cls, name); position > 0; --position) {
        const std::wstring above = AttributeName(AttributeAt(cls, position - 1).Get());
        check(cls->zrSwapClassValues(Bstr(above).Get(), moved.Get()));
    }
}

} // namespace

void CopySecurity(ImportStructures& import) {
    import.report.StartSection(ReportSection::Security);
    const ComPtr<IZLocalSecurity> source = SecurityOf(import.user_model.Get());
    const ComPtr<IZLocalSecurity> target = SecurityOf(import.server_model.Get());
    const LONG count = ClassCount(import.user.Get());
    for (LONG index = 0; index < count; ++index) {
        Guarded([&] {
            ComPtr<IZClass> user_class;
            const ComPtr<IZClass> server_class = ServerClassOf(import, index, user_class);
            if (!server_class)
                return;
            CopyObjectRights(SecurityKeyOf(user_class.Get()), SecurityKeyOf(server_class.Get()),
                             source.Get(), target.Get());
            const LONG attributes = AttributeCount(user_class.Get());
            for (LONG position = 0; position < attributes; ++position) {
                Guarded([&] {
                    const ComPtr<IZClassValue> user_attribute =
                        AttributeAt(user_class.Get(), position);
                    const ComPtr<IZClassValue> server_attribute =
                        LocateAttribute(server_class.Get(), AttributeName(user_attribute.Get()));
                    if (server_attribute)
                        CopyObjectRights(SecurityKeyOf(user_attribute.Get()),
                                         SecurityKeyOf(server_attribute.Get()), source.Get(),
                                         target.Get());
                });
            }
        });
    }
}

void TransferAttributeOrder(ImportStructures& import) {
    import.report.StartSection(ReportSection::AttributeOrder);
    const LONG count = ClassCount(import.user.Get());
    for (LONG index = 0; index < count; ++index) {
        Guarded([&] {
            ComPtr<IZClass> user_class;
            const ComPtr<IZClass> server_class = ServerClassOf(import, index, user_class);
            if (!server_class)
                return;
            // From the user's last attribute to the first: the user's order ends on top.
            for (LONG position = AttributeCount(user_class.Get()) - 1; position >= 0; --position) {
                Guarded([&] {
                    const ComPtr<IZClassValue> server_attribute = LocateAttribute(
                        server_class.Get(),
                        AttributeName(AttributeAt(user_class.Get(), position).Get()));
                    if (server_attribute)
                        MoveToTop(server_class.Get(), AttributeName(server_attribute.Get()));
                });
            }
        });
    }
}

} // namespace kv::import
