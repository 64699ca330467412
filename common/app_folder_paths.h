// The folders that GetAppFolder finds, by kind, from the few roots they hang off. Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Every root without a trailing path delimiter; `install` is empty when the registry names none.
struct AppFolderRoots {
    std::wstring install;
    std::wstring documents;        // the user's documents folder
    std::wstring application_data; // the user's application-data folder
    std::wstring temporary;
};

constexpr int AppFolderKindCount = 15;

// The root a kind needs beside the installation folder (which is read for every kind).
enum class AppFolderRoot { Install, Documents, ApplicationData, Temporary };
AppFolderRoot RootOfAppFolder(int kind);

// The path of a kind (0 to 14); nullopt for any other kind.
std::optional<std::wstring> AppFolderPath(int kind, const AppFolderRoots& roots);

// Kinds whose last level is created when missing (10, 11 and 13).
bool AppFolderCreatedWhenMissing(int kind);

// The path without one trailing "\" or "/".
std::wstring WithoutTrailingDelimiter(std::wstring_view path);

} // namespace kv
