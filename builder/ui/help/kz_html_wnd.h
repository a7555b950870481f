// A child window hosting the WebBrowser control through our own OLE container: one site object
// that is the control's client site, in-place site, document host (no context menu, no 3-D
// border or scroll bars as the host flags say, the window's external object for page scripts)
// and its event sink, and a frame object for its in-place frame.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <stddef.h>

#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"

class KZHTMLSite;

class KZHTMLWnd : public KZCWnd {
public:
    KZHTMLWnd() = default;
    ~KZHTMLWnd() override;

    // Creates the window and the browser filling it, then shows "about:blank". False (with no
    // window left) when the browser control cannot be made or lacks IWebBrowser2.
    bool CreateBrowser(HWND parent, const RECT& rect, int id);
    // Passes everything to IWebBrowser2::Navigate; post data goes as a byte array when given.
    bool Navigate(const char* url, DWORD flags = 0, const char* target = nullptr,
                  const void* post_data = nullptr, size_t post_size = 0,
                  const char* headers = nullptr);
    // Prints the loaded document with the browser's own print command and dialog.
    void Print();
    IWebBrowser2* GetBrowser() const { return browser_.Get(); }

    // What the document host reports to the browser (DOCHOSTUIFLAG_*, DOCHOSTUIDBLCLK_*); read
    // when a document loads.
    void SetHostFlags(DWORD flags);
    void SetDoubleClick(DWORD double_click);

    // The object page scripts reach as window.external, with a new reference; null for none.
    virtual IDispatch* GetExternalObject() { return nullptr; }

    // The browser's events, empty here.
    virtual void OnBeforeNavigate2(const char* url, DWORD flags, const char* target,
                                   const void* post_data, size_t post_size, const char* headers,
                                   bool* cancel) {}
    virtual void OnNavigateComplete2(const char* url) {}
    virtual void OnStatusTextChange(const char* text) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void FitBrowser();
    void DestroyBrowser();

    KZHTMLSite* site_ = nullptr; // one reference held by the window
    KZComPtr<IOleObject> control_;
    KZComPtr<IWebBrowser2> browser_;
    DWORD events_cookie_ = 0;
    bool ole_initialized_ = false;
};

// The command id that makes the window print, as the menu's Print command sends it.
enum { KZ_ID_FILE_PRINT = 57607 };
