// The empty handlers that the import puts in front of the commented-out code of the event
// group "UserGroup.xml", and which event kinds it looks at for which kind of owner. Pure: no
// Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::import {

// "function " + the kind's signature + "\r\n\r\n" + "end function" for the kinds 0 to 25, ""
// for any other number.
std::wstring EventHandlerStub(std::int32_t kind);

// The event kinds looked at for one owner row of an event group, first to last.
struct HandlerKinds {
    std::int32_t first;
    std::int32_t last;
};
// Model handlers (no owner) 0 to 25; class handlers (owner only) 19 to 22; attribute handlers
// (owner and attribute) 23 and 24.
HandlerKinds HandlerKindsOf(bool has_owner, bool has_attribute);

// The handler disabled: its stub, then every line of the old code as "' <line>", each line
// followed by CR LF.
std::wstring CommentedHandler(std::int32_t kind, std::wstring_view code);

} // namespace kv::import
