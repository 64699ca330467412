#include "kernel/kernel_reads.h"

#include "platform/scenario_text.h"

#include <cstring>

namespace kv {
namespace {

GUID KeyFromWords(const LONG (&words)[4]) {
    GUID key;
    static_assert(sizeof(key) == sizeof(words));
    std::memcpy(&key, words, sizeof(key));
    return key;
}

} // namespace

std::wstring NameOf(IZClass* cls) {
    return KernelText(cls, &IZClass::get_zrName);
}

std::wstring NameOf(IZClassValue* cval) {
    return KernelText(cval, &IZClassValue::get_zrName);
}

ComPtr<IZClass> OwnerClassOf(IZClassValue* cval) {
    ComPtr<IZClass> owner;
    check(cval->get_zrOwnerClass(&owner));
    return Required(std::move(owner), L"zrOwnerClass");
}

ComPtr<IZClassVector> ClassVectorOf(IZClass* cls) {
    ComPtr<IZClassVector> vector;
    check(cls->get_zrClassVector(&vector));
    return Required(std::move(vector), L"zrClassVector");
}

ComPtr<IZClassVector> ClassVectorOf(IZModel* model) {
    ComPtr<IZClassVector> vector;
    check(model->zrGetClassVector(&vector));
    return Required(std::move(vector), L"zrGetClassVector");
}

ComPtr<IZModel> ModelOf(IZClass* cls) {
    ComPtr<IZModel> model;
    check(ClassVectorOf(cls)->get_zrModel(&model));
    return Required(std::move(model), L"zrModel");
}

GUID SecurityKeyOf(IZClass* cls) {
    LONG words[4] = {};
    check(cls->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]));
    return KeyFromWords(words);
}

GUID SecurityKeyOf(IZClassValue* cval) {
    LONG words[4] = {};
    check(cval->zrGetSecurityKey(&words[0], &words[1], &words[2], &words[3]));
    return KeyFromWords(words);
}

ComPtr<IZLocalSecurity> LocalSecurityOf(IZModel* model) {
    ComPtr<IZLocalSecurity> security;
    check(model->zrGetLocalSecurity(&security));
    return Required(std::move(security), L"zrGetLocalSecurity");
}

ComPtr<IZLocalSecurity> LocalSecurityOf(IZClass* cls) {
    return LocalSecurityOf(ModelOf(cls).Get());
}

ComPtr<IZLocalSecurity> LocalSecurityOf(IZClassValue* cval) {
    return LocalSecurityOf(OwnerClassOf(cval).Get());
}

std::int32_t RightsOf(IZLocalSecurity* security, long group, const GUID& key) {
    LONG rights = kNoRightsEntry;
    GUID keyArgument = key; // the kernel takes it by non-const pointer
    check(security->zrGetRights(group, &keyArgument, &rights));
    return rights;
}

std::wstring GroupIdentifier(IZLocalSecurity* security, long group) {
    Variant id;
    check(security->zrGroupAttribute(group, 0, 2, id.Out()));
    return VariantText(*id.Get());
}

void ForEachProperty(IZProperties* props,
                     const std::function<void(const Bstr& name, const VARIANT& value)>& visit) {
    LONG count = 0;
    check(props->get_zrCount(&count));
    for (LONG i = 0; i < count; ++i) {
        Bstr name;
        Variant value;
        check(props->zrPropItem(i, name.Out(), value.Out()));
        visit(name, *value.Get());
    }
}

GroupRights::GroupRights(std::function<ComPtr<IZLocalSecurity>()> reachSecurity)
    : reachSecurity_(std::move(reachSecurity)) {}

void GroupRights::ForEach(const GUID& key, const Visitor& visit) {
    if (complete_) {
        for (const auto& [group, id] : groups_)
            visit(id, RightsOf(security_.Get(), group, key));
        return;
    }
    if (!security_)
        security_ = reachSecurity_();
    groups_.clear();
    LONG group = 0;
    check(security_->zrNextGroup(0, &group));
    while (group != 0) {
        groups_.emplace_back(group, ScenarioLiteral(GroupIdentifier(security_.Get(), group)));
        visit(groups_.back().second, RightsOf(security_.Get(), group, key));
        LONG next = 0;
        check(security_->zrNextGroup(group, &next));
        group = next;
    }
    complete_ = true;
}

} // namespace kv
