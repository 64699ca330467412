// A structure whose names and texts hold quotes, line breaks (CR LF, lone CR, lone LF), "%",
// "<" and "&": in class, attribute, property, filter, constraint, module and group texts.
#pragma once

#include "bad_input_fixture.h"

#include <string>

extern const std::wstring kTrickyTexts[4];

ComPtr<IZClass> AddClass(IZClassVector* vector, const std::wstring& name);

// An attribute whose every text is `text`, with a property named and valued by it.
void AddAttribute(IZClass* cls, const std::wstring& text);

// A class of each tricky name with an attribute of it, rights of the group 'g"1 %x%', a link,
// a filter with a constraint and a module.
void BuildTrickyStructure(IZModel* model);
