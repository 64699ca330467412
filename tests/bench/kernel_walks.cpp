#include "kernel_walks.h"

#include "kvhost_support.h"
#include "platform/guid_conversion.h"
#include "platform/ole_text.h"

#include <type_traits>
#include <unordered_map>
#include <vector>

using namespace kv;

namespace kvbench {
namespace {

using kvhost::Check;
using kvhost::OutText;
using Microsoft::WRL::ComPtr;

// A count or another plain value.
template <class Object, class Interface, class Value>
Value Get(Object* object, HRESULT (STDMETHODCALLTYPE Interface::*get)(Value*)) {
    Value value{};
    Check((object->*get)(&value), "reading a value");
    return value;
}

// An object by its position, e.g. ItemAt(vector, &IZClassVector::zrItem, 3).
template <class Object, class Interface, class Item>
ComPtr<Item> ItemAt(Object* object, HRESULT (STDMETHODCALLTYPE Interface::*item)(LONG, Item**),
                    LONG index) {
    ComPtr<Item> found;
    Check((object->*item)(index, found.GetAddressOf()), "reading an item");
    return found;
}

// A value read and taken as the library takes it: texts and identifiers as ANSI text.
template <class Object, class Interface, class Value>
void Read(Object* object, HRESULT (STDMETHODCALLTYPE Interface::*get)(Value*)) {
    Value value = Get(object, get);
    if constexpr (std::is_same_v<Value, BSTR>) {
        kv::ScenarioAnsiFromBstr(value);
        SysFreeString(value);
    } else if constexpr (std::is_same_v<Value, GUID>) {
        kv::GuidText(value);
    }
}

void ReadText(BSTR text) {
    kv::ScenarioAnsiFromBstr(text);
}

void ReadValue(VARIANT& value) {
    kv::ScenarioVariantText(value);
    VariantClear(&value);
}

void ReadVariant(IZLocalSecurity* security, LONG group, LONG attribute) {
    VARIANT value;
    VariantInit(&value);
    Check(security->zrGroupAttribute(group, 0, attribute, &value), "reading a group attribute");
    ReadValue(value);
}

template <class Object> GUID KeyOf(Object* object) {
    LONG words[4] = {};
    Check(object->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]),
          "reading a security key");
    GUID key;
    static_assert(sizeof key == sizeof words);
    memcpy(&key, words, sizeof key);
    return key;
}

ComPtr<IZClassVector> VectorOf(IZModel* model) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(vector.GetAddressOf()), "reading the class vector");
    return vector;
}

LONG ClassCount(IZClassVector* vector) {
    return Get(vector, &IZClassVector::get_zrCount);
}

ComPtr<IZClass> ClassAt(IZClassVector* vector, LONG index) {
    return ItemAt(vector, &IZClassVector::zrItem, index);
}

LONG EntryCount(IZClass* cls) {
    return Get(cls, &IZClass::get_zrClassValuesCount);
}

ComPtr<IZClassValue> EntryAt(IZClass* cls, LONG index) {
    return ItemAt(cls, &IZClass::zriClassValueItem, index);
}

// The user groups with their identifiers read, as every rights line names its group.
struct Groups {
    ComPtr<IZLocalSecurity> security;
    std::vector<LONG> handles;
};

Groups ReadGroups(IZModel* model) {
    Groups groups;
    Check(model->zrGetLocalSecurity(groups.security.GetAddressOf()), "reading the security");
    for (LONG group = 0;;) {
        Check(groups.security->zrNextGroup(group, &group), "walking the groups");
        if (!group)
            return groups;
        ReadVariant(groups.security.Get(), group, 2);
        groups.handles.push_back(group);
    }
}

void ReadRights(const Groups& groups, const GUID& key) {
    for (const LONG group : groups.handles) {
        LONG rights = -1;
        GUID argument = key;
        Check(groups.security->zrGetRights(group, &argument, &rights), "reading rights");
    }
}

void ReadProperties(IZProperties* properties) {
    for (LONG i = 0, count = Get(properties, &IZProperties::get_zrCount); i < count; ++i) {
        OutText name;
        VARIANT value;
        VariantInit(&value);
        Check(properties->zrPropItem(i, name.put(), &value), "reading a property");
        ReadText(name.get());
        ReadValue(value);
    }
}

