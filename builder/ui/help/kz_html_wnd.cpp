#include "builder/ui/help/kz_html_wnd.h"

#include <docobj.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <ole2.h>

#include <string>

#include "builder/ui/framework/kz_com_text.h"

namespace {

// MinGW's uuid library lacks this one.
const IID kIIDDocHostShowUI = {
    0xC4D244B0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};

// The variant an event argument stands for (events pass most of theirs by reference).
const VARIANT* Deref(const VARIANT* value) {
    while (value && value->vt == (VT_VARIANT | VT_BYREF))
        value = value->pvarVal;
    return value;
}

std::string TextOf(const VARIANT* value) {
    value = Deref(value);
    if (!value)
        return std::string();
    if (value->vt == VT_BSTR)
        return KZFromWide(value->bstrVal);
    if (value->vt == (VT_BSTR | VT_BYREF) && value->pbstrVal)
        return KZFromWide(*value->pbstrVal);
    return std::string();
}

DWORD NumberOf(const VARIANT* value) {
    value = Deref(value);
    if (!value)
        return 0;
    switch (value->vt) {
    case VT_I4:
        return (DWORD)value->lVal;
    case VT_I4 | VT_BYREF:
        return value->plVal ? (DWORD)*value->plVal : 0;
    case VT_I2:
        return (DWORD)value->iVal;
    default:
        return 0;
    }
}

// The in-place frame the control asks for: a window to hang from and nothing else to offer.
class KZHTMLFrame final : public IOleInPlaceFrame {
public:
    explicit KZHTMLFrame(HWND window) : window_(window) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
            iid == IID_IOleInPlaceFrame) {
            *out = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG count = --references_;
        if (count == 0)
            delete this;
        return count;
    }
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~KZHTMLFrame() = default;
    ULONG references_ = 1;
    HWND window_;
};

} // namespace

// The control's site. The window holds one reference and the control its own; Detach cuts the
// way back to the window when the window goes first.
class KZHTMLSite final : public IOleClientSite,
                         public IOleInPlaceSite,
                         public IDocHostUIHandler,
                         public IDocHostShowUI,
                         public IDispatch {
public:
    explicit KZHTMLSite(KZHTMLWnd* owner) : owner_(owner) {}

    void Detach() {
        owner_ = nullptr;
        if (frame_) {
            frame_->Release();
            frame_ = nullptr;
        }
    }
    DWORD host_flags = 0;
    DWORD double_click = DOCHOSTUIDBLCLK_DEFAULT;

    // IUnknown.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else if (iid == kIIDDocHostShowUI)
            *out = static_cast<IDocHostShowUI*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG count = --references_;
        if (count == 0)
            delete this;
        return count;
    }

    // IOleClientSite.
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite.
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = owner_ ? owner_->GetHandle() : nullptr;
        return *window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return owner_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !position || !clip || !info || !owner_)
            return E_INVALIDARG;
        HWND window = owner_->GetHandle();
        if (!frame_)
            frame_ = new KZHTMLFrame(GetAncestor(window, GA_ROOT));
        frame_->AddRef();
        *frame = frame_;
        *document = nullptr;
        GetClientRect(window, position);
        *clip = *position;
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(window, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IDocHostUIHandler: no context menu, no browser UI of its own, the host's flags and the
    // window's external object; everything else is left to the browser's defaults.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info)
            return E_POINTER;
        info->dwFlags = host_flags;
        info->dwDoubleClick = double_click;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
        if (key)
            *key = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override {
        if (target)
            *target = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** external) override {
        if (!external)
            return E_POINTER;
        *external = owner_ ? owner_->GetExternalObject() : nullptr;
        return *external ? S_OK : E_NOTIMPL;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }

    // IDocHostShowUI: message boxes and help raised by page scripts are swallowed.
    STDMETHODIMP ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD,
                             LRESULT* result) override {
        if (result)
            *result = IDOK;
        return S_OK;
    }
    STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override { return S_OK; }

    // IDispatch: the browser's events (DWebBrowserEvents2), arguments in reverse order.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

