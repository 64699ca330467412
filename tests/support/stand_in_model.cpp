#include "support/stand_in_model.h"

#include <stdexcept>

namespace kvtest {
namespace {

std::string HexStatus(HRESULT hr) {
    char text[16];
    snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

GUID KeyOf(IZClass* cls) {
    LONG words[4] = {};
    Check(cls->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]), "zrGetSecurityKey");
    GUID key;
    memcpy(&key, words, sizeof key);
    return key;
}

GUID KeyOf(IZClassValue* cval) {
    LONG words[4] = {};
    Check(cval->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]), "zrGetSecurityKey");
    GUID key;
    memcpy(&key, words, sizeof key);
    return key;
}

void SetGuid(IUnknown* object, const wchar_t* guid) {
    if (!guid)
        return;
    ComPtr<IZObject> identified;
    Check(object->QueryInterface(IID_PPV_ARGS(&identified)), "QueryInterface IZObject");
    GUID value = GuidFromText(guid);
    Check(identified->put_zrGUID(&value), "put_zrGUID");
}

class Text {
public:
    explicit Text(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Text() { SysFreeString(value_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR Get() const { return value_; }

private:
    BSTR value_;
};

void AddProperty(IZProperties* props, const wchar_t* name, VARIANT value) {
    Text nameText(name);
    Check(props->zrAddProp(nameText.Get(), value), "zrAddProp");
}

void AddTextProperty(IZProperties* props, const wchar_t* name, const wchar_t* value) {
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(value);
    AddProperty(props, name, text);
    VariantClear(&text);
}

void AddIntegerProperty(IZProperties* props, const wchar_t* name, LONG value) {
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = value;
    AddProperty(props, name, number);
}

} // namespace

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw std::runtime_error(std::string(what) + " failed: " + HexStatus(hr));
}

GUID GuidFromText(const wchar_t* text) {
    GUID value;
    Check(CLSIDFromString(text, &value), "CLSIDFromString");
    return value;
}

bool StandInModel::Registered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"zkernel.ZModel", &clsid));
}

StandInModel::StandInModel() {
    CLSID clsid;
    Check(CLSIDFromProgID(L"zkernel.ZModel", &clsid), "CLSIDFromProgID zkernel.ZModel");
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model_)),
          "CoCreateInstance zkernel.ZModel");
    Check(model_->zrGetClassVector(&classes_), "zrGetClassVector");
}

ComPtr<IZClass> StandInModel::AddClass(const std::wstring& name, const wchar_t* guid) {
    ComPtr<IZClass> cls;
    Text text(name);
    Check(classes_->zrAdd(text.Get(), &cls), "zrAdd");
    SetGuid(cls.Get(), guid);
    return cls;
}

ComPtr<IZClassValue> StandInModel::AddAttribute(IZClass* cls, const std::wstring& name,
                                                const wchar_t* guid) {
    ComPtr<IZClassValue> cval;
    Text text(name);
    Check(cls->zrAddClassValue(text.Get(), &cval), "zrAddClassValue");
    SetGuid(cval.Get(), guid);
    return cval;
}

ComPtr<IZClass> StandInModel::Locate(const std::wstring& name) const {
    ComPtr<IZClass> cls;
    Text text(name);
    Check(classes_->zrLocate(text.Get(), &cls), "zrLocate");
    return cls;
}

ComPtr<IZFilterVector> StandInModel::Filters() const {
    ComPtr<IZFilterVector> filters;
    Check(classes_->get_zrFilterVector(&filters), "zrFilterVector");
    return filters;
}

void StandInModel::AddLink(const std::wstring& parent, const std::wstring& child) {
    ComPtr<IZClass> cls = Locate(parent);
    if (!cls)
        throw std::runtime_error("no class to link from");
    Text childName(child);
    Check(cls->zrAddChildClass(childName.Get()), "zrAddChildClass");
}

void StandInModel::RemoveLink(const std::wstring& parent, const std::wstring& child) {
    ComPtr<IZClass> cls = Locate(parent);
    if (!cls)
        throw std::runtime_error("no class to unlink from");
    Text childName(child);
    Check(cls->zrRemoveChildClass(childName.Get()), "zrRemoveChildClass");
}

