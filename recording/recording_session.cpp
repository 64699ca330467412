#include "recording/recording_session.h"

#include "common/message_dialog.h"
#include "execution/script_runner.h"
#include "platform/barriers.h"
#include "platform/paths.h"
#include "platform/text_conversion.h"
#include "recording/link_receiver.h"
#include "recording/recording_session_files.h"
#include "recording/recording_state.h"
#include "recording/spill_file.h"
#include "text/scenario_templates.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kv {
namespace {

constexpr wchar_t kApplyQuestion[] = L"Применить изменения к текущей структуре?";
constexpr wchar_t kCreateFileFailed[] = L"Ошибка создания файла.\r\nПроверьте наличие прав";
constexpr wchar_t kTemporaryScenario[] = L"temp_vbs.vbs";
constexpr std::uint16_t kAnswerYes = 6;
constexpr std::uint16_t kAnswerOK = 1;
// The failed-write message offers Cancel beside OK, so that a target that can never be written
// does not hold the user in the message: OK tries again, anything else gives up.
constexpr TMessageButtons kRetryOrGiveUp = mbOK | ButtonBit(MessageButton::Cancel);

// Runs the scenario file on the model; an error of the run is shown, not passed on.
void RunShowingError(HWND owner, IZModel** model, const std::string& path) {
    try {
        ScriptExecute(owner, model, path.c_str());
    } catch (...) {
        ShowMessageDlg(DescribeCaughtException().message, mkInformation, mbOK, nullptr);
    }
}

// The difference scenario applied at once: written to the temporary folder, run, deleted.
// A failed write raises with the recording still open.
void ApplyScenario(HWND owner, IZModel** model, ScriptItemList& items) {
    const std::wstring folder = TemporaryFolder();
    const std::wstring path = folder + kTemporaryScenario;
    const std::string ansiPath = AnsiPath(folder) + ShownAnsiFromWide(kTemporaryScenario);
    if (const DWORD error = WriteScenarioFile(path, items))
        throw LibraryError(HRESULT_FROM_WIN32(error),
                           L"Не удалось записать временный файл сценария " + path);
    RunShowingError(owner, model, ansiPath);
    DeleteScenarioFile(path);
}

// Writes the scenario to the target until a write succeeds; false when the user gives up.
bool SaveScenario(const std::wstring& target, ScriptItemList& items) {
    while (WriteScenarioFile(target, items) != 0) {
        if (ShowMessageDlg(kCreateFileFailed, mkInformation, kRetryOrGiveUp, nullptr) != kAnswerOK)
            return false;
    }
    return true;
}

} // namespace

bool scriptStart(IZModel* model) {
    // A recording still open is closed first, so that its receiver does not stay connected.
    ReleaseRecording();
    if (!model)
        throw LibraryError(E_POINTER, L"Нет модели для записи сценария");
    // The receiver connects before any state changes: when it cannot, nothing is open.
    auto receiver = std::make_unique<TCVecEvts>(model);
    // Past the threshold the items go to a temporary file, so that a recording of any size
    // holds little memory.
    ScriptItemList items(std::make_unique<SpillFile>(), SpillThreshold());
    items.emplace_back(tplScriptHeader);
    ScriptBuffer = std::move(items);
    LinkEventReceiver = std::move(receiver);
    DifferenceMode = false;
    RecordingActive = true;
    return true;
}

bool scriptEnd(HWND owner, std::string_view fileName, IZModel** model) {
    if (!RecordingActive || !ScriptBuffer)
        return false;
    ScriptBuffer->emplace_back(tplScriptFooter);

    if (DifferenceMode && model && *model &&
        ShowMessageDlg(kApplyQuestion, mkConfirmation, mbYesNo, nullptr) == kAnswerYes) {
        ApplyScenario(owner, model, *ScriptBuffer);
        ReleaseRecording();
        return true;
    }

    std::wstring target;
    if (!fileName.empty()) {
        target = ExpandEnvironment(WideFromAnsi(fileName));
    } else {
        std::optional<std::wstring> chosen = AskScenarioFile(owner);
        if (!chosen)
            return false;
        target = std::move(*chosen);
    }
    if (!SaveScenario(target, *ScriptBuffer))
        return false;
    ReleaseRecording();
    return true;
}

} // namespace kv