private:
    ~KZHTMLSite() { Detach(); }
    ULONG references_ = 1;
    KZHTMLWnd* owner_;
    KZHTMLFrame* frame_ = nullptr;
};

STDMETHODIMP KZHTMLSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                EXCEPINFO*, UINT*) {
    if (!owner_)
        return S_OK;
    const VARIANT* args = params ? params->rgvarg : nullptr;
    UINT count = params ? params->cArgs : 0;
    switch (id) {
    case DISPID_BEFORENAVIGATE2: {
        if (count < 7)
            return S_OK;
        // (browser, URL, flags, target frame, post data, headers, cancel)
        std::string url = TextOf(&args[5]);
        std::string target = TextOf(&args[3]);
        std::string headers = TextOf(&args[1]);
        const void* post_data = nullptr;
        size_t post_size = 0;
        SAFEARRAY* array = nullptr;
        const VARIANT* post = Deref(&args[2]);
        if (post && (post->vt & VT_ARRAY) && (post->vt & VT_TYPEMASK) == VT_UI1)
            array =
                (post->vt & VT_BYREF) ? (post->pparray ? *post->pparray : nullptr) : post->parray;
        void* bytes = nullptr;
        if (array && SUCCEEDED(SafeArrayAccessData(array, &bytes))) {
            post_data = bytes;
            post_size = array->rgsabound[0].cElements;
        }
        bool cancel = false;
        owner_->OnBeforeNavigate2(url.c_str(), NumberOf(&args[4]), target.c_str(), post_data,
                                  post_size, headers.c_str(), &cancel);
        if (bytes)
            SafeArrayUnaccessData(array);
        if (args[0].vt == (VT_BOOL | VT_BYREF) && args[0].pboolVal)
            *args[0].pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    case DISPID_NAVIGATECOMPLETE2:
        if (count >= 2)
            owner_->OnNavigateComplete2(TextOf(&args[0]).c_str());
        return S_OK;
    case DISPID_STATUSTEXTCHANGE:
        if (count >= 1)
            owner_->OnStatusTextChange(TextOf(&args[0]).c_str());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

KZHTMLWnd::~KZHTMLWnd() {
    DestroyBrowser();
}

bool KZHTMLWnd::CreateBrowser(HWND parent, const RECT& rect, int id) {
    HRESULT ole = OleInitialize(nullptr);
    if (FAILED(ole))
        return false;
    ole_initialized_ = true;
    KZCreateArgs args;
    args.class_name = "KZHTMLWnd";
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.parent = parent;
    args.control_id = id;
    args.x = rect.left;
    args.y = rect.top;
    args.width = rect.right - rect.left;
    args.height = rect.bottom - rect.top;
    args.background = (HBRUSH)(COLOR_WINDOW + 1);
    if (!Create(args)) {
        DestroyBrowser();
        return false;
    }
    site_ = new KZHTMLSite(this);
    bool made = SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IOleObject, (void**)control_.Receive())) &&
                SUCCEEDED(control_->SetClientSite(static_cast<IOleClientSite*>(site_))) &&
                SUCCEEDED(control_->QueryInterface(IID_IWebBrowser2, (void**)browser_.Receive()));
    if (made) {
        RECT client;
        GetClientRect(hwnd_, &client);
        made = SUCCEEDED(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                                          static_cast<IOleClientSite*>(site_), 0, hwnd_, &client));
    }
    if (!made) {
        DestroyBrowser();
        DestroyWindow();
        return false;
    }
    KZComPtr<IConnectionPointContainer> points;
    KZComPtr<IConnectionPoint> events;
    if (SUCCEEDED(
            browser_->QueryInterface(IID_IConnectionPointContainer, (void**)points.Receive())) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events.Receive())))
        events->Advise(static_cast<IDispatch*>(site_), &events_cookie_);
    // Script errors are the page's business, not the user's.
    browser_->put_Silent(VARIANT_TRUE);
    FitBrowser();
    Navigate("about:blank");
    return true;
}

