// The hand-written files of the difference tests: structure files (fixtures/*.ztp) and expected
// scenario text (golden/*.txt, UTF-8 with LF line ends, written from the scenario's rules).
#pragma once

#include <zkernel.h>

#include <string>

// The ANSI path of a structure file of the fixtures folder.
std::string FixturePath(const char* name);

// The expected text of golden/NAME.txt in Windows-1251 with every line end as CR LF, as a
// scenario file holds it.
std::string ExpectedText(const char* name);

// Loads a structure file (ANSI path) into the model; a failure is the test's.
void LoadStructure(IZModel* model, const std::string& path);
