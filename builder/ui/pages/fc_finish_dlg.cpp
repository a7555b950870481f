#include "builder/ui/pages/fc_finish_dlg.h"

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_build.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_window_host_win32.h"
#include "builder/ui/framework/kz_file_dialog.h"
#include "builder/ui/pages/fc_finish_rules.h"

namespace {

const char kSetupFilter[] = "Setup Files (*.exe)|*.exe||";
const char kScreensaverFilter[] = "Screensaver Files (*.scr)|*.scr||";
// Not an extension of its own: it only asks the dialog to add the chosen filter's.
const char kDefaultExtension[] = "*.wdx";

} // namespace

FCSFinishDlg::FCSFinishDlg(FCMainFrame* frame, FCDocument* document,
                           const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_FINISH, frame, document, header_bitmaps) {}

void FCSFinishDlg::CreateControls() {
    AddHeader(IDC_HEADER_TESTING);
    AddHeader(IDC_HEADER_EXPORTING);
    AddHeader(IDC_HEADER_SAVING);
}

void FCSFinishDlg::RunTest(int button) {
    FCMainFrame* frame = GetFrame();
    if (!frame)
        return;
    if (button == IDC_FINISH_TEST_SCR)
        frame->RunTest(FC_TEST_SCR);
    else if (button == IDC_FINISH_TEST_SETTINGS)
        frame->RunTest(FC_TEST_SETTINGS);
    else
        frame->RunTest(FC_TEST_SETUP);
}

void FCSFinishDlg::Export(bool setup) {
    FCMainFrame* frame = GetFrame();
    if (!frame)
        return;
    const FCDocument& document = GetDocument();
    KZString path = FCExportFileName(document.path_name, setup ? ".exe" : ".scr");
    if (!KZAskSaveFileName(*frame, setup ? kSetupFilter : kScreensaverFilter, kDefaultExtension,
                           path))
        return;
    // The closed dialog's place is painted over before the build holds the thread.
    FCWindowHost host(*frame);
    host.keep_painted();
    KZReporter& reporter = frame->GetReporter();
    // The builds report their own errors.
    reporter.BeginWaitCursor();
    if (setup)
        write_installer(document, path, frame->GetResources(), reporter);
    else
        build_screensaver(document, path, frame->GetResources(), reporter);
    reporter.EndWaitCursor();
}

bool FCSFinishDlg::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_FINISH_TEST_SCR:
    case IDC_FINISH_TEST_SETTINGS:
    case IDC_FINISH_TEST_SETUP:
        RunTest(id);
        return true;
    case IDC_FINISH_SAVE_SETUP:
    case IDC_FINISH_SAVE_SCR:
        Export(id == IDC_FINISH_SAVE_SETUP);
        return true;
    case IDC_FINISH_SAVE_PROJECT:
        if (FCMainFrame* frame = GetFrame())
            frame->SaveWithDialog();
        return true;
    }
    return false;
}
