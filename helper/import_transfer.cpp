// Passes 7 and 8 of the import: the rights of the user's groups and the order of attributes are
// carried over from the user's structure to the server classes of the same names.
#include "helper/import_passes.h"

#include "helper/rights_copy.h"

#include "kernel/kernel_reads.h"

#include <algorithm>
#include <string>
#include <vector>

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

// The names of the class's attributes in their order.
std::vector<std::wstring> AttributeNames(IZClass* cls) {
    std::vector<std::wstring> names;
    const LONG count = AttributeCount(cls);
    names.reserve(static_cast<std::size_t>(count));
    for (LONG position = 0; position < count; ++position)
        names.push_back(AttributeName(AttributeAt(cls, position).Get()));
    return names;
}

// The attribute of that name moved to the top of the list, the ones above it moved down by one:
// where swaps with its upper neighbour, one after another, would take it.
void MoveToTop(std::vector<std::wstring>& names, const std::wstring& name) {
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end())
        std::rotate(names.begin(), found, found + 1);
}

// The kernel's list brought into the order wanted, one swap for each entry not yet in its
// place: none when the class has that order already.
void Reorder(IZClass* cls, std::vector<std::wstring> names,
             const std::vector<std::wstring>& wanted) {
    for (std::size_t position = 0; position < wanted.size(); ++position) {
        if (names[position] == wanted[position])
            continue;
        const auto from = std::find(names.begin() + static_cast<std::ptrdiff_t>(position) + 1,
                                    names.end(), wanted[position]);
        check(cls->zrSwapClassValues(Bstr(names[position]).Get(), Bstr(*from).Get()));
        std::swap(names[position], *from);
    }
}

} // namespace

void CopySecurity(ImportStructures& import) {
    import.report.StartSection(ReportSection::Security);
    const ComPtr<IZLocalSecurity> source = LocalSecurityOf(import.user_model.Get());
    const ComPtr<IZLocalSecurity> target = LocalSecurityOf(import.server_model.Get());
    GroupPairs groups(source.Get(), target.Get());
    ForEachClassOnServer(import, [&](IZClass* user_class, IZClass* server_class) {
        CopyObjectRights(SecurityKeyOf(user_class), SecurityKeyOf(server_class), groups);
        const LONG attributes = AttributeCount(user_class);
        for (LONG position = 0; position < attributes; ++position) {
            Guarded([&] {
                const ComPtr<IZClassValue> user_attribute = AttributeAt(user_class, position);
                const ComPtr<IZClassValue> server_attribute =
                    LocateAttribute(server_class, AttributeName(user_attribute.Get()));
                if (server_attribute)
                    CopyObjectRights(SecurityKeyOf(user_attribute.Get()),
                                     SecurityKeyOf(server_attribute.Get()), groups);
            });
        }
    });
}

// The order is worked out on the names first and then made with as few swaps as it takes:
// moving each attribute to the top by swaps with its neighbour costs the square of the
// attributes in kernel calls.
void TransferAttributeOrder(ImportStructures& import) {
    import.report.StartSection(ReportSection::AttributeOrder);
    ForEachClassOnServer(import, [&](IZClass* user_class, IZClass* server_class) {
        const std::vector<std::wstring> names = AttributeNames(server_class);
        std::vector<std::wstring> wanted = names;
        // From the user's last attribute to the first: the user's order ends on top.
        for (LONG position = AttributeCount(user_class) - 1; position >= 0; --position) {
            Guarded([&] {
                const ComPtr<IZClassValue> server_attribute = LocateAttribute(
                    server_class, AttributeName(AttributeAt(user_class, position).Get()));
                if (server_attribute)
                    MoveToTop(wanted, AttributeName(server_attribute.Get()));
            });
        }
        Reorder(server_class, names, wanted);
    });
}

} // namespace kv::import
