#include "failure_sweep.h"

#include "support/wide_text.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kvtest {

const char* KindName(FailureKind kind) {
    return kind == FailureKind::Error ? "error" : "no object";
}

std::string Where(long nth, FailureKind kind) {
    return "call " + std::to_string(nth) + " failing with " + KindName(kind);
}

KernelCallSwitch::KernelCallSwitch() {
    Check(StandInModel().Model().As(&admin_), "the stand-in's admin interface");
}

KernelCallSwitch::~KernelCallSwitch() {
    admin_->zrSetCallFailure(0, 0);
}

void KernelCallSwitch::CountOnly() {
    Check(admin_->zrSetCallFailure(-1, 0), "zrSetCallFailure");
}

void KernelCallSwitch::FailAt(long nth, FailureKind kind) {
    Check(admin_->zrSetCallFailure(nth, static_cast<long>(kind)), "zrSetCallFailure");
}

void KernelCallSwitch::Off() {
    Check(admin_->zrSetCallFailure(0, 0), "zrSetCallFailure");
}

long KernelCallSwitch::Calls() const {
    long count = 0;
    Check(admin_->get_zrCallCount(&count), "zrCallCount");
    return count;
}

std::set<std::wstring> KernelCallSwitch::Interfaces() const {
    VARIANT iids;
    VariantInit(&iids);
    Check(admin_->get_zrCalledInterfaces(&iids), "zrCalledInterfaces");
    std::set<std::wstring> names;
    if (V_VT(&iids) == (VT_ARRAY | VT_BSTR)) {
        LONG low = 0, high = -1;
        SafeArrayGetLBound(V_ARRAY(&iids), 1, &low);
        SafeArrayGetUBound(V_ARRAY(&iids), 1, &high);
        for (LONG index = low; index <= high; ++index) {
            BSTR item = nullptr;
            if (SUCCEEDED(SafeArrayGetElement(V_ARRAY(&iids), &index, &item)) && item)
                names.insert(std::wstring(item, SysStringLen(item)));
            SysFreeString(item);
        }
    }
    VariantClear(&iids);
    return names;
}

OperationCalls CountCalls(KernelCallSwitch& kernel, const std::function<void()>& operation) {
    kernel.CountOnly();
    operation();
    OperationCalls calls{kernel.Calls(), kernel.Interfaces()};
    kernel.Off();
    return calls;
}

std::string MissingInterfaces(const OperationCalls& calls,
                              std::initializer_list<std::pair<const char*, IID>> expected) {
    std::string missing;
    for (const auto& [name, iid] : expected) {
        wchar_t text[40];
        StringFromGUID2(iid, text, 40);
        if (!calls.interfaces.count(text))
            missing += std::string(missing.empty() ? "" : ", ") + name;
    }
    return missing;
}

std::string MissingStructureInterfaces(const OperationCalls& calls) {
    return MissingInterfaces(calls, {{"IZModel", IID_IZModel},
                                     {"IZClassVector", IID_IZClassVector},
                                     {"IZClass", IID_IZClass},
                                     {"IZClassValue", IID_IZClassValue},
                                     {"IZProperties", IID_IZProperties},
                                     {"IZFilterVector", IID_IZFilterVector},
                                     {"IZLocalSecurity", IID_IZLocalSecurity}});
}

void ForEveryFailure(long calls, const std::function<void(long nth, FailureKind kind)>& check) {
    for (const FailureKind kind : {FailureKind::Error, FailureKind::NoObject})
        for (long nth = 1; nth <= calls; ++nth)
            check(nth, kind);
}

namespace {

struct ThreadDialogs {
    DWORD thread;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
    auto* dialogs = reinterpret_cast<ThreadDialogs*>(context);
    wchar_t name[16] = {};
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == dialogs->thread &&
        GetClassNameW(window, name, 16) && std::wstring(name) == L"#32770")
        dialogs->found.push_back(window);
    return TRUE;
}

} // namespace

DialogAnswerer::DialogAnswerer(DWORD thread) : thread_(thread) {
    watcher_ = std::thread([this] {
        while (!stop_.load()) {
            ThreadDialogs dialogs{thread_, {}};
            EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
            for (HWND dialog : dialogs.found) {
                ++answered_;
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                PostMessageW(dialog, WM_COMMAND, IDNO, 0);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(dialogs.found.empty() ? 20 : 200));
        }
    });
}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    watcher_.join();
}

namespace {

struct ThreadWindows {
    DWORD thread;
    HWND except;
    std::vector<std::wstring> texts;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<ThreadWindows*>(context);
    if (window != windows->except && IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, nullptr) == windows->thread) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        windows->texts.push_back(text);
    }
    return TRUE;
}

} // namespace

std::vector<std::wstring> VisibleWindowsBesides(HWND except) {
    ThreadWindows windows{GetCurrentThreadId(), except, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows.texts;
}

void ExpectFailureShown(bool failed, const std::wstring& error, long nth, FailureKind kind,
                        HWND owner) {
    if (failed) {
        EXPECT_NE(error, L"") << Where(nth, kind) << ": no message";
        if (kind == FailureKind::Error) {
            EXPECT_NE(error.find(kStandInFailureText), std::wstring::npos)
                << Where(nth, kind) << ": " << Narrow(error);
        }
    }
    const auto windows = VisibleWindowsBesides(owner);
    EXPECT_TRUE(windows.empty()) << Where(nth, kind) << ": a window is left open: "
                                 << Narrow(windows.empty() ? L"" : windows.front());
}

} // namespace kvtest
