#include "helper/event_handler_stub.h"

#include "helper/import_rules.h"

#include <array>

namespace kv::import {

namespace {

// The handler signatures by event kind.
constexpr std::array<std::wstring_view, 26> kSignatures = {
    L"OnMessage(sender, mode, errstring, ByRef res)",
    L"OnAdd(sender, objParent, objChild)",
    L"OnDelete(sender, objParent, objChild)",
    L"OnDeleteFail(sender, objLocked)",
    L"OnAttributeChange(sender, attr)",
    L"OnBeforeDelete(sender, objParent, objChild)",
    L"OnBeforeAdd(sender, objParent, objChild, ByRef can_add)",
    L"OnBeforeMove(sender, objParent, objBeforeChild, objChild)",
    L"OnMove(sender, objParent, objBeforeChild, objChild)",
    L"OnBeforeAdd(sender, objParent, objBeforeChild, objChild)",
    L"OnAdd(sender, objParent, objBeforeChild, objChild)",
    L"OnBeforeDelete(sender, objParent, objChild)",
    L"OnDelete(sender, objParent, objChild)",
    L"OnBeforeAttributeChange(sender, attr)",
    L"OnAttributeChange(sender, attr)",
    L"OnCanMove(sender, objParent, objBeforeChild, objChild)",
    L"OnCanAdd(sender, objParent, objBeforeChild, objChild)",
    L"OnCanDelete(sender, objParent, objChild)",
    L"OnCanAttributeChange(sender, attr)",
    L"OnChange(sender, attr)",
    L"OnDelete(sender, obj)",
    L"OnBeforeChange(sender, attr)",
    L"OnBeforeDelete(sender, obj)",
    L"OnChange(sender)",
    L"OnBeforeChange(sender)",
    L"OnHiddenVBSError(sender, obj_from, hres, vb_func, description)",
};

} // namespace

std::wstring EventHandlerStub(std::int32_t kind) {
    if (kind < 0 || static_cast<std::size_t>(kind) >= kSignatures.size())
        return {};
    return L"function " + std::wstring(kSignatures[static_cast<std::size_t>(kind)]) +
           L"\r\n\r\nend function";
}

HandlerKinds HandlerKindsOf(bool has_owner, bool has_attribute) {
    if (!has_owner)
        return {0, 25};
    return has_attribute ? HandlerKinds{23, 24} : HandlerKinds{19, 22};
}

std::wstring CommentedHandler(std::int32_t kind, std::wstring_view code) {
    std::wstring text = EventHandlerStub(kind) + L"\r\n";
    for (const std::wstring& line : SplitLines(code))
        text += L"' " + line + L"\r\n";
    return text;
}

} // namespace kv::import
