// The folder of the server store: the environment variable ZKERNEL_SERVER_STORE, or else the
// registry value HKLM\Software\zkernel "ServerStore". Shared by the kernel stand-in, which
// loads and stores server structures there, and the synchronisation manager stand-in, which
// lists them.
#pragma once

#include <string>

namespace zk {

// The folder as configured (environment references of a registry value expanded), "" when
// none is set up.
std::wstring ServerStoreFolder();

} // namespace zk
