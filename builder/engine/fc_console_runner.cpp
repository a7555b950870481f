#include "builder/engine/fc_console_runner.h"

FCLineQueue::FCLineQueue() : lock(KZCreateCriticalSection()), arrived(KZCreateEvent()) {}

FCLineQueue::~FCLineQueue() {
    KZDeleteEvent(arrived);
    KZDeleteCriticalSection(lock);
}

void FCLineQueue::push(const KZString& line) {
    {
        KZLock hold(lock);
        lines.Add(line);
    }
    if (arrived)
        KZRaiseEvent(arrived);
}

void FCLineQueue::push_end() {
    {
        KZLock hold(lock);
        ended = true;
    }
    if (arrived)
        KZRaiseEvent(arrived);
}

bool FCLineQueue::take(KZString* line) {
    for (;;) {
        {
            KZLock hold(lock);
            if (next < lines.GetCount()) {
                *line = lines[next];
                // A taken line is not needed again: free its text at once.
                lines[next] = KZString();
                next++;
                return true;
            }
            if (ended)
                return false;
        }
        // A push after the check above has raised the event already, so none is missed.
        if (arrived)
            KZWaitEvent(arrived);
        else
            KZSleep(2); // no event could be had: look again shortly
    }
}

void FCLineQueue::clear() {
    KZLock hold(lock);
    lines.RemoveAll();
    next = 0;
}

FCConsoleRunner::FCConsoleRunner() : state_lock(KZCreateCriticalSection()) {}

FCConsoleRunner::~FCConsoleRunner() {
    stop_process();
    lines.clear();
    KZDeleteCriticalSection(state_lock);
}

bool FCConsoleRunner::start(const char* command_line) {
    if (process || !command_line || !state_lock)
        return false;
    return start_process(command_line);
}

bool FCConsoleRunner::next_line(KZString* line) {
    if (!process)
        return false;
    return lines.take(line);
}

int FCConsoleRunner::exit_code() const {
    KZLock hold(state_lock);
    return code;
}

void FCConsoleRunner::set_exit_code(int value) {
    KZLock hold(state_lock);
    code = value;
}

bool FCConsoleRunner::worker_finished() const {
    KZLock hold(state_lock);
    return finished;
}

void FCConsoleRunner::set_worker_finished() {
    KZLock hold(state_lock);
    finished = true;
}

void FCSplitCommandLine(const char* command_line, KZTOArray<KZString>* words) {
    words->RemoveAll();
    const char* p = command_line;
    while (*p) {
        while (*p == ' ' || *p == '\t')
            p++;
        if (!*p)
            break;
        KZString word;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); p++) {
            if (*p == '"')
                quoted = !quoted;
            else
                word.Append(p, 1);
        }
        words->Add(word);
    }
}
