#include "model_description.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

std::string Utf8(BSTR value) {
    int length = static_cast<int>(SysStringLen(value));
    if (!length)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, value, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, length, text.data(), size, nullptr, nullptr);
    return text;
}

// A BSTR filled by a call.
struct OutText {
    BSTR value = nullptr;
    ~OutText() { SysFreeString(value); }
    std::string utf8() const { return Utf8(value); }
};

struct OwnedBstr {
    BSTR value;
    explicit OwnedBstr(const std::string& utf8) {
        int size =
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            size);
        value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    ~OwnedBstr() { SysFreeString(value); }
};

template <class Object> std::string NameOf(Object* object) {
    OutText name;
    Check(object->get_zrName(&name.value), "reading a name");
    return name.utf8();
}

struct Group {
    LONG handle;
    std::string identifier;
};

std::vector<Group> Groups(IZLocalSecurity* security) {
    std::vector<Group> groups;
    for (LONG group = 0;;) {
        Check(security->zrNextGroup(group, &group), "walking the groups");
        if (!group)
            return groups;
        VARIANT value;
        VariantInit(&value);
        Check(security->zrGroupAttribute(group, 0, 2, &value), "reading a group identifier");
        Check(VariantChangeType(&value, &value, 0, VT_BSTR), "group identifier as text");
        groups.push_back({group, Utf8(V_BSTR(&value))});
        VariantClear(&value);
    }
}

void DescribeRights(IZLocalSecurity* security, const std::vector<Group>& groups, GUID key,
                    const std::string& what, std::vector<std::string>& lines) {
    for (const Group& group : groups) {
        LONG rights = -1;
        Check(security->zrGetRights(group.handle, &key, &rights), "reading rights");
        if (rights != -1)
            lines.push_back("rights " + group.identifier + " " + what + " = " +
                            std::to_string(rights));
    }
}

void DescribeClasses(IZClassVector* vector, IZLocalSecurity* security,
                     const std::vector<Group>& groups, std::vector<std::string>& lines) {
    LONG count = 0;
    Check(vector->get_zrCount(&count), "counting classes");
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClass> cls;
        Check(vector->zrItem(i, &cls), "reading a class");
        const std::string name = NameOf(cls.Get());
        ComPtr<IZClass> base;
        Check(cls->get_zrBaseClass(&base), "reading a base");
        lines.push_back("class " + name + (base ? " : " + NameOf(base.Get()) : ""));
        GUID key;
        Check(cls->get_zrGUID(&key), "reading a class identifier");
        DescribeRights(security, groups, key, name, lines);

        LONG attributes = 0;
        Check(cls->get_zrClassValuesCount(&attributes), "counting attributes");
        std::string list;
        for (LONG j = 0; j < attributes; ++j) {
            ComPtr<IZClassValue> cval;
            Check(cls->zriClassValueItem(j, &cval), "reading an attribute");
            const std::string attribute = NameOf(cval.Get());
            list += (j ? ", " : "") + attribute;
            Check(cval->get_zrGUID(&key), "reading an attribute identifier");
            DescribeRights(security, groups, key, name + "." + attribute, lines);
        }
        lines.push_back("attributes " + name + ": " + list);

        LONG children = 0;
        Check(cls->get_zrChildClassesCount(&children), "counting links");
        for (LONG j = 0; j < children; ++j) {
            ComPtr<IZClass> child;
            Check(cls->zriChildClassItem(j, &child), "reading a link");
            lines.push_back("link " + name + " > " + NameOf(child.Get()));
        }
    }
}

void DescribeFilters(IZFilterVector* filters, std::vector<std::string>& lines) {
    LONG count = 0;
    Check(filters->get_zrFiltersCount(&count), "counting filters");
    for (LONG i = 0; i < count; ++i) {
        OutText name;
        Check(filters->zrFilterName(i, &name.value), "reading a filter name");
        OwnedBstr filter(name.utf8());
        LONG constraints = 0;
        Check(filters->zrConstraintsCount(filter.value, &constraints), "counting constraints");
        std::vector<std::string> classes;
        for (LONG j = 0; j < constraints; ++j) {
            OutText item;
            Check(filters->zrConstraintItem(filter.value, j, &item.value), "reading a constraint");
            classes.push_back(item.utf8());
        }
        std::sort(classes.begin(), classes.end()); // constraints compare as a set
        std::string list;
        for (const std::string& cls : classes)
            list += " " + cls;
        lines.push_back("filter " + name.utf8() + ":" + list);
    }
}

void DescribeModules(IZClassVector* vector, std::vector<std::string>& lines) {
    for (LONG k = 0;; ++k) {
        OutText name;
        Check(vector->zrPatchFunctionName(k, &name.value), "reading a module name");
        if (!SysStringLen(name.value))
            return;
        OutText text;
        Check(vector->get_zrPatchFunction(name.value, &text.value), "reading a module");
        lines.push_back("module " + name.utf8() + ": " + text.utf8());
    }
}

} // namespace

std::string DescribeModel(IZModel* model) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "reading the class vector");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "reading the filters");
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "reading the security");

    std::vector<std::string> lines;
    const std::vector<Group> groups = Groups(security.Get());
    DescribeClasses(vector.Get(), security.Get(), groups, lines);
    DescribeFilters(filters.Get(), lines);
    DescribeModules(vector.Get(), lines);
    // Classes, links and filters compare as sets; attribute order stays within its line.
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
