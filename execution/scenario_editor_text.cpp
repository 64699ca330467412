#include "execution/scenario_editor_text.h"

#include "execution/scenario_text.h"

namespace kv::execution {

namespace {

// Everything up to the last folder delimiter (kept), as a folder.
std::wstring_view FolderOf(std::wstring_view path) {
    const std::size_t delimiter = path.find_last_of(L"\\/:");
    return delimiter == std::wstring_view::npos ? std::wstring_view()
                                                : path.substr(0, delimiter + 1);
}

} // namespace

std::wstring EditorDataFolder(std::wstring_view hostPath) {
    std::wstring_view folder = FolderOf(hostPath);
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.remove_suffix(1);
    return std::wstring(FolderOf(folder)) + L"data\\";
}

std::wstring FileNameWithoutFolder(std::wstring_view path) {
    return std::wstring(path.substr(FolderOf(path).size()));
}

std::wstring EditorCaption(std::wstring_view path) {
    return L"Сценарий " + FileNameWithoutFolder(path);
}

std::wstring SaveQuestion(std::wstring_view path) {
    return L"Файл " + FileNameWithoutFolder(path) + L" был отредактирован" + L"\r\n" +
           L"Сохранить изменения?";
}

std::wstring RunErrorLine(long line, long column, std::wstring_view description) {
    std::wstring text;
    if (line >= 1)
        text = std::to_wstring(line - 1) + L":" + std::to_wstring(column) + L" - ";
    return text + std::wstring(description);
}

std::string WithCrLfLines(std::string_view text) {
    std::string joined;
    joined.reserve(text.size() + text.size() / 32);
    for (const std::string& line : SplitScenarioLines(text)) {
        joined += line;
        joined += "\r\n";
    }
    return joined;
}

} // namespace kv::execution
