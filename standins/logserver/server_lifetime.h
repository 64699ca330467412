// The count of live objects and factory locks of kvstandins.dll, for DllCanUnloadNow.
#pragma once

#include <windows.h>

void ServerObjectCreated() noexcept;
void ServerObjectDestroyed() noexcept;
