// TAbuseModel: the kernel's back door. The kernel's own library exports two plain functions
// that set the identifier of a class or an attribute, which its automation interfaces cannot.
// This object finds that library through the kernel's type-library registration, loads it
// and calls those exports.
#pragma once

#include <windows.h>

#include <zkernel.h>

class TAbuseModel {
public:
    // The registration whose default value names the kernel's library of this process's
    // architecture: a 64-bit kernel registers its type library under "win64".
    static constexpr const wchar_t* KernelLibraryKey =
#if defined(_WIN64)
        L"TypeLib\\{001D54E6-3572-405F-8794-79CE321C5F3D}\\1.0\\0\\win64";
#else
        L"TypeLib\\{001D54E6-3572-405F-8794-79CE321C5F3D}\\1.0\\0\\win32";
#endif

    // Loads the kernel's library. A missing key, file, library or export is no error: the
    // setters concerned answer false. A failure while reading the key's value is raised.
    TAbuseModel();
    ~TAbuseModel();
    TAbuseModel(const TAbuseModel&) = delete;
    TAbuseModel& operator=(const TAbuseModel&) = delete;

    // Set the identifier through the kernel's export; false when it is not there.
    bool SetClassGUID(IZClass* cls, const GUID& guid);
    bool SetClassValueGUID(IZClassValue* cval, const GUID& guid);

    bool LibraryLoaded() const noexcept { return library_ != nullptr; }

private:
    using SetClassGuidExport = unsigned char(__stdcall*)(IZClass* cls, const GUID* guid);
    using SetClassValueGuidExport = unsigned char(__stdcall*)(IZClassValue* cval, const GUID* guid);

    HMODULE library_ = nullptr;
    SetClassGuidExport set_class_guid_ = nullptr;
    SetClassValueGuidExport set_class_value_guid_ = nullptr;
};
