#include "export/html_export.h"

#include "export/page_file.h"
#include "export/structure_page.h"
#include "export/structure_reader.h"
#include "platform/barriers.h"
#include "platform/file_dialog.h"
#include "platform/paths.h"
#include "platform/text_conversion.h"

#include <commdlg.h>
#include <shellapi.h>

#include <optional>
#include <utility>

namespace kv::html {
namespace {

IZModel* ModelArgument(IZModel** model) {
    return model ? *model : nullptr;
}

// The chosen file, or "" when the user cancelled. The dialog gives paths of any length, so a
// long path is never cut.
std::wstring AskPageFile(HWND owner) {
    std::optional<std::wstring> chosen =
        AskFile(owner, {.fileName = L"Structure.htm",
                        .filter = L"Web page, complete (*.htm)\0*.htm;*.html\0",
                        .extension = L"htm",
                        .flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                        .save = true,
                        .initialFolder = DocumentsFolder(owner)});
    return chosen ? std::move(*chosen) : std::wstring();
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