// The fields a recording writes; with every_field also the blocked flag and the precision.
void ReadAttributeFields(IZClassValue* cval, bool every_field) {
    Read(cval, &IZClassValue::get_zrGUID);
    Read(cval, &IZClassValue::get_zrName);
    Read(cval, &IZClassValue::get_zrType);
    Read(cval, &IZClassValue::get_zrDataType);
    Read(cval, &IZClassValue::get_zrScreenName);
    Read(cval, &IZClassValue::get_zrAliasName);
    Read(cval, &IZClassValue::get_zrGroup);
    Read(cval, &IZClassValue::get_zrFunctionCode);
    Read(cval, &IZClassValue::get_zrMeasureUnit);
    Read(cval, &IZClassValue::get_zrMeasureEntity);
    Read(cval, &IZClassValue::get_zrForbidInput);
    if (every_field) {
        Read(cval, &IZClassValue::get_zrBlocked);
        Read(cval, &IZClassValue::get_zrPrecision);
    }
    ComPtr<IZProperties> properties;
    Check(cval->get_zrProperties(properties.GetAddressOf()), "reading properties");
    ReadProperties(properties.Get());
}

// A class's own fields, its attribute entries (the fields of own ones) and the rights of every
// group on each; inherited entries only when every_entry asks for them.
void ReadClassValues(IZClass* cls, const Groups& groups, bool every_entry) {
    Read(cls, &IZClass::get_zrName);
    Read(cls, &IZClass::get_zrGUID);
    Read(cls, &IZClass::get_zrScreenName);
    if (every_entry)
        Read(cls, &IZClass::get_zrBlocked);
    ComPtr<IZClassPosition> position;
    Check(cls->QueryInterface(__uuidof(IZClassPosition),
                              reinterpret_cast<void**>(position.GetAddressOf())),
          "reading the position");
    LONG x = 0, y = 0;
    Check(position->GetPosition(&x, &y), "reading the position");
    ComPtr<IZClass> base;
    Check(cls->get_zrBaseClass(base.GetAddressOf()), "reading the base class");
    if (base)
        Read(base.Get(), &IZClass::get_zrName);
    ReadRights(groups, KeyOf(cls));

    for (LONG i = 0, count = EntryCount(cls); i < count; ++i) {
        ComPtr<IZClassValue> entry = EntryAt(cls, i);
        ComPtr<IZClassValue> inherited_from;
        Check(entry->get_zrInheritedFrom(inherited_from.GetAddressOf()), "reading inheritance");
        if (inherited_from && !every_entry)
            continue;
        if (inherited_from)
            Read(entry.Get(), &IZClassValue::get_zrName);
        else
            ReadAttributeFields(entry.Get(), every_entry);
        ReadRights(groups, KeyOf(entry.Get()));
    }
}

void ReadChildNames(IZClass* cls) {
    for (LONG i = 0, count = Get(cls, &IZClass::get_zrChildClassesCount); i < count; ++i) {
        const ComPtr<IZClass> child = ItemAt(cls, &IZClass::zriChildClassItem, i);
        if (child)
            Read(child.Get(), &IZClass::get_zrName);
    }
}

ComPtr<IUnknown> Identity(IUnknown* object) {
    ComPtr<IUnknown> identity;
    Check(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())),
          "asking for an identity");
    return identity;
}

// Every class's parents, in the vector's order, from one pass over the children.
class ParentLists {
public:
    explicit ParentLists(IZClassVector* vector) {
        for (LONG i = 0, count = ClassCount(vector); i < count; ++i) {
            ComPtr<IZClass> parent = ClassAt(vector, i);
            const LONG children = Get(parent.Get(), &IZClass::get_zrChildClassesCount);
            for (LONG j = 0; j < children; ++j) {
                const ComPtr<IZClass> child = ItemAt(parent.Get(), &IZClass::zriChildClassItem, j);
                if (child)
                    parents_[Identity(child.Get()).Get()].push_back(parent);
            }
            held_.push_back(std::move(parent)); // keeps the identities in the map alive
        }
    }
    void ReadNames(IZClass* cls) const {
        const auto found = parents_.find(Identity(cls).Get());
        if (found == parents_.end())
            return;
        for (const ComPtr<IZClass>& parent : found->second)
            Read(parent.Get(), &IZClass::get_zrName);
    }

private:
    std::vector<ComPtr<IZClass>> held_;
    std::unordered_map<IUnknown*, std::vector<ComPtr<IZClass>>> parents_;
};

ComPtr<IZFilterVector> FiltersOf(IZClassVector* vector) {
    ComPtr<IZFilterVector> filters;
    Check(vector->QueryInterface(__uuidof(IZFilterVector),
                                 reinterpret_cast<void**>(filters.GetAddressOf())),
          "reading the filters");
    return filters;
}

