// The recording's expected scenario files (golden/*.txt, see support/golden.h) and the parts of
// the empty recording that frame every other one.
#pragma once

#include "support/golden.h"

#include <string>

// The golden file with every line end as CR LF.
std::string Golden(const std::string& name);

// The header item followed by its CR LF, and the footer item followed by its CR LF, as the
// empty recording's file shows them.
std::string HeaderPart();
std::string FooterPart();

// A recorded file: header, the fragments, footer.
inline std::string ScenarioWith(const std::string& fragments) {
    return HeaderPart() + fragments + FooterPart();
}
