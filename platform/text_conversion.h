// Conversions between the library's 8-bit texts (process ANSI code page) and wide texts.
#pragma once

#include <string>
#include <string_view>

// 8-bit text in the process ANSI code page (1251 on the target machines) to wide text.
std::wstring WideFromAnsi(std::string_view text);
// Wide text to the process ANSI code page; characters it lacks become its default character.
std::string AnsiFromWide(std::wstring_view text);
// UTF-8 text (the library's own captions in source form) to wide text.
std::wstring WideFromUtf8(std::string_view text);
