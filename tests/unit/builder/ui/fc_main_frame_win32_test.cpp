// The main frame in this process under Wine, with the dialogs and pictures of scrkit.exe as its
// resource module: step selection and store, the toolbar, the save-changes question on closing,
// the placement written at closing, files dropped with a real WM_DROPFILES and the recent list.
// Message boxes and the save dialog are answered by the test. And a page's bitmaps losing the old
// dialog grey.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builder/engine/fc_document.h"
#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/framework/kz_win_app.h"
#include "tests/unit/builder/ui/fc_test_resources_win32.h"
#include "builder/ui/pages/fc_step_dlg.h"

namespace {

const char kAppName[] = "Tarvo Saver Frame Test"; // its own preferences key in the shared prefix

int g_loads[FC_STEP_COUNT];
int g_stores[FC_STEP_COUNT];

class CountingPage : public FCStepDlg {
public:
    CountingPage(int index, FCMainFrame* frame, FCDocument* document,
                 const FCHeaderBitmaps* bitmaps)
        : FCStepDlg(FCGetStep(index)->dialog_id, frame, document, bitmaps), index_(index) {}
    bool Load() override {
        ++g_loads[index_];
        return true;
    }
    bool Store() override {
        ++g_stores[index_];
        return true;
    }

private:
    int index_;
};

FCStepDlg* MakeCountingPage(int index, FCMainFrame* frame, FCDocument* document,
                            const FCHeaderBitmaps* bitmaps) {
    return new CountingPage(index, frame, document, bitmaps);
}

class ScriptedApp : public KZCWinApp {
public:
    int DoMessageBox(const char* text, unsigned type, unsigned) override {
        texts.push_back(text);
        types.push_back(type);
        if (answers.empty())
            return IDOK;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts;
    std::vector<unsigned> types;
    std::deque<int> answers;
};

class TestFrame : public FCMainFrame {
public:
    TestFrame() : FCMainFrame(MakeCountingPage) {}
    bool AskSaveFileName(KZString& path) override {
        proposed.push_back(path.c_str());
        if (save_answer.empty())
            return false;
        path = save_answer.c_str();
        return true;
    }
    std::vector<std::string> proposed;
    std::string save_answer; // empty: the dialog is cancelled
};

std::string TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    std::string folder =
        std::string(base) + "fc_frame_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        resources_ = FCSetUpFrameTest(SCRKIT_EXE);
        ASSERT_NE(resources_, nullptr) << SCRKIT_EXE;
    }

    void SetUp() override {
        for (int i = 0; i < FC_STEP_COUNT; ++i)
            g_loads[i] = g_stores[i] = 0;
        app_.SetAppName(kAppName);
        app_.SetRegistryKey("Marqon Technologies");
        app_.LoadRecentFileList(8);
        while (app_.GetRecentFileList()->GetCount())
            app_.RemoveFromRecentFileList(0);
        folder_ = TempFolder();
        frame_ = new TestFrame;
        ASSERT_TRUE(frame_->CreateFrame("Tarvo Saver", 96));
        app_.SetMainWindow(nullptr); // no quit message when the frame closes
        // The frame stays hidden: hiding a shown window costs Wine two seconds without a window
        // manager, and nothing here needs the screen.
    }

    void TearDown() override { delete frame_; }

    // A project file with the defaults, written by a second frame's document.
    std::string MakeProject(const char* name) {
        std::string path = folder_ + name;
        EXPECT_TRUE(frame_->GetDocument().save(path.c_str()));
        return path;
    }

    int CheckedButtons(int* checked_command) {
        HWND toolbar = FindWindowExA(FindWindowExA(*frame_, nullptr, REBARCLASSNAMEA, nullptr),
                                     nullptr, TOOLBARCLASSNAMEA, nullptr);
        int count = 0;
        for (int id = 200; id <= 208; ++id) {
            if (SendMessageA(toolbar, TB_ISBUTTONCHECKED, id, 0)) {
                ++count;
                *checked_command = id;
            }
        }
        return count;
    }

    bool NavigationEnabled(int id) {
        HWND view = FindWindowExA(*frame_, nullptr, "FCMainView", nullptr);
        return IsWindowEnabled(GetDlgItem(view, id)) != FALSE;
    }

    ScriptedApp app_;
    TestFrame* frame_ = nullptr;
    std::string folder_;
    static HMODULE resources_;
};

HMODULE FrameTest::resources_ = nullptr;

