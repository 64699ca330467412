// The files one benchmark run works on, in its work folder: made once per size before any
// operation is measured, and removed by name at the end.
#pragma once

#include "core/structure.h"

#include <string>
#include <vector>

namespace kvbench {

class Inputs {
public:
    // The work folder (created when missing); "" takes "kvbench" in the temporary folder.
    explicit Inputs(std::wstring folder);

    const std::wstring& folder() const { return folder_; }

    // Paths in the ANSI code page, as the exports and the kernel's loader take them.
    std::string Structure(int size) const;  // the generated structure A
    std::string Edited(int size) const;     // A with about a tenth of it edited
    std::string GroupsOnly(int size) const; // A's user groups alone: where a replay starts
    std::string Scenario(int size) const;   // A recorded as a scenario
    // What an operation writes (a scenario, a page); the replay's floor scenario.
    std::string Output(const std::string& operation, int size) const;
    // The import's server store (the server structure "structure.ztp" and the user's
    // structure kUserStructure), the distribution being Structure(size); and the server
    // structure as it was made, since every import stores its result over it.
    std::wstring Store(int size) const;
    std::wstring ServerStructure(int size) const;
    std::wstring PristineServerStructure(int size) const;
    static constexpr const char* kUserStructure = "user.ztp";

    // Makes what the operation needs at that size, unless an earlier call of this run made it:
    // files left by another run are made again, never trusted.
    void Prepare(const std::string& operation, int size);

    // Removes every file and folder this object made, by name.
    void RemoveMade();

private:
    std::wstring Path(const std::string& name) const;
    zk::Structure Generated(int size) const;
    bool Made(const std::wstring& path) const;
    void WriteMade(const std::wstring& path, const std::string& contents);
    void MakeStructure(int size);
    void MakeEdited(int size);
    void MakeStore(int size);
    void MakeScenario(int size);

    std::wstring folder_;
    std::vector<std::wstring> made_files_;
    std::vector<std::wstring> made_folders_;
};

} // namespace kvbench
