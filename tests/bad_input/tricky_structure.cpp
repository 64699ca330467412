#include "tricky_structure.h"

#include <oleauto.h>

using namespace kv;

const std::wstring kTrickyTexts[4] = {L"Quote\"d \"\"", L"Line\r\nBreak\rCr\nLf", L"100% %PATH%",
                                      L"<b>&amp; <!bold>"};

ComPtr<IZClass> AddClass(IZClassVector* vector, const std::wstring& name) {
    ComPtr<IZClass> cls;
    Check(vector->zrAdd(Bstr(name).Get(), &cls), "adding a class");
    return cls;
}

namespace {

// Function code and module texts come back from a scenario with every line break as CR LF.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            i += text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n';
            result += L"\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace

// An attribute whose every text is `text`, with a property named and valued by it.
void AddAttribute(IZClass* cls, const std::wstring& text) {
    ComPtr<IZClassValue> attribute;
    Check(cls->zrAddClassValue(Bstr(L"attr " + text).Get(), &attribute), "adding an attribute");
    Check(attribute->put_zrScreenName(Bstr(text).Get()), "screen name");
    Check(attribute->put_zrAliasName(Bstr(text).Get()), "alias name");
    Check(attribute->put_zrGroup(Bstr(text).Get()), "group");
    Check(attribute->put_zrFunctionCode(Bstr(WithCrLf(text)).Get()), "function code");
    Check(attribute->put_zrMeasureUnit(Bstr(text).Get()), "measure unit");
    Check(attribute->put_zrMeasureEntity(Bstr(text).Get()), "measure entity");
    ComPtr<IZProperties> properties;
    Check(attribute->get_zrProperties(&properties), "properties");
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    Check(properties->zrAddProp(Bstr(L"p " + text).Get(), value), "adding a property");
    VariantClear(&value);
}

namespace {

template <class Object> void GiveRights(IZModel* model, Object* object, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "the security");
    LONG group = 0;
    Check(security->zrGroupByID(Bstr(L"g\"1 %x%").Get(), &group), "finding a group");
    GUID key;
    Check(object->get_zrGUID(&key), "an identifier");
    Check(security->zrSetRights(group, &key, rights), "giving rights");
}

} // namespace

// Every text of a structure that a recording carries, once with each tricky text.
void BuildTrickyStructure(IZModel* model) {
    AddGroups(model, {L"g\"1 %x%"});
    ComPtr<IZClassVector> vector;
    Check(model->zrGetClassVector(&vector), "the class vector");
    std::vector<ComPtr<IZClass>> classes;
    for (const std::wstring& text : kTrickyTexts) {
        classes.push_back(AddClass(vector.Get(), text));
        Check(classes.back()->put_zrScreenName(Bstr(L"screen " + text).Get()), "screen name");
        AddAttribute(classes.back().Get(), text);
        GiveRights(model, classes.back().Get(), 7);
    }
    Check(classes[0]->zrAddChildClass(Bstr(kTrickyTexts[1]).Get()), "linking");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "the filters");
    Check(filters->zrCreateFilterEx(Bstr(kTrickyTexts[2]).Get(), Bstr(kTrickyTexts[3]).Get()),
          "a filter");
    Check(filters->zrAddConstraint(Bstr(kTrickyTexts[2]).Get(), Bstr(kTrickyTexts[0]).Get()),
          "constraint");
    Check(vector->put_zrPatchFunction(Bstr(L"Module " + kTrickyTexts[2]).Get(),
                                      Bstr(WithCrLf(kTrickyTexts[1] + kTrickyTexts[0])).Get()),
          "a module");
}
