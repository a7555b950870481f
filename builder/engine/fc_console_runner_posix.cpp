// The runner on POSIX: posix_spawn with both output descriptors on one pipe, a reader thread.
#include "builder/engine/fc_console_runner.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <vector>

#include "media/base/kz_platform.h"

extern char** environ;

struct FCConsoleProcess {
    FCConsoleRunner* owner = nullptr;
    pid_t pid = -1;
    int read_fd = -1;
    pthread_t thread;
    bool thread_started = false;
    KZCriticalSection lock = nullptr; // guards `reaped` against the teardown's kill
    bool reaped = false;
    bool killed = false;
    std::atomic<bool> stop{false};
};

namespace {

void* Worker(void* argument) {
    FCConsoleProcess* p = static_cast<FCConsoleProcess*>(argument);
    FCLineQueue& queue = p->owner->queue();
    auto sink = [&queue](const KZString& line) { queue.push(line); };
    FCLineSplitter splitter;
    char block[4096];
    for (;;) {
        // A short poll lets the teardown stop a read that a left-over grandchild keeps open.
        pollfd pfd = {p->read_fd, POLLIN, 0};
        int ready = poll(&pfd, 1, 100);
        if (p->stop.load())
            break;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            continue;
        ssize_t n = read(p->read_fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        splitter.feed(block, int(n), sink);
    }
    splitter.finish(sink);

    // Wait without reaping, so that the process id stays ours until the lock is held.
    siginfo_t info;
    while (waitid(P_PID, id_t(p->pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    int status = 0;
    {
        KZLock hold(p->lock);
        while (waitpid(p->pid, &status, 0) < 0 && errno == EINTR) {
        }
        p->reaped = true;
    }
    int code = -1;
    if (p->killed)
        code = 1;
    else if (WIFEXITED(status))
        code = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        code = 128 + WTERMSIG(status);
    p->owner->set_exit_code(code);
    queue.push_end();
    p->owner->set_worker_finished();
    return nullptr;
}

} // namespace

bool FCConsoleRunner::start_process(const char* command_line) {
    KZTOArray<KZString> words;
    FCSplitCommandLine(command_line, &words);
    if (words.GetCount() == 0) {
        error = ENOENT;
        return false;
    }
    // The command line is the engine's, in the ANSI code page; the program and its arguments
    // (the script's path) are the system's names.
    KZTOArray<KZString> names;
    std::vector<char*> argv;
    for (int i = 0; i < words.GetCount(); i++) {
        KZString name;
        if (!KZToSystemName(words[i], name) || !names.Add(name)) {
            error = ENOMEM;
            return false;
        }
    }
    for (int i = 0; i < names.GetCount(); i++)
        argv.push_back(const_cast<char*>(names[i].c_str()));
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = unsigned(errno);
        return false;
    }
    // Standard error is a descriptor of its own on the same pipe.
    int error_fd = fcntl(fds[1], F_DUPFD_CLOEXEC, 3);
    if (error_fd < 0) {
        error = unsigned(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, error_fd, 2);
    pid_t pid = -1;
    int result = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    close(error_fd);
    if (result != 0) {
        error = unsigned(result);
        close(fds[0]);
        return false;
    }

    FCConsoleProcess* p = new FCConsoleProcess;
    p->owner = this;
    p->pid = pid;
    p->read_fd = fds[0];
    p->lock = KZCreateCriticalSection();
    process = p;
    if (!p->lock || pthread_create(&p->thread, nullptr, Worker, p) != 0) {
        // Without a reader nobody would collect the program: end it here.
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        p->reaped = true;
        set_exit_code(1);
        lines.push_end();
        set_worker_finished();
        return true;
    }
    p->thread_started = true;
    return true;
}

void FCConsoleRunner::stop_process() {
    FCConsoleProcess* p = process;
    if (!p)
        return;
    if (p->thread_started) {
        if (!worker_finished()) {
            KZLock hold(p->lock);
            if (!p->reaped) {
                p->killed = true;
                kill(p->pid, SIGKILL);
            }
        }
        p->stop.store(true);
        pthread_join(p->thread, nullptr);
    }
    close(p->read_fd);
    KZDeleteCriticalSection(p->lock);
    delete p;
    process = nullptr;
}
