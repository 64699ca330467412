// The count of live objects and factory locks of kvstandins.dll, for DllCanUnloadNow.
#pragma once

void ServerObjectCreated() noexcept;
void ServerObjectDestroyed() noexcept;
