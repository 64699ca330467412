// What the difference reads from the two models: the classes of both structures paired once by
// name, attribute lookups that treat a failing lookup as "not found", and the compared
// parameters and property values of attributes.
#pragma once

#include "comparison/difference_text.h"
#include "kernel/kernel_lookups.h"
#include "platform/com_owners.h"
#include "recording/recording_state.h"

#include <windows.h>
#include <wrl/client.h>

#include <zkernel.h>

#include <string>
#include <vector>

namespace kv {

using Microsoft::WRL::ComPtr;

// A class of one structure and its partner: the class of the same name in the other structure.
struct PairedClass {
    ComPtr<IZClass> cls;
    Bstr wideName;   // as the kernel names it, for lookups
    PlacedName name; // placed for the scenario
    const PairedClass* partner = nullptr;
};

// The classes of a class vector in its order.
std::vector<PairedClass> ReadClasses(IZClassVector* vector);

// Gives every class of each list its partner in the other list (exact comparison of names).
// Hashed: linear in the number of classes.
void PairClasses(std::vector<PairedClass>& first, std::vector<PairedClass>& second);

// The attribute's parameters that the difference compares.
AttributeParameters ReadAttributeParameters(IZClassValue* cval);

// The statements that give the current attribute the target attribute's property values, for
// every property of the target whose value the current attribute lacks or holds with another
// text.
ScriptItems PropertyDifferences(IZClassValue* target, IZClassValue* current);

} // namespace kv
