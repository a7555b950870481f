// The main window: a fixed-size frame holding the step toolbar in a rebar, the status bar and
// the main view, and owning the project document and the step list. Moving between steps, the
// file commands (save, save as, open), the save-changes question, dropped files and the window
// placement at closing are done here.
#pragma once

#include <windows.h>

#include "builder/ui/frame/fc_frame_reporter.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/frame/fc_step_list.h"
#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCMainView;
class FCResources;
class FCToolbar;

// The test actions the pages and the help panel offer.
enum FCTestAction { FC_TEST_SETUP, FC_TEST_SCR, FC_TEST_SETTINGS, FC_TEST_CONTROL_PANEL };

enum {
    FC_ID_RECENT_FIRST = 0xE110, // the recent-file commands, first to sixteenth entry
    FC_ID_RECENT_LAST = 0xE11F,
    FC_ID_APP_ABOUT = 0xE140,
    FC_ID_FILE_OPEN = 0xE101,
    FC_ID_FILE_SAVE = 0xE103,
    FC_ID_FILE_SAVE_AS = 0xE104,
};

class FCMainFrame : public KZCWnd {
public:
    explicit FCMainFrame(FCStepPageFactory factory = nullptr);
    ~FCMainFrame() override;

    // Creates the frame (hidden) for the screen's resolution `dpi`; false when a part failed.
    bool CreateFrame(const char* title, int dpi);
    const FCFrameSizes& GetSizes() const { return sizes_; }

    // Steps.
    bool GoToStep(int command_id);
    void NextStep();
    void PrevStep();
    void RefreshAllPages();
    void RefreshStartPage();
    int GetStepCount() const { return steps_.GetCount(); }
    int GetCurrentStep() const { return steps_.GetCurrent(); }
    FCStepList& GetSteps() { return steps_; }

    // The project.
    FCDocument& GetDocument() { return *document_; }
    // What the test actions run with: the program's resources and its message boxes.
    FCResources& GetResources() { return *resources_; }
    KZReporter& GetReporter() { return reporter_; }
    // True when the work may go on; *cancelled tells that the user chose Cancel.
    bool AskSaveChanges(bool* cancelled);
    // Save to the project's file, or with a file dialog when it has none. A cancelled file
    // dialog sets *cancelled.
    bool Save(bool* cancelled = nullptr);
    bool SaveWithDialog(bool* cancelled = nullptr);
    bool OpenWithDialog();
    // Opens a project file and shows it in every page; on failure the document is a fresh one.
    bool OpenProject(const char* path);
    // Entry `index` of the recent list, after the save-changes question; an entry that does not
    // open leaves the list.
    void OpenRecentProject(int index);
    // Of dropped paths the first project, after the save-changes question.
    void OpenDroppedFiles(const KZString* paths, int count);
    void UpdateTitle();
    // The current page's controls into the document (an edit may still hold typed text).
    void StoreCurrentPage();
    // Runs a test action on the project as the current page shows it.
    void RunTest(FCTestAction action);

    // What the About command calls.
    void SetAboutAction(void (*action)(void*), void* context) {
        about_action_ = action;
        about_context_ = context;
    }

protected:
    // The file dialogs; true with the chosen path. Tests answer them without a dialog.
    virtual bool AskSaveFileName(KZString& path);
    virtual bool AskOpenFileName(KZString& path);

    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    bool OnCreate();
    void OnClose();
    void OnDropFiles(HDROP drop);
    bool OnCommand(int id);
    void AfterStepChange();
    void AfterSave(const char* path);
    void WritePlacement();
    void LayoutBars(int cx, int cy);
    void UpdateIndicators();

    FCStepPageFactory factory_;
    FCFrameSizes sizes_ = {};
    KZString app_title_;
    FCResources* resources_ = nullptr; // owned
    FCDocument* document_ = nullptr;   // owned
    FCStepList steps_;
    FCMainView* view_ = nullptr;   // owned
    FCToolbar* toolbar_ = nullptr; // owned
    HWND rebar_ = nullptr;         // child window, destroyed with the frame
    HWND status_ = nullptr;        // child window, destroyed with the frame
    FCFrameReporter reporter_;
    void (*about_action_)(void*) = nullptr;
    void* about_context_ = nullptr;
};
