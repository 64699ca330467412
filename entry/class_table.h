// The classes this in-process server offers. The table drives DllGetClassObject and the
// registration, so a class is added in one place; everything else about a class (name,
// description, ProgID, type library) is read from the library's type library.
#pragma once

#include <windows.h>

#include <span>

namespace kv {

struct ServedClass {
    const CLSID* clsid;
    // Makes a new object (every request gets its own) and answers for the interface asked.
    HRESULT (*create)(REFIID riid, void** object);
};

std::span<const ServedClass> ServedClasses();
const ServedClass* FindServedClass(REFCLSID clsid);

} // namespace kv
