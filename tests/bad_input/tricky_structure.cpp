#include "tricky_structure.h"

#include <oleauto.h>

const std::wstring kTrickyTexts[4] = {L"Quote\"d \"\"", L"Line\r\nBreak\rCr\nLf", L"100% %PATH%",
                                      L"<b>&amp; <!bold>"};

ComPtr<IZClass> AddClass(IZClassVector* vector, const std::wstring& name) {
    ComPtr<IZClass> cls;
    Check(vector->zrAdd(Text(name), &cls), "adding a class");
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
    Check(cls->zrAddClassValue(Text(L"attr " + text), &attribute), "adding an attribute");
    Check(attribute->put_zrScreenName(Text(text)), "screen name");
    Check(attribute->put_zrAliasName(Text(text)), "alias name");
    Check(attribute->put_zrGroup(Text(text)), "group");
    Check(attribute->put_zrFunctionCode(Text(WithCrLf(text))), "function code");
    Check(attribute->put_zrMeasureUnit(Text(text)), "measure unit");
    Check(attribute->put_zrMeasureEntity(Text(text)), "measure entity");
    ComPtr<IZProperties> properties;
    Check(attribute->get_zrProperties(&properties), "properties");
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    Check(properties->zrAddProp(Text(L"p " + text), value), "adding a property");
    VariantClear(&value);
}

namespace {

template <class Object> void GiveRights(IZModel* model, Object* object, LONG rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model->zrGetLocalSecurity(&security), "the security");
    LONG group = 0;
    Check(security->zrGroupByID(Text(L"g\"1 %x%"), &group), "finding a group");
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
        Check(classes.back()->put_zrScreenName(Text(L"screen " + text)), "screen name");
        AddAttribute(classes.back().Get(), text);
        GiveRights(model, classes.back().Get(), 7);
    }
    Check(classes[0]->zrAddChildClass(Text(kTrickyTexts[1])), "linking");
    ComPtr<IZFilterVector> filters;
    Check(vector->get_zrFilterVector(&filters), "the filters");
    Check(filters->zrCreateFilterEx(Text(kTrickyTexts[2]), Text(kTrickyTexts[3])), "a filter");
    Check(filters->zrAddConstraint(Text(kTrickyTexts[2]), Text(kTrickyTexts[0])), "constraint");
    Check(vector->put_zrPatchFunction(Text(L"Module " + kTrickyTexts[2]),
                                      Text(WithCrLf(kTrickyTexts[1] + kTrickyTexts[0]))),
          "a module");
}
