// The texts of the scenario editor window: its caption, the save question, the error line of a
// failed run, the data folder of the editor's files and the line ends of a scenario as the
// editor reads and writes it. Pure.
#pragma once

#include <string>
#include <string_view>

namespace kv::execution {

// "C:\A\Bin\host.exe" -> "C:\A\data\": the host's folder, less its last level, then "data\".
std::wstring EditorDataFolder(std::wstring_view hostPath);

// The part of a path after its last "\", "/" or ":".
std::wstring FileNameWithoutFolder(std::wstring_view path);

// "Сценарий " and the file name without folder.
std::wstring EditorCaption(std::wstring_view path);

// The question asked before unsaved changes would be lost.
std::wstring SaveQuestion(std::wstring_view path);

// The line shown after a failed run: "<line - 1>:<column> - <description>" for an error the
// control places (line from 1, counting the wrapper's first line), else the description alone.
std::wstring RunErrorLine(long line, long column, std::wstring_view description);

// Text read or written as lines: every line (CR LF, a lone CR or a lone LF ends one) is followed
// by CR LF.
std::string WithCrLfLines(std::string_view text);

} // namespace kv::execution
