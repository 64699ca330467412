// A host's setting for the recording exports: COM on the test thread, a fresh model of the
// kernel stand-in, korvalith.dll loaded as the host loads it, a hidden owner window and a
// private folder for the scenario files.
#pragma once

#include "support/error_info.h"
#include "support/files.h"
#include "support/korvalith_library.h"
#include "support/reference_count.h"
#include "support/stand_in_model.h"
#include "support/wide_text.h"

#include <windows.h>

#include <zkernel.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using kvtest::Extended;
using kvtest::FileBytes;
using kvtest::FileExists;
using kvtest::KorvalithLibrary;
using kvtest::Narrow;
using kvtest::RefCount;
using kvtest::TakeErrorDescription;
using kvtest::Widen;
using Microsoft::WRL::ComPtr;

class SessionTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The structure of the model.
    ComPtr<IZClassVector> Classes();
    ComPtr<IZFilterVector> Filters();
    ComPtr<IZClass> AddClass(const wchar_t* name);
    ComPtr<IZClass> FindClass(const wchar_t* name);
    ComPtr<IZClassValue> AddAttribute(IZClass* cls, const wchar_t* name);
    LONG AddGroup(const wchar_t* id, const wchar_t* name);
    void SetRights(LONG group, IZClass* cls, LONG rights);
    void SetRights(LONG group, IZClassValue* cval, LONG rights);
    // A link made or removed in the kernel itself (it raises the link events).
    void AddLink(const wchar_t* parent, const wchar_t* child);
    void RemoveLink(const wchar_t* parent, const wchar_t* child);
    bool HasLink(const wchar_t* parent, const wchar_t* child);

    // A path in the private folder (ANSI), and the bytes of a file ("" and a failure if absent).
    std::string OutputPath(const std::string& name);
    std::string ReadOutput(const std::string& path);
    // A folder (any depth and length) under the private folder; its ANSI path with no trailing
    // backslash.
    std::string MakeFolder(const std::wstring& relative);

    std::unique_ptr<KorvalithLibrary> library_;
    std::optional<kvtest::StandInModel> stand_in_;
    ComPtr<IZModel> model_; // the stand-in's model
    HWND owner_ = nullptr;
    std::wstring folder_; // with a trailing backslash

private:
    bool comInitialised_ = false;
};

// A session whose model holds the classes "Деталь" and "Узел".
class PartAndUnitSessionTest : public SessionTest {
protected:
    void SetUp() override;
};

// Deletes every file in the folder and the folder (not recursive into nonexistent ones).
void RemoveTree(const std::wstring& folder);

// KV_SPILL_THRESHOLD, the bytes a recording keeps in memory before it spills to a temporary
// file, for the recordings that start while the object lives; none gives the library's own.
class SpillThresholdSetting {
public:
    explicit SpillThresholdSetting(const char* bytes) {
        SetEnvironmentVariableA("KV_SPILL_THRESHOLD", bytes);
    }
    ~SpillThresholdSetting() { SetEnvironmentVariableA("KV_SPILL_THRESHOLD", nullptr); }
    SpillThresholdSetting(const SpillThresholdSetting&) = delete;
    SpillThresholdSetting& operator=(const SpillThresholdSetting&) = delete;
};

// The names of the recordings' spill files in the folder (with a trailing backslash).
std::vector<std::wstring> SpillFiles(const std::wstring& folder);
