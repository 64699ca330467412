// Passes 7 and 8 of the import: the rights of the user's groups and the order of attributes are
// carried over from the user's structure to the server classes of the same names.
#include "helper/import_passes.h"

#include "helper/rights_copy.h"

#include "kernel/kernel_reads.h"

namespace kv::import {

namespace {

// Each class of the user's structure with the server class of its name, one guard per class;
// a class the server lacks is passed by.
template <class Body> void ForEachClassOnServer(ImportStructures& import, Body&& body) {
    const LONG count = ClassCount(import.user.Get());
    for (LONG index = 0; index < count; ++index) {
        Guarded([&] {
            const ComPtr<IZClass> user_class = ClassAt(import.user.Get(), index);
            const ComPtr<IZClass> server_class =
                LocateClass(import.server.Get(), ClassName(user_class.Get()));
            if (server_class)
                body(user_class.Get(), server_class.Get());
        });
    }
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
    const ComPtr<IZLocalSecurity> source = LocalSecurityOf(import.user_model.Get());
    const ComPtr<IZLocalSecurity> target = LocalSecurityOf(import.server_model.Get());
    ForEachClassOnServer(import, [&](IZClass* user_class, IZClass* server_class) {
        CopyObjectRights(SecurityKeyOf(user_class), SecurityKeyOf(server_class), source.Get(),
                         target.Get());
        const LONG attributes = AttributeCount(user_class);
        for (LONG position = 0; position < attributes; ++position) {
            Guarded([&] {
                const ComPtr<IZClassValue> user_attribute = AttributeAt(user_class, position);
                const ComPtr<IZClassValue> server_attribute =
                    LocateAttribute(server_class, AttributeName(user_attribute.Get()));
                if (server_attribute)
                    CopyObjectRights(SecurityKeyOf(user_attribute.Get()),
                                     SecurityKeyOf(server_attribute.Get()), source.Get(),
                                     target.Get());
            });
        }
    });
}

void TransferAttributeOrder(ImportStructures& import) {
    import.report.StartSection(ReportSection::AttributeOrder);
    ForEachClassOnServer(import, [&](IZClass* user_class, IZClass* server_class) {
        // From the user's last attribute to the first: the user's order ends on top.
        for (LONG position = AttributeCount(user_class) - 1; position >= 0; --position) {
            Guarded([&] {
                const ComPtr<IZClassValue> server_attribute = LocateAttribute(
                    server_class, AttributeName(AttributeAt(user_class, position).Get()));
                if (server_attribute)
                    MoveToTop(server_class, AttributeName(server_attribute.Get()));
            });
        }
    });
}

} // namespace kv::import
