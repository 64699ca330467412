#include "export/html_export.h"

#include "platform/barriers.h"
#include "platform/text_conversion.h"
#include "export/page_file.h"
#include "export/structure_page.h"
#include "export/structure_reader.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace kv::html {
namespace {

IZModel* ModelArgument(IZModel** model) {
    return model ? *model : nullptr;
}

// The user's documents folder with a trailing "\", created if missing; "" if the shell has
// none.
std::wstring DocumentsFolder(HWND owner) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(owner, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder)))
        return {};
    return std::wstring(folder) + L"\\";
}

// The chosen file, or "" when the user cancelled. The buffer holds paths of any length the
// dialog can give, so a long path is never cut.
std::wstring AskPageFile(HWND owner) {
    const std::wstring initial_folder = DocumentsFolder(owner);
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring_view initial_name = L"Structure.htm";
    initial_name.copy(file.data(), initial_name.size());

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Web page, complete (*.htm)\0*.htm;*.html\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial_folder.empty() ? nullptr : initial_folder.c_str();
    dialog.lpstrDefExt = L"htm";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (GetSaveFileNameW(&dialog))
        return file.data();
    if (const DWORD error = CommDlgExtendedError())
        throw LibraryError(E_FAIL,
                           L"Ошибка диалога сохранения файла, код " + std::to_wstring(error));
    return {};
}

} // namespace

void WriteStructurePage(IZModel& model, const std::wstring& path) {
    // Written a megabyte at a time as it is made: a large structure's page is never held whole.
    constexpr std::size_t kWritePiece = 1 << 20;
    StructureReader reader(model);
    WriteFileReplacing(path, [&](const FileBytesSink& sink) {
        ForEachStructurePagePiece(
            reader.outline(),
            [&](std::size_t position) -> const std::vector<AttributeEntry>& {
                return reader.AttributesOf(position);
            },
            kWritePiece, sink);
    });
}

bool SaveStructurePageWithDialog(IZModel** model, HWND owner) {
    IZModel* const source = ModelArgument(model);
    if (!source)
        return false;
    const std::wstring path = AskPageFile(owner);
    if (path.empty())
        return false;
    WriteStructurePage(*source, path);
    // Whether the shell found a program for the page is not the export's concern.
    ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

bool SaveStructurePageToFile(IZModel** model, std::string_view file_name) {
    IZModel* const source = ModelArgument(model);
    if (!source)
        return false;
    if (file_name.empty())
        throw LibraryError(E_INVALIDARG, L"Не задано имя файла страницы");
    WriteStructurePage(*source, WideFromAnsi(file_name));
    return true;
}

} // namespace kv::html
