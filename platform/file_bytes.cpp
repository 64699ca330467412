#include "platform/file_bytes.h"

#include "platform/system_error_text.h"

#include <algorithm>

namespace kv {

DWORD WriteAllBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return LastErrorOr(ERROR_WRITE_FAULT);
        if (written == 0)
            return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return 0;
}

} // namespace kv
