#include "helper/import_report_file.h"

#include "platform/barriers.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text_conversion.h"
#include "platform/win_owners.h"

namespace kv::import {

namespace {

[[noreturn]] void FailReport(const std::wstring& path, DWORD error) {
    throw LibraryError(E_UNEXPECTED, L"Не удалось записать отчет импорта " + path + L": " +
                                         SystemErrorText(HRESULT_FROM_WIN32(error)));
}

bool Taken(const std::wstring& path) {
    return GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::wstring WriteImportReport(const ImportReport& report) {
    const std::string bytes = ShownAnsiFromWide(report.Text());
    // The folder at its full length, however long.
    const std::wstring folder = TemporaryFolder();
    for (unsigned number = 0;; ++number) {
        const std::wstring path = folder + ReportFileName(number);
        if (Taken(path))
            continue;
        // Created only when absent, so a report made meanwhile is not overwritten either.
        FileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            FailReport(path, error);
        }
        DWORD written = 0;
        DWORD error = ERROR_SUCCESS;
        if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr))
            error = GetLastError();
        else if (written != bytes.size())
            error = ERROR_WRITE_FAULT;
        if (error != ERROR_SUCCESS) {
            file.Reset();
            DeleteFileW(ExtendedPath(path).c_str());
            FailReport(path, error);
        }
        return path;
    }
}

} // namespace kv::import
