// kvdemo: builds a small sample structure through the model kernel ("zkernel.ZModel"), stores
// it to a structure file (the first argument, default sample.ztp in the current folder), loads
// it back into a fresh model and prints what the loaded structure holds.
#include <zkernel.h>

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// A failed kernel call, with the kernel's own description of it.
class DemoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (length == 0)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr,
                        nullptr);
    return out;
}

void Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr))
        return;
    std::string message = std::string(what) + " failed";
    ComPtr<IErrorInfo> info;
    BSTR description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && SUCCEEDED(info->GetDescription(&description)) &&
        description) {
        message += ": " + Narrow(description, SysStringLen(description));
    }
    SysFreeString(description);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    throw DemoError(message + " (" + code + ")");
}

// Owns a BSTR made from a literal or a path, for the length of a call.
class Text {
public:
    explicit Text(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { SysFreeString(value_); }
    operator BSTR() const { return value_; }

private:
    BSTR value_;
};

std::string Read(HRESULT (STDMETHODCALLTYPE IZClass::*getter)(BSTR*), IZClass* cls) {
    BSTR value = nullptr;
    Check((cls->*getter)(&value), "reading a class");
    std::string text = Narrow(value, SysStringLen(value));
    SysFreeString(value);
    return text;
}

ComPtr<IZModel> NewModel() {
    CLSID clsid;
    Check(CLSIDFromProgID(L"zkernel.ZModel", &clsid), "finding zkernel.ZModel (is it registered?)");
    ComPtr<IZModel> model;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IZModel),
                           reinterpret_cast<void**>(model.GetAddressOf())),
          "creating zkernel.ZModel");
    return model;
}

ComPtr<IZClass> AddClass(IZClassVector* vector, const wchar_t* name, const wchar_t* screen) {
    ComPtr<IZClass> cls;
    Check(vector->zrAdd(Text(name), &cls), "adding a class");
    Check(cls->put_zrScreenName(Text(screen)), "naming a class");
    return cls;
}

ComPtr<IZClassValue> AddAttribute(IZClass* cls, const wchar_t* name, const wchar_t* screen,
                                  const wchar_t* unit) {
    ComPtr<IZClassValue> cval;
    Check(cls->zrAddClassValue(Text(name), &cval), "adding an attribute");
    Check(cval->put_zrScreenName(Text(screen)), "naming an attribute");
    Check(cval->put_zrMeasureUnit(Text(unit)), "setting a unit");
    return cval;
}

void SetProperty(IZClassValue* cval, const wchar_t* name, VARIANT value) {
    ComPtr<IZProperties> props;
    Check(cval->get_zrProperties(&props), "reading properties");
    Check(props->zrAddProp(Text(name), value), "adding a property");
}

void GiveRights(IZLocalSecurity* security, LONG group, IZClass* cls, LONG rights) {
    GUID key;
    Check(cls->get_zrGUID(&key), "reading a class identifier");
    Check(security->zrSetRights(group, &key, rights), "giving rights");
}

void BuildSample(IZModel* model) {
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "reading the class vector");
    ComPtr<IZClass> item = AddClass(vector.Get(), L"Item", L"Item of a process");
    ComPtr<IZClass> part = AddClass(vector.Get(), L"Part", L"Manufactured part");
    ComPtr<IZClass> assembly = AddClass(vector.Get(), L"Assembly", L"Assembly of parts");
    ComPtr<IZClass> operation = AddClass(vector.Get(), L"Operation", L"Process operation");

    ComPtr<IZClassValue> code = AddAttribute(item.Get(), L"Code", L"Designation", L"");
    ComPtr<IZClassValue> mass = AddAttribute(item.Get(), L"Mass", L"Mass", L"kg");
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_R8;
    V_R8(&value) = 0.001;
    SetProperty(mass.Get(), L"MinValue", value);
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = VARIANT_TRUE;
    SetProperty(code.Get(), L"Required", value);
    // Bases before own attributes: a recording recreates a class's own attributes after the
    // entries its base gives it, so this order is the one a replay gives back.
    Check(part->put_zrBaseClass(item.Get()), "setting a base class");
    Check(assembly->put_zrBaseClass(item.Get()), "setting a base class");
    AddAttribute(part.Get(), L"Material", L"Material", L"");
    AddAttribute(operation.Get(), L"Duration", L"Duration", L"min");

    Check(assembly->zrAddChildClass(Text(L"Part")), "linking classes");
    Check(assembly->zrAddChildClass(Text(L"Assembly")), "linking classes");
    Check(part->zrAddChildClass(Text(L"Operation")), "linking classes");

    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "reading the filters");
    Check(filters->zrCreateFilterEx(Text(L"Products"), Text(L"Parts and assemblies")),
          "creating a filter");
    Check(filters->zrAddConstraint(Text(L"Products"), Text(L"Part")), "adding a constraint");
    Check(filters->zrAddConstraint(Text(L"Products"), Text(L"Assembly")), "adding a constraint");
    Check(vector->put_zrPatchFunction(
              Text(L"Common"), Text(L"function Twice(x)\r\n  Twice = 2 * x\r\nend function")),
          "writing a module");

    ComPtr<IZModelAdmin> admin;
    Check(model->QueryInterface(__uuidof(IZModelAdmin),
                                reinterpret_cast<void**>(admin.GetAddressOf())),
          "reaching the administration interface");
    LONG designers = 0, workers = 0;
    Check(admin->zrAddGroup(Text(L"designers"), Text(L"Designers"), &designers), "adding a group");
    Check(admin->zrAddGroup(Text(L"workers"), Text(L"Shop floor"), &workers), "adding a group");
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "reading the security");
    GiveRights(security.Get(), designers, item.Get(), 15);
    GiveRights(security.Get(), designers, part.Get(), 15);
    GiveRights(security.Get(), workers, operation.Get(), 1);
}

