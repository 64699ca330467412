// The spill store of a recording: a file in the user's temporary folder that holds the items
// that passed the memory threshold, in exactly the scenario file's bytes, so that scriptEnd puts
// the file in the target's place instead of writing the scenario again.
#pragma once

#include "recording/script_item_list.h"
#include "platform/win_owners.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class SpillFile : public SpillStore {
public:
    SpillFile() = default;
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;
    // Closes and deletes the file: the recording is released.
    ~SpillFile() override;

    // The first append creates the file, "~kvscenario<process id>-<n>.tmp" in the temporary
    // folder. A failing write raises with the system's reason.
    void Append(std::string_view bytes) override;
    void Truncate(std::uint64_t size) override;

    // Puts the file in the target's place, replacing a file there: renamed when the target is on
    // the same volume, otherwise copied. 0 on success (the recording then ends), else the
    // system's error code, with the spill file kept whole for the next attempt.
    DWORD MoveTo(const std::wstring& target);

    // The file's path as the file functions take it; "" before the first append and after a
    // rename.
    const std::wstring& Path() const noexcept { return path_; }

protected:
    // Writes the bytes at the file's position: 0, else the system's error code (tests make it
    // fail part way, as a full disk does).
    virtual DWORD WriteBytes(HANDLE file, std::string_view bytes);

private:
    // Opens the file for appending: created at the first use, opened again after a failed
    // MoveTo closed it.
    void Open();
    [[noreturn]] void ThrowWriteError(DWORD error) const;

    std::wstring path_;
    FileHandle file_;
};

// The bytes of a recording's items kept in memory before they go to the spill file: 4 MB, or
// the number that the environment variable KV_SPILL_THRESHOLD gives (a test setting, read when
// a recording starts).
std::size_t SpillThreshold();

} // namespace kv
