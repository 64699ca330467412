// Structures built in the kernel stand-in ("zkernel.ZModel") through its interfaces, and
// korvalith.dll loaded as a host loads it, for calling the HTML exports by ordinal.
#pragma once

#include "sample_structures.h"

#include <windows.h>

#include <wrl/client.h>
#include <zkernel.h>

#include <string>

namespace export_test {

// A new model of the stand-in holding the structure; null when the stand-in is not registered.
// Any failing kernel call while building fails the test.
Microsoft::WRL::ComPtr<IZModel> BuildModel(const StructureSpec& spec);

// SaveAsHTML (ordinal 16) and SaveAsHTMLFile (ordinal 22), called as a host calls them.
using SaveAsHtmlExport = unsigned char(__stdcall*)(IZModel** model, HWND owner);
using SaveAsHtmlFileExport = unsigned char(__stdcall*)(IZModel** model, const char* file_name);

class Korvalith {
public:
    Korvalith() : module_(LoadLibraryW(L"korvalith.dll")) {}
    ~Korvalith() {
        if (module_)
            FreeLibrary(module_);
    }
    Korvalith(const Korvalith&) = delete;
    Korvalith& operator=(const Korvalith&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    SaveAsHtmlExport SaveAsHTML() const { return Ordinal<SaveAsHtmlExport>(16); }
    SaveAsHtmlFileExport SaveAsHTMLFile() const { return Ordinal<SaveAsHtmlFileExport>(22); }

private:
    template <class Function> Function Ordinal(WORD ordinal) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal))));
    }
    HMODULE module_;
};

std::wstring WideFromUtf8(const std::string& utf8);
// The wide text in the process ANSI code page (1251 under the tests' locale).
std::string AnsiFromWide(const std::wstring& wide);

} // namespace export_test
