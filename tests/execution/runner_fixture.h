// A fresh kernel stand-in model, a hidden owner window and scenario files in a private folder
// under the temporary folder, for running scenarios as a host does.
#pragma once

#include <windows.h>

#include "execution/script_runner.h"
#include "zkernel.h"
#include "support/wide_text.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <string>
#include <vector>

// "Ошибка выполнения сценария:\r\n" in Windows-1251, the start of every failed run's message.
inline constexpr char kScenarioFailedPrefix[] =
    "\xCE\xF8\xE8\xE1\xEA\xE0 \xE2\xFB\xEF\xEE\xEB\xED\xE5\xED\xE8\xFF "
    "\xF1\xF6\xE5\xED\xE0\xF0\xE8\xFF:\r\n";

class RunnerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a scenario into the private folder; returns its full path (ANSI).
    std::string WriteScenario(const std::string& name, const std::string& bytes);
    // Writes a file at a full wide path, creating nothing else; remembered for clean-up.
    void WriteFileAt(const std::wstring& path, const std::string& bytes);
    // Creates a folder (any length); remembered for clean-up.
    void MakeFolder(const std::wstring& path);

    bool Execute(const char* fileName) {
        return kv::ScriptExecute(owner_, model_.GetAddressOf(), fileName);
    }
    bool Execute(const std::string& fileName) { return Execute(fileName.c_str()); }

    bool Modified();
    void SetModified(bool modified);
    bool HasClass(const wchar_t* name);

    HWND owner_ = nullptr;
    Microsoft::WRL::ComPtr<IZModel> model_;
    std::wstring folder_; // private scenario folder, with a trailing backslash

private:
    bool comInitialised_ = false;
    std::vector<std::wstring> createdFiles_;
    std::vector<std::wstring> createdFolders_;
};

// Test strings for wide paths.
using kvtest::Extended;
using kvtest::Narrow;
using kvtest::Widen;
