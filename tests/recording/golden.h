// Expected scenario files: written by hand in UTF-8 (golden/*.txt), converted to Windows-1251
// by iconv at build time; lines end with CR LF as in every scenario file.
#pragma once

#include <string>

// The fixture's bytes with every line end as CR LF.
std::string Golden(const char* name);

// The header item followed by its CR LF, and the footer item followed by its CR LF, as the
// empty recording's file shows them.
std::string HeaderPart();
std::string FooterPart();

// A recorded file: header, the fragments, footer.
inline std::string ScenarioWith(const std::string& fragments) {
    return HeaderPart() + fragments + FooterPart();
}
