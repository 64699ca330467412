#include "common/file_title.h"

namespace kv {

std::wstring FileTitle(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\/:");
    std::wstring_view name =
        separator == std::wstring_view::npos ? path : path.substr(separator + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring_view::npos)
        name = name.substr(0, dot);
    return std::wstring(name);
}

} // namespace kv
