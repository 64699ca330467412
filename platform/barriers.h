// Errors inside the library and the one barrier at each boundary that turns them into what the
// boundary's contract asks for: false from an export, an HRESULT with error information from a
// COM method, or a swallowed error from the script helper's small methods.
#pragma once

#include <windows.h>
#include <cguid.h>
#include <objbase.h>
#include <oleauto.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>

namespace kv {

// An error raised inside the library: the status that caused it and a text for the user, and
// for an error of a COM object, the source it named ("Object.Method" or any text; may be empty).
class LibraryError : public std::exception {
public:
    LibraryError(HRESULT code, std::wstring message, std::wstring source = {});

    HRESULT Code() const noexcept { return code_; }
    const std::wstring& Message() const noexcept { return message_; }
    const std::wstring& Source() const noexcept { return source_; }
    // The message in the process ANSI code page.
    const char* what() const noexcept override { return ansi_message_.c_str(); }

private:
    HRESULT code_;
    std::wstring message_;
    std::wstring source_;
    std::string ansi_message_;
};

// Turns a failing status of a kernel (or platform) call into a LibraryError at once. The
// message and source are the error information the failing object left on the thread, if any.
void check(HRESULT hr);

// The status and text of the exception being handled (call only inside a catch block).
// Errors that are not LibraryError are reported as E_UNEXPECTED (E_OUTOFMEMORY for bad_alloc).
struct CaughtError {
    HRESULT code;
    std::wstring message;
};
CaughtError DescribeCaughtException() noexcept;

// Sets the thread's COM error information; interface and source are optional.
void SetThreadErrorInfo(const std::wstring& message, const GUID& iid = GUID_NULL,
                        const wchar_t* source = nullptr) noexcept;

// Runs the body; the message of a failure inside it (its error information cleared), or
// nothing when the body ran to its end. For steps that a failure passes over.
template <class Body> std::optional<std::wstring> FailureOf(Body&& body) {
    try {
        std::forward<Body>(body)();
        return std::nullopt;
    } catch (...) {
        std::wstring message = DescribeCaughtException().message;
        SetErrorInfo(0, nullptr);
        return message;
    }
}

// The same, answering whether the body ran to its end.
template <class Body> bool Guarded(Body&& body) {
    return !FailureOf(std::forward<Body>(body));
}

// The barrier of an export: no exception leaves it; on error the export returns false and the
// thread's error information holds the message, so a host can read it.
template <class Body> unsigned char ExportBarrier(Body&& body) noexcept {
    try {
        return std::forward<Body>(body)() ? 1 : 0;
    } catch (...) {
        SetThreadErrorInfo(DescribeCaughtException().message);
        return 0;
    }
}

// The barrier of a COM method that reports its errors: the error's status, with error
// information naming the interface.
template <class Body>
HRESULT ComMethodBarrier(const GUID& iid, const wchar_t* source, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        CaughtError error = DescribeCaughtException();
        SetThreadErrorInfo(error.message, iid, source);
        return error.code;
    }
}

// The barrier of a COM method that reports its errors under the source they name: the error's
// status, with error information naming the interface and the error's own source (a kernel
// method, say), else the given one.
template <class Body>
HRESULT ReportingBarrier(const GUID& iid, const wchar_t* source, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return S_OK;
    } catch (const LibraryError& error) {
        SetThreadErrorInfo(error.Message(), iid,
                           error.Source().empty() ? source : error.Source().c_str());
        return error.Code();
    } catch (...) {
        const CaughtError error = DescribeCaughtException();
        SetThreadErrorInfo(error.message, iid, source);
        return error.code;
    }
}

// The barrier of IDispatch::Invoke: an error becomes DISP_E_EXCEPTION with its message and
// status in the exception information (when the caller gave room for it) and as the thread's
// error information.
template <class Body>
HRESULT DispatchBarrier(EXCEPINFO* exception, const wchar_t* source, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        const CaughtError error = DescribeCaughtException();
        if (exception) {
            *exception = {};
            exception->bstrSource = SysAllocString(source);
            exception->bstrDescription = SysAllocString(error.message.c_str());
            exception->scode = error.code;
        }
        SetThreadErrorInfo(error.message);
        return DISP_E_EXCEPTION;
    }
}

// The barrier of a COM method that never reports an error: whatever failed, the caller gets
// S_OK, and error information that a failing kernel call left behind is cleared so it cannot
// be mistaken for a later error's.
template <class Body> HRESULT SwallowingBarrier(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        SetErrorInfo(0, nullptr);
    }
    return S_OK;
}

} // namespace kv
