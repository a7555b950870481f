// The engine never opens a window; it reports through this. The GUI shows a message box,
// scrkit-cli prints to stderr and answers from its options, tests record the texts.
#pragma once

#include <string>
#include <vector>

// Message-box type flags and button ids with their Windows values, so that portable code needs
// no windows.h.
enum : unsigned {
    KZ_MB_OK = 0x0,
    KZ_MB_OKCANCEL = 0x1,
    KZ_MB_ABORTRETRYIGNORE = 0x2,
    KZ_MB_YESNOCANCEL = 0x3,
    KZ_MB_YESNO = 0x4,
    KZ_MB_RETRYCANCEL = 0x5,
    KZ_MB_ICONHAND = 0x10,
    KZ_MB_ICONERROR = 0x10,
    KZ_MB_ICONSTOP = 0x10,
    KZ_MB_ICONQUESTION = 0x20,
    KZ_MB_ICONEXCLAMATION = 0x30,
    KZ_MB_ICONWARNING = 0x30,
    KZ_MB_ICONASTERISK = 0x40,
    KZ_MB_ICONINFORMATION = 0x40,
    KZ_MB_DEFBUTTON1 = 0x0,
    KZ_MB_DEFBUTTON2 = 0x100,
    KZ_MB_DEFBUTTON3 = 0x200,
    KZ_MB_APPLMODAL = 0x0,
    KZ_MB_SYSTEMMODAL = 0x1000,
    KZ_MB_TASKMODAL = 0x2000,
    KZ_MB_SETFOREGROUND = 0x10000,
    KZ_MB_TOPMOST = 0x40000,
    KZ_MB_TYPEMASK = 0xF,
    KZ_MB_ICONMASK = 0xF0,
};

enum : int {
    KZ_IDOK = 1,
    KZ_IDCANCEL = 2,
    KZ_IDABORT = 3,
    KZ_IDRETRY = 4,
    KZ_IDIGNORE = 5,
    KZ_IDYES = 6,
    KZ_IDNO = 7,
};

class KZReporter {
public:
    virtual ~KZReporter() = default;
    // text as shown to the user; type uses Windows message-box flags (MB_OK, MB_YESNO,
    // MB_ICONERROR ... with their Windows values); returns the pressed button id (IDOK=1, IDYES=6
    // ...).
    virtual int ShowMessage(const char* text, unsigned type) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// A reporter for tests and batch use: records every message, answers with a fixed button.
class KZRecordingReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override {
        messages.push_back(text ? text : "");
        types.push_back(type);
        return answer;
    }
    void BeginWaitCursor() override {
        ++wait_begins;
        ++wait_depth;
    }
    void EndWaitCursor() override {
        ++wait_ends;
        --wait_depth;
    }

    std::vector<std::string> messages;
    std::vector<unsigned> types; // the type flags of each message, in the same order
    int answer = KZ_IDOK;
    int wait_begins = 0;
    int wait_ends = 0;
    int wait_depth = 0; // begins minus ends
};
