#include "recording/recording_session_files.h"

#include "execution/scenario_file.h"
#include "execution/scenario_file_dialogs.h"
#include "platform/barriers.h"
#include "platform/paths.h"
#include "recording/script_buffer_text.h"
#include "recording/spill_file.h"

namespace kv {
namespace {

// A scenario is written a megabyte at a time: a large one is never held twice in memory.
constexpr std::size_t kWritePiece = 1024 * 1024;

} // namespace

DWORD WriteScenarioFile(const std::wstring& path, ScriptItemList& items) {
    if (items.Spilled()) {
        items.Flush();
        auto* const file = dynamic_cast<SpillFile*>(items.Store());
        if (!file)
            throw LibraryError(E_UNEXPECTED, L"Сценарий записан не во временный файл");
        return file->MoveTo(path);
    }
    return execution::WriteScenarioFile(path, [&](const execution::ScenarioFileSink& take) {
        return ForEachScenarioFilePiece(items, kWritePiece, take);
    });
}

void DeleteScenarioFile(const std::wstring& path) noexcept {
    try {
        DeleteFileW(ExtendedPath(path).c_str());
    } catch (...) {
        // The outcome of the deletion is ignored.
    }
}

std::optional<std::wstring> AskScenarioFile(HWND owner) {
    return execution::AskScenarioFile(owner, execution::ScenarioFileDialog::Save,
                                      DocumentsFolder(owner));
}

} // namespace kv