void PrintSummary(IZModel* model) {
    BSTR name = nullptr;
    Check(model->get_zrModelName(&name), "reading the model name");
    std::printf("structure %s\n", Narrow(name, SysStringLen(name)).c_str());
    SysFreeString(name);

    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "reading the class vector");
    LONG classes = 0, attributes_total = 0, inherited_total = 0, links = 0;
    Check(vector->get_zrCount(&classes), "counting classes");
    for (LONG i = 0; i < classes; ++i) {
        ComPtr<IZClass> cls;
        Check(vector->zrItem(i, &cls), "reading a class");
        ComPtr<IZClass> base;
        Check(cls->get_zrBaseClass(&base), "reading a base class");
        LONG attributes = 0, children = 0;
        Check(cls->get_zrClassValuesCount(&attributes), "counting attributes");
        Check(cls->get_zrChildClassesCount(&children), "counting links");
        std::string names, child_names;
        for (LONG j = 0; j < attributes; ++j) {
            ComPtr<IZClassValue> cval;
            Check(cls->zriClassValueItem(j, &cval), "reading an attribute");
            ComPtr<IZClassValue> source;
            Check(cval->get_zrInheritedFrom(&source), "reading inheritance");
            BSTR attribute = nullptr;
            Check(cval->get_zrName(&attribute), "reading an attribute name");
            names += (j ? ", " : "") + Narrow(attribute, SysStringLen(attribute)) +
                     (source ? " (inherited)" : "");
            SysFreeString(attribute);
            inherited_total += source ? 1 : 0;
        }
        for (LONG j = 0; j < children; ++j) {
            ComPtr<IZClass> child;
            Check(cls->zriChildClassItem(j, &child), "reading a link");
            child_names += (j ? ", " : "") + Read(&IZClass::get_zrName, child.Get());
        }
        attributes_total += attributes;
        links += children;
        std::printf("  class %s%s%s\n    attributes: %s\n",
                    Read(&IZClass::get_zrName, cls.Get()).c_str(), base ? " : " : "",
                    base ? Read(&IZClass::get_zrName, base.Get()).c_str() : "",
                    names.empty() ? "-" : names.c_str());
        if (children)
            std::printf("    children: %s\n", child_names.c_str());
    }

    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "reading the filters");
    LONG filter_count = 0;
    Check(filters->get_zrFiltersCount(&filter_count), "counting filters");
    LONG modules = 0;
    for (;; ++modules) {
        BSTR module = nullptr;
        Check(vector->zrPatchFunctionName(modules, &module), "reading a module name");
        bool end = SysStringLen(module) == 0;
        SysFreeString(module);
        if (end)
            break;
    }
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "reading the security");
    LONG groups = 0;
    for (LONG group = 0;;) {
        Check(security->zrNextGroup(group, &group), "walking the groups");
        if (!group)
            break;
        ++groups;
    }
    std::printf("%ld classes, %ld attributes (%ld inherited), %ld links, %ld filters, "
                "%ld modules, %ld groups\n",
                classes, attributes_total, inherited_total, links, filter_count, modules, groups);
}

std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return full;
}

int Run(const std::wstring& file) {
    ComPtr<IZModel> model = NewModel();
    BuildSample(model.Get());
    Check(model->zrSaveModel(Text(file), nullptr), "storing the structure");
    std::printf("stored %s\n", Narrow(file.data(), file.size()).c_str());

    ComPtr<IZModel> loaded = NewModel();
    Check(loaded->zrLoadModel(Text(file), nullptr, 2), "loading the structure");
    PrintSummary(loaded.Get());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring file = FullPath(argc > 1 ? argv[1] : L"sample.ztp");
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "kvdemo: COM could not be initialised\n");
        return 1;
    }
    int status = 1;
    try {
        status = Run(file);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kvdemo: %s\n", error.what());
    }
    CoUninitialize();
    return status;
}
