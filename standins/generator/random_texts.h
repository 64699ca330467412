// The texts of random structures: names, screen texts, code and identifiers. Every text fits the
// Windows-1251 code page; names never begin or end with a blank.
#pragma once

#include "core/value.h"
#include "dice.h"

#include <string>

namespace kvgen {

// A fresh identifier drawn from the dice, never the null one.
zk::Guid DrawnGuid(Dice& dice);

// Unique through the serial number they end with.
std::string ClassName(Dice& dice, int serial);
std::string AttributeName(Dice& dice, int serial);
std::string FilterName(Dice& dice, int serial);
std::string ModuleName(Dice& dice, int serial);
std::string GroupIdentifier(Dice& dice, int serial);
std::string GroupName(Dice& dice, int serial);
std::string PropertyName(Dice& dice);

// A few words, sometimes empty, sometimes with a double quote, "%" or a line break inside.
std::string ScreenText(Dice& dice);
// A short word for aliases, attribute groups, units and entities; sometimes empty.
std::string ShortWord(Dice& dice);
// Attribute function code: often empty, else VBScript lines joined by CR LF, sometimes with a
// leading or trailing line break.
std::string FunctionCode(Dice& dice);
// A global module: procedures with CR LF line breaks, quotes and Cyrillic comments.
std::string ModuleText(Dice& dice);

} // namespace kvgen
