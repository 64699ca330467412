// Running a scenario's lines in the Windows Script Control: the one way both the script runner
// and the scenario editor call Scripter with the model.
#pragma once

#include <windows.h>

#include "platform/barriers.h"
#include "script_control.h"
#include "zkernel.h"

#include <wrl/client.h>

#include <string>
#include <vector>

namespace kv::execution {

// A failed compile or run, with what the control's Error object said about it. The message
// names the place in the scenario's lines; `Description()` is the control's description, or
// where the engine leaves that empty, the same text without the place.
class ScriptFailure : public LibraryError {
public:
    ScriptFailure(HRESULT code, std::wstring message, std::wstring description, long line,
                  long column);

    const std::wstring& Description() const noexcept { return description_; }
    long Line() const noexcept { return line_; }     // of the wrapped text, from 1; 0 = none
    long Column() const noexcept { return column_; } // as the control counts it, from 0

private:
    std::wstring description_;
    long line_;
    long column_;
};

// A Script Control for VBScript without a time limit; raises when it cannot be created.
Microsoft::WRL::ComPtr<IScriptControl> CreateVBScriptControl();

// Compiles the wrapped lines and calls Scripter with the model. A script error leaves as
// ScriptFailure; anything else (no memory for the argument) as LibraryError.
void RunScripter(IScriptControl* control, const std::vector<std::string>& lines, IZModel* model);

} // namespace kv::execution