bool KZHTMLWnd::Navigate(const char* url, DWORD flags, const char* target, const void* post_data,
                         size_t post_size, const char* headers) {
    if (!browser_ || !url)
        return false;
    BSTR address = KZToBstr(url);
    VARIANT flag_value, target_value, post_value, headers_value;
    VariantInit(&flag_value);
    VariantInit(&target_value);
    VariantInit(&post_value);
    VariantInit(&headers_value);
    flag_value.vt = VT_I4;
    flag_value.lVal = (LONG)flags;
    if (target) {
        target_value.vt = VT_BSTR;
        target_value.bstrVal = KZToBstr(target);
    }
    if (headers) {
        headers_value.vt = VT_BSTR;
        headers_value.bstrVal = KZToBstr(headers);
    }
    if (post_data && post_size) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, (ULONG)post_size);
        void* bytes = nullptr;
        if (array && SUCCEEDED(SafeArrayAccessData(array, &bytes))) {
            memcpy(bytes, post_data, post_size);
            SafeArrayUnaccessData(array);
            post_value.vt = VT_ARRAY | VT_UI1;
            post_value.parray = array;
        } else if (array) {
            SafeArrayDestroy(array);
        }
    }
    HRESULT result =
        browser_->Navigate(address, &flag_value, &target_value, &post_value, &headers_value);
    SysFreeString(address);
    VariantClear(&target_value);
    VariantClear(&post_value);
    VariantClear(&headers_value);
    return SUCCEEDED(result);
}

void KZHTMLWnd::Print() {
    if (!browser_)
        return;
    KZComPtr<IDispatch> document;
    KZComPtr<IOleCommandTarget> target;
    if (SUCCEEDED(browser_->get_Document(document.Receive())) && document &&
        SUCCEEDED(document->QueryInterface(IID_IOleCommandTarget, (void**)target.Receive())))
        target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

void KZHTMLWnd::SetHostFlags(DWORD flags) {
    if (site_)
        site_->host_flags = flags;
}

void KZHTMLWnd::SetDoubleClick(DWORD double_click) {
    if (site_)
        site_->double_click = double_click;
}

void KZHTMLWnd::FitBrowser() {
    KZComPtr<IOleInPlaceObject> in_place;
    if (!control_ ||
        FAILED(control_->QueryInterface(IID_IOleInPlaceObject, (void**)in_place.Receive())))
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    // The control's own edge falls outside the window, so the page meets the panel's frame.
    RECT browser = client;
    AdjustWindowRectEx(&browser, (DWORD)GetWindowLongPtrA(hwnd_, GWL_STYLE), FALSE,
                       WS_EX_CLIENTEDGE);
    in_place->SetObjectRects(&browser, &client);
}

void KZHTMLWnd::DestroyBrowser() {
    if (browser_ && events_cookie_) {
        KZComPtr<IConnectionPointContainer> points;
        KZComPtr<IConnectionPoint> events;
        if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer,
                                               (void**)points.Receive())) &&
            SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events.Receive())))
            events->Unadvise(events_cookie_);
    }
    events_cookie_ = 0;
    browser_.Reset();
    if (control_) {
        KZComPtr<IOleInPlaceObject> in_place;
        if (SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, (void**)in_place.Receive())))
            in_place->InPlaceDeactivate();
        control_->Close(OLECLOSE_NOSAVE);
        control_->SetClientSite(nullptr);
        control_.Reset();
    }
    if (site_) {
        site_->Detach();
        site_->Release();
        site_ = nullptr;
    }
    if (ole_initialized_) {
        ole_initialized_ = false;
        OleUninitialize();
    }
}

LRESULT KZHTMLWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        FitBrowser();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wparam) == KZ_ID_FILE_PRINT) {
            Print();
            return 0;
        }
        break;
    case WM_DESTROY:
        DestroyBrowser();
        break;
    }
    return KZCWnd::WindowProc(message, wparam, lparam);
}
