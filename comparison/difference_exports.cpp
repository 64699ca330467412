#include "comparison/difference_exports.h"

#include "comparison/structure_difference.h"
#include "platform/barriers.h"
#include "platform/com_owners.h"
#include "platform/file_dialog.h"
#include "platform/paths.h"
#include "platform/text_conversion.h"
#include "recording/fragment_writer.h"
#include "recording/whole_fragment.h"

#include <commdlg.h>
#include <wrl/client.h>

#include <optional>

namespace kv {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kDefaultFileName[] = L"Structure.ztp";
// One filter entry: description, pattern; the list ends with an empty entry.
constexpr wchar_t kStructureFilter[] = L"Технологический процесс (*.ztp)\0*.ztp\0";
constexpr wchar_t kDefaultExtension[] = L"ztp";
// The kernel's flag for loading a structure file.
constexpr LONG kLoadStructureFile = 2;

// The structure file chosen in the Open dialog, or nothing when the user cancelled.
std::optional<std::wstring> AskStructureFile(HWND owner) {
    return AskFile(owner, {.fileName = kDefaultFileName,
                           .filter = kStructureFilter,
                           .extension = kDefaultExtension,
                           .flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                           .save = false,
                           .initialFolder = DocumentsFolder(owner)});
}

// A private model of the kernel holding the structure file.
ComPtr<IZModel> LoadTargetModel(const std::wstring& path) {
    ComPtr<IZModel> model;
    check(CoCreateInstance(CLSID_ZModel, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&model)));
    check(model->zrLoadModel(Bstr(path).Get(), nullptr, kLoadStructureFile));
    return model;
}

} // namespace

// A difference that fails takes back everything it appended and leaves the recording's mode as
// it was: the host must never be offered half a difference to apply.
bool WriteDifferenceToFile(IZModel* model, const std::wstring& structureFile) {
    if (!RecordingOpen() || !model)
        return false;
    const bool differenceMode = DifferenceMode;
    try {
        AsWholeFragment([&] {
            const ComPtr<IZModel> target = LoadTargetModel(structureFile);
            WriteStructureDifference(model, target.Get());
        });
    } catch (...) {
        DifferenceMode = differenceMode;
        throw;
    }
    return true;
}

bool scriptDifferenceFile(IZModel* model, std::string_view structureFile) {
    return WriteDifferenceToFile(model, WideFromAnsi(structureFile));
}

bool scriptDifference(IZModel* model, HWND owner) {
    if (!RecordingOpen() || !model)
        return false;
    const std::optional<std::wstring> chosen = AskStructureFile(owner);
    return chosen && WriteDifferenceToFile(model, *chosen);
}

} // namespace kv
