#include "entry/class_table.h"

#include "helper/script_helper.h"

namespace kv {

namespace {

const ServedClass served_classes[] = {
    {&CLSID_ZScriptHelper, &TZScriptHelper::Create},
};

} // namespace

std::span<const ServedClass> ServedClasses() {
    return served_classes;
}

const ServedClass* FindServedClass(REFCLSID clsid) {
    for (const ServedClass& served : served_classes)
        if (IsEqualCLSID(*served.clsid, clsid))
            return &served;
    return nullptr;
}

} // namespace kv
