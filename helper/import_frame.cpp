#include "helper/import_frame.h"

#include "helper/import_passes.h"
#include "helper/import_report_file.h"

#include "platform/paths.h"

namespace kv::import {

namespace {

// The source named in the error information of the import's own errors.
constexpr wchar_t kImportSource[] = L"zsImportAppendedToSvr";
// Load flags of the kernel: a structure file, a structure of the server by name.
constexpr LONG kLoadFile = 2;
constexpr LONG kLoadFromServer = 4;

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ComPtr<IZClassVector> ClassVectorOf(IZModel* model) {
    ComPtr<IZClassVector> classes;
    check(model->zrGetClassVector(&classes));
    if (!classes)
        throw LibraryError(E_POINTER, L"Ядро модели не вернуло список классов");
    return classes;
}

void LoadStructures(ImportStructures& import, const std::wstring& distribution_file,
                    const std::wstring& user_structure) {
    import.server_model = NewKernelModel();
    import.distribution_model = NewKernelModel();
    import.user_model = NewKernelModel();
    check(import.server_model->zrLoadModel(Bstr(L"structure.ztp").Get(), nullptr, kLoadFromServer));
    check(
        import.distribution_model->zrLoadModel(Bstr(distribution_file).Get(), nullptr, kLoadFile));
    check(import.user_model->zrLoadModel(Bstr(user_structure).Get(), nullptr, kLoadFromServer));
    import.server = ClassVectorOf(import.server_model.Get());
    import.distribution = ClassVectorOf(import.distribution_model.Get());
    import.user = ClassVectorOf(import.user_model.Get());
}

} // namespace

std::wstring ImportAppendedToServer(const std::wstring& distribution_file,
                                    const std::wstring& user_structure, bool mark_appended) {
    if (!FileExists(distribution_file))
        throw LibraryError(E_INVALIDARG, distribution_file + L" - файл не найден", kImportSource);
    ImportStructures import;
    import.mark = mark_appended;
    if (std::optional<std::wstring> failure =
            FailureOf([&] { LoadStructures(import, distribution_file, user_structure); }))
        throw LibraryError(E_INVALIDARG, L"Структуры не инициализированы: " + *failure,
                           kImportSource);

    ImportAddedClasses(import);
    ImportAddedLinks(import);
    ImportAddedFilters(import);
    ImportAddedModules(import);
    ReportDeletedAndChangedClasses(import);
    ReportDeletedAndChangedFilters(import);
    CopySecurity(import);
    TransferAttributeOrder(import);
    // The one point at which the work of the passes is stored.
    check(import.server_model->zrSaveModel(Bstr(L"").Get(), nullptr));
    CommentEventGroup(import);
    return WriteImportReport(import.report);
}

} // namespace kv::import
