// What the passes of the import share: the three structures and the report, and the mark that
// a pass puts in front of a text property.
#pragma once

#include "helper/import_report.h"
#include "helper/import_rules.h"
#include "kernel/kernel_lookups.h"

#include <windows.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <string>
#include <string_view>

namespace kv::import {

// The structures of one import: server (S, the only one stored), distribution (D) and the
// user's (U), the mark flag and the report being collected.
struct ImportStructures {
    ComPtr<IZModel> server_model, distribution_model, user_model;
    ComPtr<IZClassVector> server, distribution, user;
    bool mark = false;
    ImportReport report;
};

// Puts the text in front of a text property, e.g. Prefix(cls, get, put, L"(+)").
template <class Object, class Getter, class Setter>
void Prefix(Object* object, Getter get, Setter put, std::wstring_view text) {
    const std::wstring current = WideText(object, get);
    check((object->*put)(Bstr(std::wstring(text) + current).Get()));
}

} // namespace kv::import