bool StandInModel::HasLink(const std::wstring& parent, const std::wstring& child) const {
    ComPtr<IZClass> cls = Locate(parent);
    if (!cls)
        throw std::runtime_error("no class to look for a link in");
    Text childName(child);
    ComPtr<IZClass> found;
    Check(cls->zrnChildClassItem(childName.Get(), &found), "zrnChildClassItem");
    return found != nullptr;
}

void StandInModel::SetModelName(const std::wstring& name) {
    ComPtr<IZModelAdmin> admin;
    Check(model_.As(&admin), "QueryInterface IZModelAdmin");
    Text text(name);
    Check(admin->put_zrModelName(text.Get()), "put_zrModelName");
}

void StandInModel::AddProperty(IZClassValue* cval, const std::wstring& name,
                               const std::wstring& text) {
    ComPtr<IZProperties> props;
    Check(cval->get_zrProperties(&props), "zrProperties");
    AddTextProperty(props.Get(), name.c_str(), text.c_str());
}

void StandInModel::AddProperty(IZClassValue* cval, const std::wstring& name, long number) {
    ComPtr<IZProperties> props;
    Check(cval->get_zrProperties(&props), "zrProperties");
    AddIntegerProperty(props.Get(), name.c_str(), number);
}

long StandInModel::AddGroup(const wchar_t* id, const wchar_t* name) {
    ComPtr<IZModelAdmin> admin;
    Check(model_.As(&admin), "QueryInterface IZModelAdmin");
    Text idText(id);
    Text nameText(name);
    LONG group = 0;
    Check(admin->zrAddGroup(idText.Get(), nameText.Get(), &group), "zrAddGroup");
    return group;
}

void StandInModel::SetRights(long group, IZClass* cls, long rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model_->zrGetLocalSecurity(&security), "zrGetLocalSecurity");
    GUID key = KeyOf(cls);
    Check(security->zrSetRights(group, &key, rights), "zrSetRights");
}

void StandInModel::SetRights(long group, IZClassValue* cval, long rights) {
    ComPtr<IZLocalSecurity> security;
    Check(model_->zrGetLocalSecurity(&security), "zrGetLocalSecurity");
    GUID key = KeyOf(cval);
    Check(security->zrSetRights(group, &key, rights), "zrSetRights");
}

long StandInModel::Rights(const wchar_t* groupId, const GUID& key) const {
    ComPtr<IZLocalSecurity> security;
    Check(model_->zrGetLocalSecurity(&security), "zrGetLocalSecurity");
    Text id(groupId);
    LONG group = 0;
    Check(security->zrGroupByID(id.Get(), &group), "zrGroupByID");
    LONG rights = -1;
    GUID keyArgument = key;
    Check(security->zrGetRights(group, &keyArgument, &rights), "zrGetRights");
    return rights;
}

long StandInModel::Rights(const wchar_t* groupId, IZClass* cls) const {
    return Rights(groupId, KeyOf(cls));
}

long StandInModel::Rights(const wchar_t* groupId, IZClassValue* cval) const {
    return Rights(groupId, KeyOf(cval));
}

void StandInModel::AddFilter(const wchar_t* name, const wchar_t* caption) {
    Text nameText(name);
    Text captionText(caption);
    Check(Filters()->zrCreateFilterEx(nameText.Get(), captionText.Get()), "zrCreateFilterEx");
}

void StandInModel::AddConstraint(const wchar_t* filter, const wchar_t* className) {
    ComPtr<IZFilterVector> filters = Filters();
    Text filterText(filter);
    Text classText(className);
    Check(filters->zrAddConstraint(filterText.Get(), classText.Get()), "zrAddConstraint");
}

std::wstring StandInModel::ClassNames() const {
    LONG count = 0;
    Check(classes_->get_zrCount(&count), "zrCount");
    std::wstring names;
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClass> cls;
        Check(classes_->zrItem(i, &cls), "zrItem");
        BSTR name = nullptr;
        Check(cls->get_zrName(&name), "zrName");
        names += (i ? L"|" : L"") + std::wstring(name, SysStringLen(name));
        SysFreeString(name);
    }
    return names;
}