void ReadFilters(IZFilterVector* filters) {
    for (LONG i = 0, count = Get(filters, &IZFilterVector::get_zrFiltersCount); i < count; ++i) {
        OutText name, caption;
        Check(filters->zrFilterName(i, name.put()), "reading a filter name");
        Check(filters->zrFilterCaption(i, caption.put()), "reading a filter caption");
        ReadText(name.get());
        ReadText(caption.get());
        LONG constraints = 0;
        Check(filters->zrConstraintsCount(name.get(), &constraints), "counting constraints");
        for (LONG j = 0; j < constraints; ++j) {
            OutText constraint;
            Check(filters->zrConstraintItem(name.get(), j, constraint.put()),
                  "reading a constraint");
            ReadText(constraint.get());
        }
    }
}

void ReadModules(IZClassVector* vector) {
    for (LONG k = 0;; ++k) {
        OutText name;
        Check(vector->zrPatchFunctionName(k, name.put()), "reading a module name");
        if (SysStringLen(name.get()) == 0)
            return;
        OutText text;
        Check(vector->get_zrPatchFunction(name.get(), text.put()), "reading a module");
        ReadText(name.get());
        ReadText(text.get());
    }
}

// One group's section of a recording: every class and attribute entry with its rights.
void ReadGroupSection(IZClassVector* vector, const Groups& groups, LONG group) {
    ReadVariant(groups.security.Get(), group, 1);
    const Groups one{groups.security, {group}};
    for (LONG i = 0, count = ClassCount(vector); i < count; ++i) {
        ComPtr<IZClass> cls = ClassAt(vector, i);
        Read(cls.Get(), &IZClass::get_zrName);
        ReadRights(one, KeyOf(cls.Get()));
        for (LONG j = 0, entries = EntryCount(cls.Get()); j < entries; ++j) {
            ComPtr<IZClassValue> entry = EntryAt(cls.Get(), j);
            Read(entry.Get(), &IZClassValue::get_zrName);
            ReadRights(one, KeyOf(entry.Get()));
        }
    }
}

} // namespace

void WalkRecordedValues(IZModel* model) {
    const ComPtr<IZClassVector> vector = VectorOf(model);
    const ParentLists parents(vector.Get());
    for (LONG i = 0, count = ClassCount(vector.Get()); i < count; ++i) {
        ComPtr<IZClass> cls = ClassAt(vector.Get(), i);
        ReadClassValues(cls.Get(), ReadGroups(model), false);
        ReadChildNames(cls.Get());
        parents.ReadNames(cls.Get());
    }
    ReadFilters(FiltersOf(vector.Get()).Get());
    ReadModules(vector.Get());
    const Groups groups = ReadGroups(model);
    for (const LONG group : groups.handles)
        ReadGroupSection(vector.Get(), groups, group);
}

void WalkPageValues(IZModel* model) {
    Read(model, &IZModel::get_zrModelName);
    const ComPtr<IZClassVector> vector = VectorOf(model);
    const ComPtr<IZFilterVector> filters = FiltersOf(vector.Get());
    for (LONG i = 0, count = ClassCount(vector.Get()); i < count; ++i) {
        ComPtr<IZClass> cls = ClassAt(vector.Get(), i);
        Read(cls.Get(), &IZClass::get_zrName);
        Read(cls.Get(), &IZClass::get_zrScreenName);
        for (LONG j = 0, entries = EntryCount(cls.Get()); j < entries; ++j) {
            ComPtr<IZClassValue> entry = EntryAt(cls.Get(), j);
            Read(entry.Get(), &IZClassValue::get_zrName);
            Read(entry.Get(), &IZClassValue::get_zrType);
            Read(entry.Get(), &IZClassValue::get_zrDataType);
            Read(entry.Get(), &IZClassValue::get_zrScreenName);
            ComPtr<IZProperties> properties;
            Check(entry->QueryInterface(__uuidof(IZProperties),
                                        reinterpret_cast<void**>(properties.GetAddressOf())),
                  "reading properties");
            ReadProperties(properties.Get());
        }
        ReadChildNames(cls.Get());
    }
    ReadFilters(filters.Get());
}

void WalkStructure(IZModel* model) {
    const ComPtr<IZClassVector> vector = VectorOf(model);
    const Groups groups = ReadGroups(model);
    for (const LONG group : groups.handles)
        ReadVariant(groups.security.Get(), group, 1);
    for (LONG i = 0, count = ClassCount(vector.Get()); i < count; ++i) {
        ComPtr<IZClass> cls = ClassAt(vector.Get(), i);
        ReadClassValues(cls.Get(), groups, true);
        ReadChildNames(cls.Get());
    }
    ReadFilters(FiltersOf(vector.Get()).Get());
    ReadModules(vector.Get());
}

} // namespace kvbench
