#pragma once

// Programs started as Windows starts them: the real Вокабунта, driven from outside as a screen
// reader or a test robot drives it, and the tools around it.
#include <windows.h>

#include <doctest/doctest.h>

#include <string>

#include "Encoding.h"
#include "Form1.h"

// `command` as a shortcut or Explorer gives it, started in `folder` (or the test's own).
struct Process {
    explicit Process(std::wstring command, const wchar_t* folder = nullptr) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        REQUIRE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder, &startup, &info));
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Ends it if a check failed while it ran, so that nothing waits for it.
    ~Process() {
        ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    // Its exit code, once it has ended.
    DWORD wait() const {
        REQUIRE(::WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0);
        DWORD code = 1;
        ::GetExitCodeProcess(info.hProcess, &code);
        return code;
    }

    PROCESS_INFORMATION info{};
};

struct RealProgram : Process {
    explicit RealProgram(std::wstring command, const wchar_t* folder = nullptr)
        : Process(std::move(command), folder) {
        // The title exists before the controls do: wait until the program waits for input.
        REQUIRE(::WaitForInputIdle(info.hProcess, 20000) == 0);
        window = ::FindWindowW(nullptr, dictionary::utf16(form::kTitle).c_str());
        REQUIRE(window != nullptr);
    }

    HWND control(form::Control id) const {
        return ::GetDlgItem(window, win32::Form1::kFirstControlId + static_cast<int>(id));
    }
    std::string text(form::Control id) const { return textOf(control(id)); }
    static std::string textOf(HWND hwnd) {
        wchar_t text[1024];
        const auto length = ::SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        return dictionary::utf8({text, static_cast<std::size_t>(length)});
    }
    // Closes the window as a user does; the program's exit code.
    DWORD close() const {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return wait();
    }

    HWND window = nullptr;
};
