#include "common/application.h"

#include "common/file_title.h"
#include "platform/module_path.h"
#include "platform/window_barrier.h"

namespace kv {

const std::wstring& TApplication::Title() {
    if (title_.empty())
        title_ = FileTitle(ModulePath(nullptr));
    return title_;
}

std::wstring TApplication::DisplayTitle() {
    if (!handle_)
        return Title();
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TApplication::SetExceptionHandler(ExceptionHandler handler) noexcept {
    exception_handler_ = handler;
    SetWindowFailureHandler(handler);
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
    if (exception_handler_)
        exception_handler_(error);
}

TApplication& Application() {
    static TApplication application;
    return application;
}

} // namespace kv
