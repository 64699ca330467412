// What the command-line host needs around korvalith.dll: the library loaded as the configurator
// loads it, a hidden owner window, owned BSTRs, the kernel's model class and error texts.
#pragma once

#include <zkernel.h>

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kvhost {

using Microsoft::WRL::ComPtr;

// An operation that failed; main prints the message and exits with 1.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Texts between the ANSI code page of arguments and output and the kernel's wide strings.
std::wstring Widen(const std::string& ansi);
std::string Narrow(const wchar_t* wide, std::size_t length);
std::string Narrow(BSTR text);
// A kernel's name passed to an export, which takes 8-bit text in the ANSI code page: a name with
// a character that the code page lacks cannot be passed, and is a HostError naming it ("filter
// name", ...), never a look-alike that would name something else.
std::string ExportName(std::wstring_view name, const char* what);
std::string ExportName(BSTR name, const char* what);

// The system's text for an error code, without its final line break.
std::string SystemMessage(DWORD error);

// A path with its environment references (%NAME%) expanded, at any length, as the library's
// exports expand the file names they are given.
std::wstring ExpandedPath(const std::string& path);

// The description of the thread's COM error information, taking it ("" when there is none).
std::string TakeErrorDescription();

// Raises a HostError naming what failed and the error information's text.
void Check(HRESULT hr, const char* what);

// A kernel object a call gave; a HostError naming the reading when the call answered success
// with no object, which a kernel may do for an object removed underneath.
template <class Interface> Interface* Required(const ComPtr<Interface>& object, const char* what) {
    if (!object)
        throw HostError(std::string(what) + " gave no object");
    return object.Get();
}

// Owns a BSTR for the length of a call.
class Text {
public:
    explicit Text(const std::wstring& text);
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text();
    operator BSTR() const { return value_; }

private:
    BSTR value_;
};

// Owns a BSTR that a call fills.
class OutText {
public:
    OutText() = default;
    OutText(const OutText&) = delete;
    OutText& operator=(const OutText&) = delete;
    ~OutText() { SysFreeString(value_); }
    BSTR* put() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    BSTR get() const { return value_; }
    std::string ansi() const { return Narrow(value_); }
    std::string exportName(const char* what) const { return ExportName(value_, what); }

private:
    BSTR value_ = nullptr;
};

// korvalith.dll loaded from the host's folder, exports found by ordinal.
class Library {
public:
    Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library();

    template <class Function> Function Export(WORD ordinal) const {
        FARPROC address = GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
        if (!address)
            throw HostError("korvalith.dll has no export with ordinal " + std::to_string(ordinal));
        return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    }

private:
    HMODULE module_;
};

// A hidden top-level window: the owner that scriptExecute requires of a host.
class OwnerWindow {
public:
    OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow();
    HWND get() const { return window_; }

private:
    HWND window_;
};

// A fresh "zkernel.ZModel"; LoadModel also loads a structure file into it (flags 2).
ComPtr<IZModel> NewModel();
ComPtr<IZModel> LoadModel(const std::string& path);

// A user group of a model: identifier (group attribute 2) and name (attribute 1), as text.
struct UserGroup {
    std::wstring id;
    std::wstring name;
};

// The model's user groups in the kernel's order.
std::vector<UserGroup> UserGroups(IZModel* model);

// Calls an export with the thread's error information cleared first, so that after a false
// result the error information, if any, is the export's own.
template <class Call> bool CallExport(Call call) {
    SetErrorInfo(0, nullptr);
    return call() != 0;
}

// After an export's false result: raises a HostError with the text the export left in the
// error information, or "<what> failed" when it left none.
[[noreturn]] void RaiseExportFailure(const std::string& what);

// Calls an export that must answer true (see RaiseExportFailure).
template <class Call> void RequireExport(const std::string& what, Call call) {
    if (!CallExport(call))
        RaiseExportFailure(what);
}

} // namespace kvhost
