// The names of the DLLs that a Windows image imports, read from its import directory. For the
// test of the shipped DLL and the load-cost benchmark; header only, so a program without the
// test framework can use it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kvtest {

// The image mapped without its imports resolved; empty when it cannot be mapped.
inline std::vector<std::string> ImportedDllNames(const std::wstring& path) {
    std::vector<std::string> names;
    const HMODULE image = LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image)
        return names;
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         imports.VirtualAddress != 0 && entry->Name != 0; ++entry)
        names.emplace_back(reinterpret_cast<const char*>(base + entry->Name));
    FreeLibrary(image);
    return names;
}

} // namespace kvtest
