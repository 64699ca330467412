// The class factory of a served class: multiple instancing (every request makes a new object).
#pragma once

#include "entry/class_table.h"

namespace kv {

// The start-up step after which DllGetClassObject hands out factories.
void MakeClassFactoriesReady() noexcept;
bool ClassFactoriesReady() noexcept;

// A factory for the class, answering for the interface asked.
HRESULT CreateClassFactory(const ServedClass& served, REFIID riid, void** object);

} // namespace kv
