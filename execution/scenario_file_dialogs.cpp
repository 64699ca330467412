#include "execution/scenario_file_dialogs.h"

#include "platform/file_dialog.h"

#include <commdlg.h>

namespace kv::execution {

std::optional<std::wstring> AskScenarioFile(HWND owner, ScenarioFileDialog kind,
                                            const std::wstring& initialFolder) {
    const bool open = kind == ScenarioFileDialog::Open;
    return AskFile(owner, {.fileName = L"scenery.vbs",
                           .filter = L"Сценарий VBScript (*.vbs)\0*.vbs\0",
                           .extension = L"vbs",
                           .flags = open ? DWORD{OFN_FILEMUSTEXIST | OFN_HIDEREADONLY}
                                         : DWORD{OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST},
                           .save = !open,
                           .initialFolder = initialFolder});
}

} // namespace kv::execution
