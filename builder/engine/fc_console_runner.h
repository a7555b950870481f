// The console-program runner: starts a program hidden, with its standard output and standard
// error on one pipe, and hands back what it prints line by line. A worker thread reads the pipe
// and fills a lock-guarded line queue that ends with an end mark once the program has ended.
#pragma once

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"
#include "media/base/kz_thread.h"

// Cuts a byte stream into lines at each line feed, dropping a carriage return just before it.
// An unfinished last piece waits for more bytes; finish() turns a non-empty one into a line.
class FCLineSplitter {
public:
    // Feeds bytes; every completed line is handed to `sink`.
    template <typename Sink> void feed(const char* data, int size, Sink&& sink) {
        int start = 0;
        for (int i = 0; i < size; i++) {
            if (data[i] != '\n')
                continue;
            pending.Append(data + start, i - start);
            emit(sink);
            start = i + 1;
        }
        pending.Append(data + start, size - start);
    }
    template <typename Sink> void finish(Sink&& sink) {
        if (!pending.IsEmpty())
            emit(sink);
    }

private:
    template <typename Sink> void emit(Sink& sink) {
        int n = pending.GetLength();
        if (n > 0 && pending[n - 1] == '\r')
            pending.SetLength(n - 1);
        sink(pending);
        pending = KZString();
    }
    KZString pending;
};

// The queue between the worker and the caller: lines in order, then the end mark.
class FCLineQueue {
public:
    FCLineQueue();
    ~FCLineQueue();
    FCLineQueue(const FCLineQueue&) = delete;
    FCLineQueue& operator=(const FCLineQueue&) = delete;

    void push(const KZString& line);
    void push_end();
    // Takes the next line, waiting for it. False at the end mark (and after it).
    bool take(KZString* line);
    // The lines still queued are dropped.
    void clear();

private:
    KZCriticalSection lock;
    KZEvent arrived; // raised on every push, so that take sleeps until there is something
    KZTOArray<KZString> lines;
    int next = 0;
    bool ended = false;
};

struct FCConsoleProcess; // the platform's process, pipe and worker

class FCConsoleRunner {
public:
    FCConsoleRunner();
    // A program still running is terminated (exit code 1); the worker is waited for and the
    // queued lines are freed.
    ~FCConsoleRunner();
    FCConsoleRunner(const FCConsoleRunner&) = delete;
    FCConsoleRunner& operator=(const FCConsoleRunner&) = delete;

    // Starts the command line (Windows rules: a quoted first word is the program; on POSIX the
    // words are split the same way, quotes grouping blanks), hidden, without a working folder of
    // its own and with no standard input. False when it could not be started; system_error()
    // says why. A runner starts one program.
    bool start(const char* command_line);
    // The next output line, waiting for it; false once the program has ended and every line was
    // taken.
    bool next_line(KZString* line);
    // The program's exit code, known after next_line returned false; -1 before.
    int exit_code() const;
    // The system's error code of a failed start.
    unsigned system_error() const { return error; }

    // Used by the worker.
    FCLineQueue& queue() { return lines; }
    void set_exit_code(int code);

private:
    FCLineQueue lines;
    FCConsoleProcess* process = nullptr;
    KZCriticalSection state_lock; // guards `code` and `finished`
    int code = -1;
    bool finished = false;
    unsigned error = 0;

    bool start_process(const char* command_line);
    void stop_process();

public:
    bool worker_finished() const;
    void set_worker_finished();
};

// The words of a command line by the Windows rules that matter here: blanks separate words,
// quotation marks group (and are removed). Used by the POSIX runner.
void FCSplitCommandLine(const char* command_line, KZTOArray<KZString>* words);
