// The reads of the model kernel that the fragment generators share: names and other texts as
// the kernel holds them, security keys, the security object reached from a class or an attribute,
// and the enumeration of user groups with their rights. Every failing status becomes an error at
// once (check); a read that must give an object and gives none is an error too.
#pragma once

#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/ole_text.h"

#include <windows.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

using Microsoft::WRL::ComPtr;

// A text property of a kernel object, e.g. KernelText(cls, &IZClass::get_zrName).
template <class Object, class Getter> std::wstring KernelText(Object* object, Getter get) {
    Bstr text;
    check((object->*get)(text.Out()));
    return std::wstring(text.View());
}

// A boolean property of a kernel object, e.g. KernelBool(cls, &IZClass::get_zrBlocked).
template <class Object, class Getter> bool KernelBool(Object* object, Getter get) {
    VARIANT_BOOL value = VARIANT_FALSE;
    check((object->*get)(&value));
    return value != VARIANT_FALSE;
}

std::wstring NameOf(IZClass* cls);
std::wstring NameOf(IZClassValue* cval);

// A read that must give an object: a null result raises an error naming the operation.
template <class Interface>
ComPtr<Interface> Required(ComPtr<Interface> object, const wchar_t* what) {
    if (!object)
        throw LibraryError(E_POINTER, std::wstring(L"Ядро модели не вернуло объект: ") + what);
    return object;
}

ComPtr<IZClass> OwnerClassOf(IZClassValue* cval);
ComPtr<IZClassVector> ClassVectorOf(IZClass* cls);
ComPtr<IZClassVector> ClassVectorOf(IZModel* model);
ComPtr<IZModel> ModelOf(IZClass* cls);

// The 16-byte key under which the kernel keeps the rights of a class or an attribute: the four
// 32-bit words of zrGetSecurityKey in their order.
GUID SecurityKeyOf(IZClass* cls);
GUID SecurityKeyOf(IZClassValue* cval);

// The model's local security object; for a class through its class vector's model, for an
// attribute through its owner class.
ComPtr<IZLocalSecurity> LocalSecurityOf(IZModel* model);
ComPtr<IZLocalSecurity> LocalSecurityOf(IZClass* cls);
ComPtr<IZLocalSecurity> LocalSecurityOf(IZClassValue* cval);

// The rights value the kernel leaves untouched when a group has no entry for an object.
constexpr std::int32_t kNoRightsEntry = -1;

// The group's rights for the key, kNoRightsEntry when it has no entry.
std::int32_t RightsOf(IZLocalSecurity* security, long group, const GUID& key);

// The group's identifier (attribute 2) as variant text.
std::wstring GroupIdentifier(IZLocalSecurity* security, long group);

// Visits the properties of a list in their order, each with its name and value.
void ForEachProperty(IZProperties* props,
                     const std::function<void(const Bstr& name, const VARIANT& value)>& visit);

// The user groups of one model in the kernel's order with their identifiers, for the rights
// lines of one fragment. A group is read just before it is first visited, so what a visitor
// wrote stays when a later read fails; once read, the list serves the rest of the fragment, as
// the groups cannot change while a fragment is written. The security object is reached on first
// use, through the function given.
class GroupRights {
public:
    // The identifier comes as the inside of a scenario's string literal, placed once per group.
    using Visitor = std::function<void(const std::string& idLiteral, std::int32_t rights)>;

    explicit GroupRights(std::function<ComPtr<IZLocalSecurity>()> reachSecurity);

    // Visits every group with its identifier and its rights for the key (kNoRightsEntry when it
    // has none).
    void ForEach(const GUID& key, const Visitor& visit);

private:
    std::function<ComPtr<IZLocalSecurity>()> reachSecurity_;
    ComPtr<IZLocalSecurity> security_;
    std::vector<std::pair<LONG, std::string>> groups_; // handle, identifier's literal
    bool complete_ = false;
};

} // namespace kv
