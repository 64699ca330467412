// TAbuseModel: the kernel's back door. The kernel's own library exports two plain functions
// that set the identifier of a class or an attribute, which its automation interfaces cannot.
// This object finds that library through the kernel's type-library registration, loads it
// and calls those exports.
#pragma once

#include "platform/win_owners.h"

#include <windows.h>

#include <kernel_registration.h>
#include <zkernel.h>

namespace kv {

class TAbuseModel {
public:
    // The registration whose default value names the kernel's library (of this process's
    // architecture).
    static constexpr const wchar_t* KernelLibraryKey = kv::KernelTypeLibraryKey;

    // Loads the kernel's library. A missing key, file, library or export is no error: the
    // setters concerned answer false. A failure while reading the key's value is raised.
    TAbuseModel();
    TAbuseModel(const TAbuseModel&) = delete;
    TAbuseModel& operator=(const TAbuseModel&) = delete;

    // Set the identifier through the kernel's export; false when it is not there.
    bool SetClassGUID(IZClass* cls, const GUID& guid);
    bool SetClassValueGUID(IZClassValue* cval, const GUID& guid);

    bool LibraryLoaded() const noexcept { return static_cast<bool>(library_); }

private:
    using SetClassGuidExport = unsigned char(__stdcall*)(IZClass* cls, const GUID* guid);
    using SetClassValueGuidExport = unsigned char(__stdcall*)(IZClassValue* cval, const GUID* guid);

    LoadedModule library_;
    SetClassGuidExport set_class_guid_ = nullptr;
    SetClassValueGuidExport set_class_value_guid_ = nullptr;
};

} // namespace kv
