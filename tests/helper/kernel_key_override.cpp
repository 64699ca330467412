#include "kernel_key_override.h"

#include "helper/abuse_model.h"
#include "support/registry_text.h"

using namespace kv;

KernelKeyOverride::KernelKeyOverride()
    : saved_(kvtest::RegistryText(HKEY_CLASSES_ROOT, TAbuseModel::KernelLibraryKey)) {}

KernelKeyOverride::~KernelKeyOverride() {
    if (saved_)
        NameFile(*saved_);
}

void KernelKeyOverride::RemoveKey() {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, TAbuseModel::KernelLibraryKey);
}

void KernelKeyOverride::NameFile(const std::wstring& path) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, TAbuseModel::KernelLibraryKey, 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void KernelKeyOverride::SetNumber(DWORD number) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, TAbuseModel::KernelLibraryKey, 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    RegCloseKey(key);
}
