#include "platform/barriers.h"

#include "platform/com_owners.h"
#include "platform/text_conversion.h"

#include <wrl/client.h>

#include <cstdio>
#include <new>

namespace kv {

using Microsoft::WRL::ComPtr;

namespace {

std::wstring StatusText(HRESULT hr) {
    wchar_t text[32];
    swprintf(text, 32, L"Ошибка 0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

struct ThreadErrorInformation {
    std::wstring description;
    std::wstring source;
};

// The error information that the failing call left on the thread (taking it clears it).
ThreadErrorInformation TakeThreadErrorInformation() {
    ThreadErrorInformation taken;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return taken;
    Bstr description;
    if (SUCCEEDED(info->GetDescription(description.Out())))
        taken.description = description.View();
    Bstr source;
    if (SUCCEEDED(info->GetSource(source.Out())))
        taken.source = source.View();
    return taken;
}

} // namespace

LibraryError::LibraryError(HRESULT code, std::wstring message, std::wstring source)
    : code_(code), message_(std::move(message)), source_(std::move(source)),
      ansi_message_(ShownAnsiFromWide(message_)) {}

void check(HRESULT hr) {
    if (SUCCEEDED(hr))
        return;
    ThreadErrorInformation information = TakeThreadErrorInformation();
    throw LibraryError(
        hr, information.description.empty() ? StatusText(hr) : std::move(information.description),
        std::move(information.source));
}

CaughtError DescribeCaughtException() noexcept {
    try {
        try {
            throw;
        } catch (const LibraryError& error) {
            return {error.Code(), error.Message()};
        } catch (const std::bad_alloc&) {
            return {E_OUTOFMEMORY, L"Недостаточно памяти"};
        } catch (const std::exception& error) {
            return {E_UNEXPECTED, WideFromAnsi(error.what())};
        } catch (...) {
            return {E_UNEXPECTED, L"Непредвиденная ошибка"};
        }
    } catch (...) {
        // Building the description itself failed (out of memory): keep the status only.
        return {E_UNEXPECTED, {}};
    }
}

void SetThreadErrorInfo(const std::wstring& message, const GUID& iid,
                        const wchar_t* source) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create)))
        return;
    create->SetGUID(iid);
    create->SetDescription(const_cast<LPOLESTR>(message.c_str()));
    if (source)
        create->SetSource(const_cast<LPOLESTR>(source));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info)))
        SetErrorInfo(0, info.Get());
}

} // namespace kv
