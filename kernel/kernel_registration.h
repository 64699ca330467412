// Where the registration of the kernel's type library names the kernel's DLL. A type library is
// filed under the system kind of its architecture, so a process finds the kernel of its own
// architecture: a 64-bit kernel under "win64", a 32-bit one under "win32".
#pragma once

namespace kv {

inline constexpr const wchar_t* KernelTypeLibraryKey =
#if defined(_WIN64)
    L"TypeLib\\{001D54E6-3572-405F-8794-79CE321C5F3D}\\1.0\\0\\win64";
#else
    L"TypeLib\\{001D54E6-3572-405F-8794-79CE321C5F3D}\\1.0\\0\\win32";
#endif

} // namespace kv
