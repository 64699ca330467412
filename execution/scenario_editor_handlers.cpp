// The scenario editor form's handlers for files, closing and help.
#include "execution/scenario_editor_form.h"

#include "common/app_folder.h"
#include "common/message_dialog.h"
#include "common/outside_components.h"
#include "execution/scenario_editor_text.h"
#include "execution/scenario_file.h"
#include "execution/scenario_file_dialogs.h"
#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/paths.h"
#include "platform/system_error_text.h"
#include "platform/text_conversion.h"

namespace kv::execution {

namespace {

using Microsoft::WRL::ComPtr;

// {E06ADC8A-4E97-45EE-A2F9-D570AA18C358}: the directory component's help object.
constexpr IID kHelpObjectInterface = {
    0xE06ADC8A, 0x4E97, 0x45EE, {0xA2, 0xF9, 0xD5, 0x70, 0xAA, 0x18, 0xC3, 0x58}};
constexpr DISPID kHelpObjectMember = 1;
constexpr DISPID kShowHelpMember = 26;
constexpr long kEditorHelpTopic = 1040;

std::uint16_t ResultOf(MessageButton button) {
    return ButtonInfo(button).result;
}

// A message of the form. It is owned by the application's window, so the form is disabled
// meanwhile, as every window of the thread is under a modal message.
std::uint16_t AskOverForm(HWND form, const std::wstring& text, TMessageKind kind,
                          TMessageButtons buttons) {
    const DisabledWindow disabled(form);
    return ShowMessageDlg(text, kind, buttons, nullptr);
}

// Opens the help file at the editor's topic through the directory component.
void ShowEditorHelp() {
    std::wstring folder;
    GetAppFolder(3, folder);
    const Bstr helpFile(folder + L"\\GuideAdmin.chm");
    const ComPtr<IUnknown> component = CoTarnbridge();
    // Asked for by the component's interface, the pointer is that dispatch interface.
    auto* directory = static_cast<IDispatch*>(component.Get());
    DISPPARAMS none{};
    Variant helpObject;
    check(directory->Invoke(kHelpObjectMember, IID_NULL, LOCALE_USER_DEFAULT,
                            DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, helpObject.Get(),
                            nullptr, nullptr));
    if (helpObject.Get()->vt != VT_DISPATCH || !helpObject.Get()->pdispVal)
        throw LibraryError(E_NOINTERFACE, L"");
    ComPtr<IDispatch> help;
    check(helpObject.Get()->pdispVal->QueryInterface(
        kHelpObjectInterface, reinterpret_cast<void**>(help.GetAddressOf())));
    VARIANT arguments[2]; // last first
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_I4;
    arguments[0].lVal = kEditorHelpTopic;
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = helpFile.Get(); // borrowed for the call
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    Variant shown; // ignored
    check(help->Invoke(kShowHelpMember, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                       shown.Get(), nullptr, nullptr));
}

// The folder where the user keeps technologies inside the documents folder; none when the shell
// cannot give the documents folder.
std::wstring TechnologiesFolder(HWND owner) {
    const std::wstring documents = DocumentsFolder(owner);
    return documents.empty() ? documents : documents + L"Мои технологии\\";
}

} // namespace

void TfScenery::FormShow() {
    file_name_.clear();
    modified_ = false;
    if (editor_->Text().empty())
        bOpenClick();
    if (editor_->Text().empty())
        PostMessageW(form_.Get(), WM_CLOSE, 0, 0);
    else
        editor_->Focus();
}

bool TfScenery::FormShortCut(WPARAM key) {
    if (key != VK_F1)
        return false;
    try {
        ShowEditorHelp();
    } catch (...) {
        // Help is a convenience: without the component or the file nothing is shown.
    }
    return true;
}

bool TfScenery::FormCloseQuery() {
    return ChangesMayGo();
}

void TfScenery::WriteText() {
    const std::string bytes = WithCrLfLines(ShownAnsiFromWide(editor_->Text()));
    if (const unsigned long error = WriteScenarioFile(file_name_, bytes)) {
        const HRESULT hr = HRESULT_FROM_WIN32(error);
        throw LibraryError(hr, L"Не удалось записать файл сценария \"" + file_name_ + L"\": " +
                                   SystemErrorText(hr));
    }
}

bool TfScenery::ChangesMayGo() {
    if (!modified_)
        return true;
    const std::uint16_t answer =
        AskOverForm(form_.Get(), SaveQuestion(file_name_), mkConfirmation, mbYesNoCancel);
    if (answer == ResultOf(MessageButton::No))
        return true;
    if (answer != ResultOf(MessageButton::Yes))
        return false;
    if (file_name_.empty()) {
        // The text has no file yet (its Save As was cancelled): it is saved as "Сохранить" does,
        // and nothing is lost when that is cancelled or fails.
        bSaveClick();
        return !modified_;
    }
    WriteText(); // a failure leaves through the form's error handling; the action does not happen
    modified_ = false;
    return true;
}

void TfScenery::bOpenClick() {
    if (!ChangesMayGo())
        return;
    const std::optional<std::wstring> chosen =
        AskScenarioFile(form_.Get(), ScenarioFileDialog::Open, TechnologiesFolder(form_.Get()));
    if (!chosen)
        return;
    // Read before anything changes: a file that cannot be read leaves the text and its file
    // as they were, so a later save cannot overwrite the unread file with another text.
    const std::wstring text = WideFromAnsi(WithCrLfLines(ReadScenarioFile(*chosen)));
    file_name_ = *chosen;
    editor_->SetText(text);
    SetWindowTextW(form_.Get(), EditorCaption(file_name_).c_str());
    modified_ = false;
}

void TfScenery::bSaveClick() {
    if (file_name_.empty()) {
        const std::optional<std::wstring> chosen =
            AskScenarioFile(form_.Get(), ScenarioFileDialog::Save, DocumentsFolder(form_.Get()));
        if (!chosen)
            return;
        file_name_ = *chosen;
    }
    try {
        WriteText();
        modified_ = false;
    } catch (...) {
        AskOverForm(form_.Get(), L"Ошибка создания файла.\r\nПроверьте наличие прав", mkInformation,
                    mbOK);
    }
    SetWindowTextW(form_.Get(), EditorCaption(file_name_).c_str());
}

void TfScenery::bSaveAsClick() {
    file_name_.clear();
    bSaveClick();
}

void TfScenery::bCancelClick() {
    modified_ = false; // unsaved changes go without a question
    Close();
}

} // namespace kv::execution