TEST_F(FrameTest, ToolbarHasNineCheckButtonsWithTheShortNames) {
    HWND toolbar = FindWindowExA(FindWindowExA(*frame_, nullptr, REBARCLASSNAMEA, nullptr), nullptr,
                                 TOOLBARCLASSNAMEA, nullptr);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 9);
    const char* labels[] = {"Start", "Setup", "Style", "Playback", "Settings",
                            "Files", "Menu",  "Post",  "Finish"};
    for (int i = 0; i < 9; ++i) {
        TBBUTTONINFOA info = {};
        char text[64] = "";
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT | TBIF_STYLE;
        info.pszText = text;
        info.cchText = sizeof(text);
        ASSERT_GE(SendMessageA(toolbar, TB_GETBUTTONINFOA, 200 + i, (LPARAM)&info), 0);
        EXPECT_STREQ(text, labels[i]);
        EXPECT_TRUE(info.fsStyle & BTNS_CHECKGROUP);
    }
}

TEST_F(FrameTest, SelectingAStepStoresOnlyThePageLeft) {
    EXPECT_EQ(frame_->GetCurrentStep(), 0);
    for (int i = 0; i < FC_STEP_COUNT; ++i)
        EXPECT_GE(g_loads[i], 1) << "every page loads at creation";
    int checked = 0;
    EXPECT_EQ(CheckedButtons(&checked), 1);
    EXPECT_EQ(checked, 200);
    EXPECT_FALSE(NavigationEnabled(102));
    EXPECT_TRUE(NavigationEnabled(103));

    // The current step's button: nothing happens, no store.
    SendMessageA(*frame_, WM_COMMAND, 200, 0);
    EXPECT_EQ(frame_->GetCurrentStep(), 0);
    EXPECT_EQ(g_stores[0], 0);
    // A command of the range that matches no step does nothing either.
    SendMessageA(*frame_, WM_COMMAND, 210, 0);
    EXPECT_EQ(frame_->GetCurrentStep(), 0);

    struct Move {
        int command; // a toolbar command, or 102 / 103 for Prev / Next
        int expected_step;
        int stored_step; // -1: nothing stored
    } moves[] = {
        {103, 1, 0}, {205, 5, 1}, {102, 4, 5}, {208, 8, 4}, {103, 8, -1}, {200, 0, 8}, {102, 0, -1},
    };
    for (const Move& move : moves) {
        int before[FC_STEP_COUNT];
        for (int i = 0; i < FC_STEP_COUNT; ++i)
            before[i] = g_stores[i];
        if (move.command == 102 || move.command == 103)
            move.command == 102 ? frame_->PrevStep() : frame_->NextStep();
        else
            SendMessageA(*frame_, WM_COMMAND, move.command, 0);
        EXPECT_EQ(frame_->GetCurrentStep(), move.expected_step) << move.command;
        for (int i = 0; i < FC_STEP_COUNT; ++i)
            EXPECT_EQ(g_stores[i] - before[i], i == move.stored_step ? 1 : 0)
                << "command " << move.command << " page " << i;
        EXPECT_EQ(CheckedButtons(&checked), 1);
        EXPECT_EQ(checked, 200 + move.expected_step);
        EXPECT_EQ(NavigationEnabled(102), move.expected_step > 0);
        EXPECT_EQ(NavigationEnabled(103), move.expected_step < 8);
        for (int i = 0; i < FC_STEP_COUNT; ++i)
            EXPECT_EQ((GetWindowLongA(*frame_->GetSteps().GetStep(i), GWL_STYLE) & WS_VISIBLE) != 0,
                      i == move.expected_step);
    }
}

