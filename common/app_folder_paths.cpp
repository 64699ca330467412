#include "common/app_folder_paths.h"

namespace kv {

AppFolderRoot RootOfAppFolder(int kind) {
    switch (kind) {
    case 0:
        return AppFolderRoot::Documents;
    case 6:
    case 14:
        return AppFolderRoot::Temporary;
    case 13:
        return AppFolderRoot::ApplicationData;
    default:
        return AppFolderRoot::Install;
    }
}

std::optional<std::wstring> AppFolderPath(int kind, const AppFolderRoots& roots) {
    switch (kind) {
    case 0:
        return roots.documents + L"\\Мои технологии";
    case 1:
        return roots.install + L"\\Bin";
    case 2:
        return roots.install + L"\\Data";
    case 3:
        return roots.install + L"\\Doc";
    case 4:
        return roots.install + L"\\Icons";
    case 5:
        return roots.install + L"\\Libs";
    case 6:
        return roots.temporary;
    case 7:
        return roots.install + L"\\Template";
    case 8:
        return roots.install;
    case 9:
        return roots.install + L"\\Samples";
    case 10:
        return roots.install + L"\\Data\\Profile";
    case 11:
        return roots.install + L"\\Data\\Profile\\Personal";
    case 12:
        return roots.install + L"\\TPConvertor";
    case 13:
        return roots.application_data + L"\\MORVEK\\Zelvar" + L"\\" + L"4.0";
    case 14:
        return roots.temporary + L"\\" + L"NewDocs";
    default:
        return std::nullopt;
    }
}

bool AppFolderCreatedWhenMissing(int kind) {
    return kind == 10 || kind == 11 || kind == 13;
}

std::wstring WithoutTrailingDelimiter(std::wstring_view path) {
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.remove_suffix(1);
    return std::wstring(path);
}

} // namespace kv
