#include "application.h"

#include "file_title.h"
#include "module_path.h"

const std::wstring& TApplication::Title() {
    if (title_.empty())
        title_ = FileTitle(ModulePath(nullptr));
    return title_;
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
    if (exception_handler_)
        exception_handler_(error);
}

TApplication& Application() {
    static TApplication application;
    return application;
}
