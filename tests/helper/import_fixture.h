// A server store and a temporary folder of the test's own, named to the kernel stand-in and the
// platform through this process's environment (ZKERNEL_SERVER_STORE, TMP), and a script helper
// made by korvalith.dll's own class factory. Every file a test makes is removed by name.
#pragma once

#include "helper_fixture.h"
#include "support/files.h"
#include "support/golden.h"
#include "support/korvalith_library.h"

#include <windows.h>

#include <korvalith.h>
#include <zkernel.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class ServerStoreTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A structure file of the test fixtures (tests/helper/import).
    static std::wstring FixturePath(const wchar_t* fixture);
    std::wstring StorePath(const wchar_t* name) const { return store_ + L"\\" + name; }
    // Copies a fixture structure into the server store under the name.
    void PutInStore(const wchar_t* fixture, const wchar_t* name);
    // Writes a file that the test removes at its end.
    void WriteFile(const std::wstring& path, const std::string& bytes);
    void RemoveAtEnd(const std::wstring& path) { made_files_.push_back(path); }
    void RemoveFolderAtEnd(const std::wstring& path) { made_folders_.push_back(path); }

    // zsImportAppendedToSvr through the helper's interface; a report is removed at the end.
    HRESULT Import(const std::wstring& distribution, const wchar_t* user, bool mark,
                   std::wstring& report);
    // A switch of the kernel stand-in's behaviour: an IZModelAdmin setter.
    using KernelSwitch = HRESULT (STDMETHODCALLTYPE IZModelAdmin::*)(VARIANT_BOOL);
    // Turns the switch on until the test ends; it holds for every model of the process, the
    // library's own ones too.
    void SwitchKernel(KernelSwitch set);
    // The description of the thread's error information, taking it.
    static std::wstring TakeErrorDescription();
    // The structure file as the kernel writes it after loading it, so files written by hand
    // and by the kernel compare as texts.
    std::string CanonicalStructure(const std::wstring& path);
    // The names of the files in a folder, sorted.
    static std::vector<std::wstring> FilesIn(const std::wstring& folder);

    std::wstring root_;    // the test's folder in the real temporary folder
    std::wstring store_;   // the server store
    std::wstring reports_; // the temporary folder the library sees
    ComPtr<IZScriptHelper> helper_;
    std::optional<kvtest::KorvalithLibrary> library_;

private:
    std::wstring saved_tmp_, saved_store_;
    bool had_tmp_ = false, had_store_ = false;
    std::vector<std::wstring> made_files_, made_folders_;
    std::vector<std::pair<ComPtr<IZModelAdmin>, KernelSwitch>> switched_; // off at the end
};

// The bytes of a file ("" when it cannot be read); paths of any length.
using kvtest::FileBytes;
using kvtest::FileExists;
// A golden report: written by hand in UTF-8, converted to Windows-1251 by the build, its LF line
// ends standing for CR LF.
std::string GoldenReport(const char* name);
// Equal bytes, or a failure that shows the first line that differs.
using kvtest::SameBytes;
