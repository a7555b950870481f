#include "builder/ui/pages/fc_post_dlg.h"

#include <cstring>
#include <string>

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/pages/fc_field_binding.h"
#include "builder/ui/pages/fc_post_rules.h"

namespace {

// Each action: its box, its Ask / Don't ask pair, its message and their fields.
const struct {
    int box, ask, no_ask, message;
    const char *flag, *ask_field, *message_field;
} kActions[] = {
    {IDC_POST_README, IDC_POST_README_ASK, IDC_POST_README_NO_ASK, IDC_POST_README_MESSAGE,
     "end_show_readme", "end_show_readme_ask", "end_show_readme_message"},
    {IDC_POST_DISPLAY, IDC_POST_DISPLAY_ASK, IDC_POST_DISPLAY_NO_ASK, IDC_POST_DISPLAY_MESSAGE,
     "end_open_display_properties", "end_open_display_properties_ask",
     "end_open_display_properties_message"},
    {IDC_POST_LAUNCH, IDC_POST_LAUNCH_ASK, IDC_POST_LAUNCH_NO_ASK, IDC_POST_LAUNCH_MESSAGE,
     "end_launch", "end_launch_ask", "end_launch_message"},
};

const FCFieldBinding kBindings[] = {
    {IDC_POST_README, "end_show_readme"},
    {IDC_POST_README_MESSAGE, "end_show_readme_message"},
    {IDC_POST_DISPLAY, "end_open_display_properties"},
    {IDC_POST_DISPLAY_MESSAGE, "end_open_display_properties_message"},
    {IDC_POST_LAUNCH, "end_launch"},
    {IDC_POST_LAUNCH_MESSAGE, "end_launch_message"},
};
const int kBindingCount = sizeof(kBindings) / sizeof(kBindings[0]);

void Enable(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled);
}

} // namespace

FCSEndDlg::FCSEndDlg(FCMainFrame* frame, FCDocument* document,
                     const FCHeaderBitmaps* header_bitmaps)
    : FCStepDlg(IDD_STEP_POST, frame, document, header_bitmaps) {}

void FCSEndDlg::CreateControls() {
    AddHeader(IDC_HEADER_SETUP_END);
}

void FCSEndDlg::ApplyEnabling() {
    for (const auto& action : kActions) {
        // Without a readme installed there is none to display.
        bool available = action.box != IDC_POST_README || GetDocument().install_readme;
        FCPostActionStates states = FCPostActionState(available, FCIsChecked(hwnd_, action.box),
                                                      FCIsChecked(hwnd_, action.ask));
        Enable(hwnd_, action.box, states.box);
        Enable(hwnd_, action.ask, states.radios);
        Enable(hwnd_, action.no_ask, states.radios);
        Enable(hwnd_, action.message, states.message);
    }
    Enable(hwnd_, IDC_POST_LAUNCH_TARGET, FCIsChecked(hwnd_, IDC_POST_LAUNCH));
}

void FCSEndDlg::FillLaunchChoices() {
    const FCDocument& document = GetDocument();
    HWND combo = GetDlgItem(hwnd_, IDC_POST_LAUNCH_TARGET);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < document.additional_files.GetCount(); ++i) {
        KZString item = FCLaunchChoiceText(document.additional_files[i]);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)item.c_str());
    }
    int select =
        FCLaunchItemToSelect(document.end_launch_index, document.additional_files.GetCount());
    if (select >= 0)
        SendMessageA(combo, CB_SETCURSEL, select, 0);
    else
        SetWindowTextA(combo, document.end_launch_target);
}

bool FCSEndDlg::Load() {
    // Setting the boxes and texts notifies: nothing is stored meanwhile.
    loading_ = true;
    bool known = FCLoadBindings(*this, kBindings, kBindingCount);
    const FCDocument& document = GetDocument();
    const bool asks[] = {document.end_show_readme_ask, document.end_open_display_properties_ask,
                         document.end_launch_ask};
    for (int i = 0; i < 3; ++i) {
        CheckDlgButton(hwnd_, kActions[i].ask, asks[i] ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(hwnd_, kActions[i].no_ask, asks[i] ? BST_UNCHECKED : BST_CHECKED);
    }
    FillLaunchChoices();
    ApplyEnabling();
    loading_ = false;
    return known;
}

void FCSEndDlg::StoreLaunchChoice() {
    HWND combo = GetDlgItem(hwnd_, IDC_POST_LAUNCH_TARGET);
    KZString text = FCControlText(hwnd_, IDC_POST_LAUNCH_TARGET);
    int selected = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected >= 0) {
        // Text typed over a picked item is a free path: the list may still mark the item.
        int length = (int)SendMessageA(combo, CB_GETLBTEXTLEN, selected, 0);
        std::string item(length > 0 ? length + 1 : 1, '\0');
        if (length >= 0)
            SendMessageA(combo, CB_GETLBTEXT, selected, (LPARAM)&item[0]);
        if (strcmp(item.c_str(), text) != 0)
            selected = -1;
    }
    int32_t index = GetDocument().end_launch_index;
    KZString target = GetDocument().end_launch_target;
    if (FCStoreLaunchChoice(selected, text, index, target)) {
        FCStoreNumber(*this, "end_launch_index", index);
        FCStoreText(*this, "end_launch_target", target);
    }
}

bool FCSEndDlg::Store() {
    for (const auto& action : kActions) {
        FCStoreFlag(*this, action.flag, FCIsChecked(hwnd_, action.box));
        FCStoreFlag(*this, action.ask_field, FCIsChecked(hwnd_, action.ask));
        // A disabled message is not the author's current one: it keeps its last text.
        if (IsWindowEnabled(GetDlgItem(hwnd_, action.message)))
            FCStoreText(*this, action.message_field, FCControlText(hwnd_, action.message));
    }
    if (GetDocument().end_launch)
        StoreLaunchChoice();
    return true;
}

bool FCSEndDlg::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (loading_)
        return false;
    for (const auto& action : kActions) {
        if (id == action.box || id == action.ask || id == action.no_ask) {
            if (code != BN_CLICKED)
                return false;
            ApplyEnabling();
            Store();
            return true;
        }
        if (id == action.message) {
            if (code == EN_KILLFOCUS)
                Store();
            return code == EN_KILLFOCUS;
        }
    }
    if (id == IDC_POST_LAUNCH_TARGET && code == CBN_KILLFOCUS) {
        Store();
        return true;
    }
    return false;
}