std::wstring StandInModel::AttributeNames(IZClass* cls) {
    LONG count = 0;
    Check(cls->get_zrClassValuesCount(&count), "zrClassValuesCount");
    std::wstring names;
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IZClassValue> cval;
        Check(cls->zriClassValueItem(i, &cval), "zriClassValueItem");
        BSTR name = nullptr;
        Check(cval->get_zrName(&name), "zrName");
        names += (i ? L"|" : L"") + std::wstring(name, SysStringLen(name));
        SysFreeString(name);
    }
    return names;
}

OrderModel BuildOrderModel() {
    OrderModel m;
    StandInModel& model = m.model;
    const long admins = model.AddGroup(L"admins", L"Администраторы");
    const long operators = model.AddGroup(L"operators", L"Операторы");
    const long guests = model.AddGroup(L"guests", L"Гости");

    m.item = model.AddClass(L"Item", L"{1A000000-0000-0000-0000-000000000001}");
    m.code = model.AddAttribute(m.item.Get(), L"Code", L"{2A000000-0000-0000-0000-000000000001}");
    m.customer = model.AddClass(L"Customer");
    m.order = model.AddClass(L"Order", L"{1A000000-0000-0000-0000-000000000003}");
    m.line = model.AddClass(L"Line");
    m.empty = model.AddClass(L"Empty", L"{1A000000-0000-0000-0000-000000000005}");

    IZClass* order = m.order.Get();
    SetText(order, &IZClass::put_zrScreenName, L"Заказ");
    ComPtr<IZClassPosition> position;
    Check(order->QueryInterface(IID_PPV_ARGS(&position)), "QueryInterface IZClassPosition");
    Check(position->SetPosition(120, -40), "SetPosition");
    Check(order->put_zrBaseClass(m.item.Get()), "put_zrBaseClass");
    Check(order->put_zrBlocked(VARIANT_TRUE), "put_zrBlocked");
    model.AddLink(L"Order", L"Line");
    model.AddLink(L"Customer", L"Order");
    model.SetRights(admins, order, 255);
    model.SetRights(operators, order, 0);

    Check(order->zriClassValueItem(0, &m.orderCode), "zriClassValueItem");
    m.number = model.AddAttribute(order, L"Number", L"{2A000000-0000-0000-0000-000000000002}");
    IZClassValue* number = m.number.Get();
    Check(number->put_zrType(3), "put_zrType");
    GUID dataType = GuidFromText(L"{3A000000-0000-0000-0000-000000000001}");
    Check(number->put_zrDataType(&dataType), "put_zrDataType");
    SetText(number, &IZClassValue::put_zrScreenName, L"Номер");
    SetText(number, &IZClassValue::put_zrAliasName, L"num");
    SetText(number, &IZClassValue::put_zrGroup, L"Main");
    Check(number->put_zrBlocked(VARIANT_TRUE), "put_zrBlocked");
    SetText(number, &IZClassValue::put_zrMeasureUnit, L"шт");
    SetText(number, &IZClassValue::put_zrMeasureEntity, L"count");
    Check(number->put_zrForbidInput(VARIANT_TRUE), "put_zrForbidInput");
    ComPtr<IZProperties> props;
    Check(number->get_zrProperties(&props), "zrProperties");
    AddTextProperty(props.Get(), L"format", L"000");
    AddTextProperty(props.Get(), L"hint", L"say \"hi\"");
    AddIntegerProperty(props.Get(), L"width", 12);
    model.SetRights(admins, number, 7);
    model.SetRights(guests, number, 0);

    m.total = model.AddAttribute(order, L"Total", L"{2A000000-0000-0000-0000-000000000003}");
    SetText(m.total.Get(), &IZClassValue::put_zrFunctionCode, L"\r\nTotal = Price * Count\n");

    model.SetRights(admins, m.empty.Get(), 1);

    model.AddFilter(L"Active", L"Активные");
    model.AddConstraint(L"Active", L"Order");
    model.AddConstraint(L"Active", L"Line");
    model.AddFilter(L"Archive", L"Архив");
    model.AddConstraint(L"Archive", L"Line");
    return m;
}

} // namespace kvtest
