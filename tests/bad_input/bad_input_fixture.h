// What the bad-input tests share: a folder of their own in the temporary folder whose files are
// removed by name afterwards (never a recursive delete), files written, read and held open at any
// path length, structure files made through the kernel stand-in, and kvhost.exe run as scripts
// run it.
#pragma once

#include "host/model_description.h"
#include "host/structure_files.h"
#include "support/files.h"
#include "support/process.h"
#include "platform/com_owners.h"
#include "platform/text_conversion.h"

#include <zkernel.h>

#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using kvtest::ProcessOutcome;
using kvtest::RunHost;
using Microsoft::WRL::ComPtr;

// Adds the user groups that every structure of these tests has, so a recording replays on a
// model that holds only them.
void AddGroups(IZModel* model, const std::vector<std::wstring>& identifiers);

// A file opened without sharing for as long as the object lives.
class HeldFile : public kvtest::LockedFile {
public:
    explicit HeldFile(const std::string& path);
};

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the test's own folder (or in a folder made by MakeFolder).
    std::string Path(const std::string& name) const { return folder_ + name; }
    // Makes a folder of that name in `parent` (a folder of this test), removed afterwards.
    std::string MakeFolder(const std::string& parent, const std::string& name);
    // A folder of this test whose path is at least `length` characters long.
    std::string LongFolder(std::size_t length);

    static void WriteBytes(const std::string& path, const std::string& bytes);
    static std::string ReadBytes(const std::string& path);
    static bool Exists(const std::string& path);
    // The names of the files in a folder, sorted.
    static std::set<std::string> FilesIn(const std::string& folder);

    // A structure with classes "Base" and "Part", stored to the path, and its groups.
    void StoreStructure(const std::string& path, const std::function<void(IZModel*)>& build = {});

    // The structure file's text without its "name" line, which names the file it came from.
    static std::string StructureWithoutName(const std::string& path);

    std::string folder_;

private:
    std::vector<std::string> folders_; // made by MakeFolder, removed last first
};

// Runs kvhost and describes the outcome for a failure message.
std::string Describe(const std::vector<std::string>& arguments, const ProcessOutcome& outcome);