TEST_F(FrameTest, EnterOnAPageStoresAndLoadsEscapeKeepsIt) {
    HWND page = *frame_->GetSteps().GetStep(0)->GetPage();
    int loads = g_loads[0];
    SendMessageA(page, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(g_stores[0], 1);
    EXPECT_EQ(g_loads[0], loads + 1);
    SendMessageA(page, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(page));
}

TEST_F(FrameTest, ClosingAsksToSaveChanges) {
    struct Case {
        const char* name;
        bool modified;
        bool has_path;           // the project has a file (in a folder that exists or not)
        bool bad_folder;         // its file is in a folder that does not exist
        int answer;              // to the question
        const char* save_answer; // file name given to the save dialog; "" cancels it
        const char* question;    // expected, "" for none
        bool closes;
        bool saved;
        const char* error; // expected second message, "" for none
    } cases[] = {
        {"unmodified", false, false, false, 0, "", "", true, false, ""},
        {"no", true, true, false, IDNO, "", "Save changes to Dunes ?", true, false, ""},
        {"cancel", true, true, false, IDCANCEL, "", "Save changes to Dunes ?", false, false, ""},
        {"yes to its file", true, true, false, IDYES, "", "Save changes to Dunes ?", true, true,
         ""},
        {"yes, asks a name", true, false, false, IDYES, "Named", "Save changes to TarvoSetup1 ?",
         true, true, ""},
        {"yes, dialog cancelled", true, false, false, IDYES, "", "Save changes to TarvoSetup1 ?",
         false, false, ""},
        {"yes, save fails", true, true, true, IDYES, "", "Save changes to Dunes ?", true, false,
         "An error occurred when saving KPJ file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        std::string path = folder_ + (c.bad_folder ? "missing\\Dunes.kpj" : "Dunes.kpj");
        DeleteFileA((folder_ + "Dunes.kpj").c_str());
        DeleteFileA((folder_ + "Named.kpj").c_str());
        if (c.has_path)
            frame_->GetDocument().path_name = path.c_str();
        frame_->GetDocument().modified = c.modified;
        frame_->save_answer = *c.save_answer ? folder_ + c.save_answer : "";
        app_.texts.clear();
        app_.types.clear();
        app_.answers = {c.answer};
        HWND handle = *frame_;
        SendMessageA(handle, WM_CLOSE, 0, 0);
        size_t expected_messages = (*c.question ? 1 : 0) + (*c.error ? 1 : 0);
        ASSERT_EQ(app_.texts.size(), expected_messages);
        if (*c.question) {
            EXPECT_EQ(app_.texts[0], c.question);
            EXPECT_EQ(app_.types[0], (unsigned)(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
        }
        if (*c.error) {
            EXPECT_EQ(app_.texts[1], c.error);
            EXPECT_EQ(app_.types[1] & MB_ICONMASK, (unsigned)MB_ICONSTOP);
        }
        if (!c.has_path && c.answer == IDYES) {
            ASSERT_EQ(frame_->proposed.size(), 1u);
            EXPECT_EQ(frame_->proposed[0], "TarvoSetup1");
        }
        EXPECT_EQ(IsWindow(handle) == FALSE, c.closes);
        std::string written = folder_ + (c.has_path ? "Dunes.kpj" : "Named.kpj");
        EXPECT_EQ(FileExists(written), c.saved);
    }
}

TEST_F(FrameTest, ClosingWritesThePlacementButNotWhileMinimised) {
    app_.WriteProfileString("Settings", "WindowPlacement", nullptr);
    SetWindowPos(*frame_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT rect;
    GetWindowRect(*frame_, &rect);
    SendMessageA(*frame_, WM_CLOSE, 0, 0);
    KZString text = app_.GetProfileString("Settings", "WindowPlacement");
    FCPlacementValues values;
    ASSERT_TRUE(FCParsePlacement(text, &values)) << text.c_str();
    EXPECT_EQ(values.show_command, SW_SHOWNORMAL);
    EXPECT_EQ(values.right - values.left, 680);
    EXPECT_EQ(values.bottom - values.top, 540);
    EXPECT_EQ(values.left, rect.left);

    TearDown();
    SetUp();
    app_.WriteProfileString("Settings", "WindowPlacement", "kept");
    ShowWindow(*frame_, SW_MINIMIZE);
    SendMessageA(*frame_, WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.GetProfileString("Settings", "WindowPlacement"), "kept");
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* out = (char*)(drop + 1);
    for (const std::string& path : paths) {
        memcpy(out, path.c_str(), path.size() + 1);
        out += path.size() + 1;
    }
    *out = '\0';
    GlobalUnlock(memory);
    return (HDROP)memory;
}

TEST_F(FrameTest, DroppedFilesOpenTheFirstProjectAfterTheQuestion) {
    std::string project = MakeProject("Dropped.KPJ");
    std::string picture = folder_ + "photo.jpg";
    std::string movie = folder_ + "movie.swf";
    struct Case {
        const char* name;
        std::vector<std::string> paths;
        bool modified;
        int answer;
        bool opens;
    } cases[] = {
        {"picture and project", {picture, project}, false, 0, true},
        {"movie only", {movie}, false, 0, false},
        {"modified, No", {project}, true, IDNO, true},
        {"modified, Cancel keeps the project", {project}, true, IDCANCEL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame_->GetDocument().path_name = "C:\\before.kpj";
        frame_->GetDocument().short_name = "Before";
        frame_->GetDocument().modified = c.modified;
        app_.texts.clear();
        app_.answers = {c.answer};
        SendMessageA(*frame_, WM_DROPFILES, (WPARAM)MakeDrop(c.paths), 0);
        EXPECT_EQ(app_.texts.size(), c.modified ? 1u : 0u);
        if (c.opens) {
            EXPECT_STREQ(frame_->GetDocument().path_name, project.c_str());
            EXPECT_FALSE(frame_->GetDocument().modified);
            EXPECT_STREQ(app_.GetRecentFileList()->Get(0), project.c_str());
        } else {
            EXPECT_STREQ(frame_->GetDocument().path_name, "C:\\before.kpj");
            EXPECT_STREQ(frame_->GetDocument().short_name, "Before");
            EXPECT_EQ(frame_->GetDocument().modified, c.modified);
        }
    }
}

TEST_F(FrameTest, RecentListKeepsEightAndDropsAProjectThatIsGone) {
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i)
        paths.push_back(MakeProject(("p" + std::to_string(i) + ".kpj").c_str()));
    for (const std::string& path : paths)
        ASSERT_TRUE(frame_->OpenProject(path.c_str()));
    const KZRecentFileList* list = app_.GetRecentFileList();
    ASSERT_EQ(list->GetCount(), 8);
    EXPECT_STREQ(list->Get(0), paths[8].c_str());
    EXPECT_STREQ(list->Get(7), paths[1].c_str());
    EXPECT_EQ(app_.GetProfileString("Recent File List", "File1"), paths[8].c_str());

    // Unsaved changes and Cancel: nothing opens, the list stays.
    frame_->GetDocument().modified = true;
    app_.answers = {IDCANCEL};
    SendMessageA(*frame_, WM_COMMAND, FC_ID_RECENT_FIRST + 3, 0);
    EXPECT_STREQ(frame_->GetDocument().path_name, paths[8].c_str());
    EXPECT_TRUE(frame_->GetDocument().modified);
    EXPECT_EQ(list->GetCount(), 8);

    // A deleted project: the opening fails, the entry goes and the Start page loads again.
    frame_->GetDocument().modified = false;
    DeleteFileA(paths[5].c_str());
    app_.texts.clear();
    int start_loads = g_loads[0];
    int setup_loads = g_loads[1];
    SendMessageA(*frame_, WM_COMMAND, FC_ID_RECENT_FIRST + 3, 0); // the fourth newest: p5
    ASSERT_EQ(app_.texts.size(), 1u);
    EXPECT_EQ(app_.texts[0], "An error occurred when reading KPJ file:\nUnable to open file");
    ASSERT_EQ(list->GetCount(), 7);
    for (int i = 0; i < list->GetCount(); ++i)
        EXPECT_STRNE(list->Get(i), paths[5].c_str());
    EXPECT_EQ(app_.GetProfileString("Recent File List", "File8"), "");
    EXPECT_GT(g_loads[0] - start_loads, g_loads[1] - setup_loads); // the Start page once more

    // A project that is there opens and moves to the front.
    SendMessageA(*frame_, WM_COMMAND, FC_ID_RECENT_FIRST + 2, 0);
    EXPECT_STREQ(frame_->GetDocument().path_name, paths[6].c_str());
    EXPECT_STREQ(list->Get(0), paths[6].c_str());
    char title[256];
    GetWindowTextA(*frame_, title, sizeof(title));
    EXPECT_STREQ(title, "Tarvo Saver - p6.kpj");
}

// A 2 x 1 bitmap: the old dialog grey, then another colour.
HBITMAP GreyAndBlue() {
    const DWORD pixels[2] = {0xC0C0C0, 0x0000FF};
    return CreateBitmap(2, 1, 1, 32, pixels);
}

std::vector<DWORD> PixelsOf(HBITMAP bitmap) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = 2;
    format.bmiHeader.biHeight = -1;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(2);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 1, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

TEST(StepPage, BitmapsLoseTheOldDialogGreyOnce) {
    HWND page = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    HBITMAP shared = GreyAndBlue();
    HBITMAP text_bitmap = GreyAndBlue();
    HWND pictures[2];
    for (HWND& picture : pictures) {
        picture = CreateWindowExA(0, "Static", "", WS_CHILD | SS_BITMAP, 0, 0, 2, 1, page, nullptr,
                                  nullptr, nullptr);
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)shared);
    }
    // Not a bitmap static: its image, if any, is not the page's to change.
    HWND text = CreateWindowExA(0, "Static", "x", WS_CHILD | SS_LEFT, 0, 0, 2, 1, page, nullptr,
                                nullptr, nullptr);
    SendMessageA(text, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)text_bitmap);
    HBITMAP shown = (HBITMAP)SendMessageA(pictures[0], STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_NE(shown, nullptr);

    FCRecolorDialogBitmaps(page, RGB(192, 192, 192)); // a grey face: nothing to do
    EXPECT_EQ(PixelsOf(shown), (std::vector<DWORD>{0xC0C0C0, 0x0000FF}));
    FCRecolorDialogBitmaps(page, RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(PixelsOf(shown), (std::vector<DWORD>{0x102030, 0x0000FF}));
    EXPECT_EQ(PixelsOf(text_bitmap), (std::vector<DWORD>{0xC0C0C0, 0x0000FF}));
    // Once per bitmap: a page made later with the same bitmap leaves it as it is.
    FCRecolorDialogBitmaps(page, RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(PixelsOf(shown), (std::vector<DWORD>{0x102030, 0x0000FF}));

    DestroyWindow(page);
    DeleteObject(shared);
    DeleteObject(text_bitmap);
}

} // namespace
