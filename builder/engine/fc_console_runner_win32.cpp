// The runner on Windows: one anonymous pipe behind separate inheritable standard output and
// standard error handles, a hidden window, and a reader thread.
#include "builder/engine/fc_console_runner.h"

#include <windows.h>

struct FCConsoleProcess {
    FCConsoleRunner* owner = nullptr;
    HANDLE read_end = nullptr;
    HANDLE process = nullptr; // closed by the worker when the program has ended
    HANDLE main_thread = nullptr;
    HANDLE worker = nullptr;
    KZCriticalSection lock = nullptr; // guards the two process handles against the teardown
    bool terminated = false;
};

namespace {

DWORD WINAPI Worker(void* argument) {
    FCConsoleProcess* p = static_cast<FCConsoleProcess*>(argument);
    FCLineQueue& queue = p->owner->queue();
    auto sink = [&queue](const KZString& line) { queue.push(line); };
    FCLineSplitter splitter;
    char block[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(p->read_end, block, sizeof block, &got, nullptr) || got == 0)
            break; // the pipe ended (ERROR_BROKEN_PIPE) or the read was cancelled
        splitter.feed(block, int(got), sink);
    }
    splitter.finish(sink);

    WaitForSingleObject(p->process, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(p->process, &code);
    {
        KZLock hold(p->lock);
        CloseHandle(p->process);
        CloseHandle(p->main_thread);
        p->process = nullptr;
        p->main_thread = nullptr;
    }
    p->owner->set_exit_code(int(code));
    queue.push_end();
    p->owner->set_worker_finished();
    return 0;
}

void CancelReads(HANDLE thread) {
    // Vista and later; looked up so that the program still starts where it is missing.
    typedef BOOL(WINAPI * CancelFunction)(HANDLE);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    CancelFunction cancel = kernel ? reinterpret_cast<CancelFunction>(reinterpret_cast<void*>(
                                         GetProcAddress(kernel, "CancelSynchronousIo")))
                                   : nullptr;
    if (cancel)
        cancel(thread);
}

} // namespace

bool FCConsoleRunner::start_process(const char* command_line) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, output = nullptr, errors = nullptr;
    if (!CreatePipe(&read_end, &output, &inherit, 0)) {
        error = GetLastError();
        return false;
    }
    // Our end stays ours; the program gets the write end twice, as two inheritable handles.
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    if (!DuplicateHandle(GetCurrentProcess(), output, GetCurrentProcess(), &errors, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        error = GetLastError();
        CloseHandle(read_end);
        CloseHandle(output);
        return false;
    }

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    KZString writable = command_line; // CreateProcessA may write into the command line
    BOOL started = CreateProcessA(nullptr, writable.SetLength(writable.GetLength()), nullptr,
                                  nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    if (!started)
        error = GetLastError();
    // Only the program may hold the write ends, or the pipe would never end.
    CloseHandle(output);
    CloseHandle(errors);
    if (!started) {
        CloseHandle(read_end);
        return false;
    }

    FCConsoleProcess* p = new FCConsoleProcess;
    p->owner = this;
    p->read_end = read_end;
    p->process = info.hProcess;
    p->main_thread = info.hThread;
    p->lock = KZCreateCriticalSection();
    process = p;
    p->worker = p->lock ? CreateThread(nullptr, 0, Worker, p, 0, nullptr) : nullptr;
    if (!p->worker) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, INFINITE);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        p->process = p->main_thread = nullptr;
        set_exit_code(1);
        lines.push_end();
        set_worker_finished();
    }
    return true;
}

void FCConsoleRunner::stop_process() {
    FCConsoleProcess* p = process;
    if (!p)
        return;
    if (p->worker) {
        if (!worker_finished()) {
            KZLock hold(p->lock);
            if (p->process && WaitForSingleObject(p->process, 0) == WAIT_TIMEOUT) {
                p->terminated = true;
                TerminateProcess(p->process, 1);
            }
        }
        // A program that left a child holding the pipe would keep the read waiting.
        if (WaitForSingleObject(p->worker, 5000) == WAIT_TIMEOUT) {
            CancelReads(p->worker);
            WaitForSingleObject(p->worker, INFINITE);
        }
        CloseHandle(p->worker);
    }
    CloseHandle(p->read_end);
    KZDeleteCriticalSection(p->lock);
    delete p;
    process = nullptr;
}
