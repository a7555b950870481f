// The Flash control's container. The site's five interfaces and the event sink are built from
// plain tables of functions instead of C++ classes: most of their methods share one of a few
// trivial bodies, and without this-adjusting thunks the stub stays small.
#include "runtime/movie_host.h"

#include <ocidl.h>
#include <stdint.h>

namespace {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID kFlashControl = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}: the control's event interface.
const IID kFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const char kHostClass[] = "__iqvr_class";
const UINT_PTR kRepaintTimer = 45847;
const UINT_PTR kNoticeTimer = 1;
const char kNoticeText[] = "Adobe Flash Player is not installed.\nThis screensaver requires it.\n"
                           "Please install it on http://www.adobe.com";

} // namespace

struct FlashEventSink;

// One interface pointer of the site: the table, then the way back to the site.
struct SiteInterface {
    const void* const* table;
    ControlSite* site;
};

struct ControlSite {
    SiteInterface client, in_place, control_site, frame, container; // in QueryInterface order
    LONG references;
    HWND control_window;
    WNDPROC previous_procedure;
    RECT rect;
    IOleObject* control;
    IOleInPlaceObject* in_place_object;
    HWND host_window;
    IDispatch* dispatch;
    FlashEventSink* sink;
    MessageFilter filter;
    void* filter_user;
};

struct FlashEventSink {
    const void* const* table;
    LONG references;
    void* target;
    bool connected;
    IConnectionPoint* point;
    DWORD cookie;
};

namespace {

// Live sites keyed by control window and live hosts keyed by host window, so that the window
// procedures find their object. An eleventh entry is not made.
struct WindowTable {
    HWND windows[10];
    void* objects[10];
};
WindowTable g_sites;
WindowTable g_hosts;
ATOM g_host_class;
uint32_t g_notice_state;

void TableEnter(WindowTable* table, HWND window, void* object) {
    for (int i = 0; i < 10; ++i)
        if (!table->objects[i]) {
            table->windows[i] = window;
            table->objects[i] = object;
            return;
        }
}
void* TableFind(WindowTable* table, HWND window) {
    for (int i = 0; i < 10; ++i)
        if (table->objects[i] && table->windows[i] == window)
            return table->objects[i];
    return nullptr;
}
void TableRemove(WindowTable* table, void* object) {
    for (int i = 0; i < 10; ++i)
        if (table->objects[i] == object)
            table->objects[i] = nullptr;
}

bool SameIid(REFIID a, REFIID b) {
    const DWORD* x = (const DWORD*)&a;
    const DWORD* y = (const DWORD*)&b;
    return x[0] == y[0] && x[1] == y[1] && x[2] == y[2] && x[3] == y[3];
}

// Shared bodies; the Windows x64 convention lets one function fill slots of any signature.
HRESULT STDMETHODCALLTYPE NotImplemented() {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE Succeed() {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ScrollAnswer() {
    return S_FALSE;
}

IOleObject* CreateFlashControl() {
    IClassFactory* factory = nullptr;
    if (FAILED(CoGetClassObject(kFlashControl, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                nullptr, IID_IClassFactory, (void**)&factory)) ||
        !factory)
        return nullptr;
    IOleObject* object = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, IID_IOleObject, (void**)&object)))
        object = nullptr;
    factory->Release();
    return object;
}

// --- ControlSite --------------------------------------------------------------------------------

ControlSite* SiteOf(void* self) {
    return ((SiteInterface*)self)->site;
}

ULONG STDMETHODCALLTYPE SiteAddRef(void* self) {
    return InterlockedIncrement(&SiteOf(self)->references);
}
// Reaching 0 does not delete the site: its host owns it.
ULONG STDMETHODCALLTYPE SiteRelease(void* self) {
    return InterlockedDecrement(&SiteOf(self)->references);
}
HRESULT STDMETHODCALLTYPE SiteQueryInterface(void* self, REFIID iid, void** out) {
    ControlSite* site = SiteOf(self);
    static const IID* const kAnswers[5] = {&IID_IOleClientSite, &IID_IOleInPlaceSite,
                                           &IID_IOleControlSite, &IID_IOleInPlaceFrame,
                                           &IID_IOleContainer};
    *out = nullptr;
    if (SameIid(iid, IID_IUnknown))
        *out = &site->client;
    for (int i = 0; i < 5; ++i)
        if (SameIid(iid, *kAnswers[i]))
            *out = &site->client + i;
    if (!*out)
        return E_NOINTERFACE;
    SiteAddRef(self);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SiteShowObject(void* self) {
    ControlSite* site = SiteOf(self);
    if (site->in_place_object)
        site->in_place_object->GetWindow(&site->control_window);
    return S_OK;
}
// GetWindow of both the in-place site and the frame.
HRESULT STDMETHODCALLTYPE SiteGetWindow(void* self, HWND* window) {
    HWND host = SiteOf(self)->host_window;
    *window = host;
    return host ? S_OK : E_FAIL;
}
HRESULT STDMETHODCALLTYPE SiteGetWindowContext(void* self, IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, RECT* position,
                                               RECT* clip, OLEINPLACEFRAMEINFO* info) {
    ControlSite* site = SiteOf(self);
    *frame = (IOleInPlaceFrame*)&site->frame;
    SiteAddRef(self);
    *document = nullptr;
    *position = site->rect;
    GetClientRect(site->host_window, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = site->host_window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE SiteOnInPlaceDeactivate(void* self) {
    SiteOf(self)->control_window = nullptr;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE SiteDeactivateAndUndo(void* self) {
    ControlSite* site = SiteOf(self);
    return site->in_place_object ? site->in_place_object->UIDeactivate() : E_FAIL;
}
HRESULT STDMETHODCALLTYPE SiteOnPosRectChange(void* self, const RECT* rect) {
    ControlSite* site = SiteOf(self);
    site->rect = *rect;
    RECT clip;
    GetClientRect(site->host_window, &clip);
    return site->in_place_object ? site->in_place_object->SetObjectRects(rect, &clip) : E_FAIL;
}

#define METHOD(f) (const void*)(f)
#define UNKNOWN METHOD(SiteQueryInterface), METHOD(SiteAddRef), METHOD(SiteRelease)
#define NOTIMPL METHOD(NotImplemented)
#define OK METHOD(Succeed)

const void* const kClientSiteTable[] = {UNKNOWN,
                                        NOTIMPL /*SaveObject*/,
                                        NOTIMPL /*GetMoniker*/,
                                        NOTIMPL /*GetContainer*/,
                                        METHOD(SiteShowObject),
                                        OK /*OnShowWindow*/,
                                        NOTIMPL /*RequestNewObjectLayout*/};
const void* const kInPlaceSiteTable[] = {UNKNOWN,
                                         METHOD(SiteGetWindow),
                                         NOTIMPL /*ContextSensitiveHelp*/,
                                         OK /*CanInPlaceActivate*/,
                                         OK /*OnInPlaceActivate*/,
                                         OK /*OnUIActivate*/,
                                         METHOD(SiteGetWindowContext),
                                         METHOD(ScrollAnswer),
                                         OK /*OnUIDeactivate*/,
                                         METHOD(SiteOnInPlaceDeactivate),
                                         OK /*DiscardUndoState*/,
                                         METHOD(SiteDeactivateAndUndo),
                                         METHOD(SiteOnPosRectChange)};
const void* const kControlSiteTable[] = {UNKNOWN,
                                         OK /*OnControlInfoChanged*/,
                                         NOTIMPL /*LockInPlaceActive*/,
                                         NOTIMPL /*GetExtendedControl*/,
                                         NOTIMPL /*TransformCoords*/,
                                         NOTIMPL /*TranslateAccelerator*/,
                                         OK /*OnFocus*/,
                                         NOTIMPL /*ShowPropertyFrame*/};
const void* const kFrameTable[] = {UNKNOWN,
                                   METHOD(SiteGetWindow),
                                   NOTIMPL /*ContextSensitiveHelp*/,
                                   NOTIMPL /*GetBorder*/,
                                   NOTIMPL /*RequestBorderSpace*/,
                                   NOTIMPL /*SetBorderSpace*/,
                                   OK /*SetActiveObject*/,
                                   NOTIMPL /*InsertMenus*/,
                                   NOTIMPL /*SetMenu*/,
                                   NOTIMPL /*RemoveMenus*/,
                                   NOTIMPL /*SetStatusText*/,
                                   OK /*EnableModeless*/,
                                   NOTIMPL /*TranslateAccelerator*/};
const void* const kContainerTable[] = {UNKNOWN, NOTIMPL /*ParseDisplayName*/,
                                       NOTIMPL /*EnumObjects*/, NOTIMPL /*LockContainer*/};

// --- FlashEventSink: every event of the control is ignored ---------------------------------------

ULONG STDMETHODCALLTYPE SinkAddRef(FlashEventSink* sink) {
    return InterlockedIncrement(&sink->references);
}
ULONG STDMETHODCALLTYPE SinkRelease(FlashEventSink* sink) {
    LONG left = InterlockedDecrement(&sink->references);
    if (left == 0)
        delete sink;
    return left;
}
HRESULT STDMETHODCALLTYPE SinkQueryInterface(FlashEventSink* sink, REFIID iid, void** out) {
    if (SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IDispatch) || SameIid(iid, kFlashEvents)) {
        *out = sink;
        SinkAddRef(sink);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
HRESULT STDMETHODCALLTYPE SinkGetTypeInfoCount(FlashEventSink*, UINT* count) {
    *count = 0;
    return E_NOTIMPL;
}

const void* const kSinkTable[] = {METHOD(SinkQueryInterface),
                                  METHOD(SinkAddRef),
                                  METHOD(SinkRelease),
                                  METHOD(SinkGetTypeInfoCount),
                                  NOTIMPL /*GetTypeInfo*/,
                                  NOTIMPL /*GetIDsOfNames*/,
                                  OK /*Invoke*/};

// --- Site activation, layout and destruction ----------------------------------------------------

// The rectangle's size in hundredths of millimetres, for the content aspect.
void SetControlExtent(ControlSite* site) {
    HDC screen = GetDC(nullptr);
    int x_dpi = GetDeviceCaps(screen, LOGPIXELSX);
    int y_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    SIZEL extent;
    extent.cx = MulDiv(site->rect.right - site->rect.left, 2540, x_dpi ? x_dpi : 96);
    extent.cy = MulDiv(site->rect.bottom - site->rect.top, 2540, y_dpi ? y_dpi : 96);
    site->control->SetExtent(DVASPECT_CONTENT, &extent);
}

void CALLBACK RepaintTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    InvalidateRect(window, nullptr, FALSE);
}

// Right-button input never reaches the control, so it shows no context menu.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ControlSite* site = (ControlSite*)TableFind(&g_sites, window);
    if (!site)
        return DefWindowProcA(window, message, wparam, lparam);
    if (site->filter) {
        bool handled = false;
        LRESULT result = site->filter(site->filter_user, message, wparam, lparam, &handled);
        if (handled)
            return result;
    }
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK)
        return 0;
    return CallWindowProcA(site->previous_procedure, window, message, wparam, lparam);
}

ControlSite* CreateSite(HWND host_window) {
    ControlSite* site = new ControlSite();
    if (!site)
        return nullptr;
    site->client.table = kClientSiteTable;
    site->in_place.table = kInPlaceSiteTable;
    site->control_site.table = kControlSiteTable;
    site->frame.table = kFrameTable;
    site->container.table = kContainerTable;
    for (SiteInterface* i = &site->client; i <= &site->container; ++i)
        i->site = site;
    site->host_window = host_window;
    return site;
}

bool ActivateSite(ControlSite* site, const RECT& rect) {
    site->rect = rect;
    if (FAILED(OleInitialize(nullptr)))
        return false;
    site->control = CreateFlashControl();
    if (!site->control)
        return false;
    IOleClientSite* client = (IOleClientSite*)&site->client;

    IQuickActivate* quick = nullptr;
    if (SUCCEEDED(site->control->QueryInterface(IID_IQuickActivate, (void**)&quick)) && quick) {
        QACONTAINER container = {};
        container.cbSize = sizeof(container);
        container.pClientSite = client;
        QACONTROL control = {};
        control.cbSize = sizeof(control);
        quick->QuickActivate(&container, &control);
        quick->Release();
    }
    SetControlExtent(site);

    if (SUCCEEDED(
            site->control->QueryInterface(IID_IOleInPlaceObject, (void**)&site->in_place_object)) &&
        site->in_place_object) {
        site->control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, site->host_window,
                              &site->rect);
        site->in_place_object->GetWindow(&site->control_window);
    } else {
        site->in_place_object = nullptr;
    }

    if (site->control_window) {
        TableEnter(&g_sites, site->control_window, site);
        SetTimer(site->control_window, kRepaintTimer, 20, RepaintTimer);
        site->previous_procedure = (WNDPROC)SetWindowLongPtrA(site->control_window, GWLP_WNDPROC,
                                                              (LONG_PTR)ControlWindowProc);
    }
    if (FAILED(site->control->QueryInterface(IID_IDispatch, (void**)&site->dispatch)))
        site->dispatch = nullptr;
    return true;
}

void DestroySite(ControlSite* site) {
    // The sink goes whether or not the control still has its window, so that it is never left
    // advised to a control that outlives the site.
    if (FlashEventSink* sink = site->sink) {
        if (sink->connected) {
            sink->point->Unadvise(sink->cookie);
            sink->point->Release();
        }
        SinkRelease(sink);
        site->sink = nullptr;
    }
    if (site->control_window) {
        SetWindowLongPtrA(site->control_window, GWLP_WNDPROC, (LONG_PTR)site->previous_procedure);
        TableRemove(&g_sites, site);
    }
    site->control_window = nullptr;
    if (site->dispatch)
        site->dispatch->Release();
    if (site->in_place_object) {
        site->in_place_object->InPlaceDeactivate();
        site->in_place_object->Release();
    }
    if (site->control) {
        site->control->Close(OLECLOSE_NOSAVE);
        site->control->Release();
    }
    delete site;
}

void PutProperty(ControlSite* site, DISPID id, VARIANT* value) {
    if (!site->dispatch)
        return;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {value, &named, 1, 1};
    site->dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                           nullptr, nullptr, nullptr);
}

void PutText(ControlSite* site, DISPID id, const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR string = SysAllocStringLen(nullptr, length > 0 ? length - 1 : 0);
    if (!string)
        return;
    if (length > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, string, length);
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = string;
    PutProperty(site, id, &value);
    SysFreeString(string);
}

uint32_t NextNoticeNumber() {
    if (g_notice_state == 0)
        g_notice_state = GetTickCount();
    g_notice_state = g_notice_state * 214013u + 2531011u;
    return (g_notice_state >> 16) & 0x7FFF;
}

// An axis on which the notice does not fit places it at 0.
int NoticeOffset(int room) {
    uint32_t number = NextNoticeNumber();
    return room > 0 ? (int)(number % (uint32_t)room) : 0;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        MovieHost* host = (MovieHost*)((CREATESTRUCTA*)lparam)->lpCreateParams;
        host->window = window;
        TableEnter(&g_hosts, window, host);
        RECT rect;
        GetClientRect(window, &rect);
        ControlSite* site = CreateSite(window);
        if (site && !ActivateSite(site, rect)) {
            DestroySite(site);
            site = nullptr;
        }
        if (!site)
            SetTimer(window, kNoticeTimer, 4000, nullptr);
        host->control = site;
        if (site) {
            site->filter = host->filter;
            site->filter_user = host->filter_user;
        }
        return 0;
    }
    MovieHost* host = (MovieHost*)TableFind(&g_hosts, window);
    if (!host)
        return DefWindowProcA(window, message, wparam, lparam);
    if (host->filter) {
        bool handled = false;
        LRESULT result = host->filter(host->filter_user, message, wparam, lparam, &handled);
        if (handled)
            return result;
    }
    RECT client;
    GetClientRect(window, &client);
    switch (message) {
    case WM_DESTROY:
        if (!host->control)
            KillTimer(window, kNoticeTimer);
        TableRemove(&g_hosts, host);
        break;
    case WM_SIZE:
        host->LayoutMovie(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_PAINT: {
        // Always validated, or the window would be sent paint messages without end.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (!host->control)
            host->DrawNotice(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        host->LayoutMovie(client.right, client.bottom);
        HBRUSH brush = CreateSolidBrush(host->background_color);
        FillRect((HDC)wparam, &client, brush);
        DeleteObject(brush);
        return 1;
    }
    case WM_TIMER: {
        HDC dc = GetDC(window);
        host->DrawNotice(dc);
        ReleaseDC(window, dc);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

MovieHost::MovieHost(HINSTANCE instance, HWND parent) : parent_window(parent), instance(instance) {}

MovieHost::~MovieHost() {
    if (control)
        DestroySite(control);
    if (notice_font)
        DeleteObject(notice_font);
}

bool MovieHost::CreateHostWindow(const char* base_class, int x, int y, int width, int height) {
    if (!g_host_class) {
        WNDCLASSA window_class;
        if (!GetClassInfoA(instance, base_class, &window_class))
            return false;
        window_class.lpfnWndProc = HostWindowProc;
        window_class.style =
            (window_class.style & ~(CS_DBLCLKS | CS_PARENTDC)) | CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        window_class.lpszClassName = kHostClass;
        g_host_class = RegisterClassA(&window_class);
    }
    CreateWindowExA(0, kHostClass, nullptr,
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width, height,
                    parent_window, nullptr, instance, this);
    return window != nullptr;
}

void MovieHost::ShowMovie(const char* path, int width, int height, COLORREF background, int mode,
                          int movie_quality) {
    if (!control)
        return;
    movie_width = width;
    movie_height = height;
    background_color = background;
    size_mode = mode;
    quality = movie_quality;
    RECT client;
    GetClientRect(window, &client);
    LayoutMovie(client.right, client.bottom);
    PutText(control, 102, "");
    VARIANT scale;
    scale.vt = VT_I4;
    scale.lVal = 2; // exact fit: the layout decides the proportions
    PutProperty(control, 120, &scale);
    static const char* const kQualities[3] = {"Low", "Medium", "High"};
    if (quality >= 0 && quality <= 2)
        PutText(control, 141, kQualities[quality]);
    PutText(control, 102, path);
    GetClientRect(window, &client);
    LayoutMovie(client.right, client.bottom);
}

void MovieHost::LayoutMovie(int W, int H) {
    if (!control || W <= 0 || H <= 0)
        return;
    int w0 = movie_width, h0 = movie_height;
    int wd = w0 ? w0 : 1, hd = h0 ? h0 : 1;
    int w, h;
    switch (size_mode) {
    case 0:
        w = w0;
        h = h0;
        if (w0 > W) {
            w = W;
            h = (int)((long long)h0 * W / wd);
        }
        if (h > H) {
            h = H;
            w = (int)((long long)w0 * H / hd);
        }
        break;
    case 2:
        w = W;
        h = H;
        break;
    case 3:
        w = w0;
        h = h0;
        break;
    default:
        w = W;
        h = (int)((long long)h0 * W / wd);
        if (h > H) {
            h = H;
            w = (int)((long long)w0 * H / hd);
        }
        break;
    }
    if (w == 0)
        w = 1;
    if (h == 0)
        h = 1;
    ControlSite* site = control;
    site->rect.left = (W - w) / 2;
    site->rect.top = (H - h) / 2;
    site->rect.right = site->rect.left + w;
    site->rect.bottom = site->rect.top + h;
    SetControlExtent(site);
    if (site->in_place_object)
        site->in_place_object->SetObjectRects(&site->rect, &site->rect);
}

void MovieHost::DrawNotice(HDC dc) {
    if (!draw_notice)
        return;
    if (!notice_font)
        notice_font = CreateFontA(-18, 0, 0, 0, 700, TRUE, 0, 0, 0, 0, 0, 6,
                                  VARIABLE_PITCH | FF_SWISS, "Arial");
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0x00FFFFFF);
    SelectObject(dc, notice_font);
    RECT client, text;
    GetClientRect(window, &client);
    text = client;
    DrawTextA(dc, kNoticeText, -1, &text, DT_CALCRECT | DT_NOPREFIX);
    int text_width = text.right - text.left, text_height = text.bottom - text.top;
    int x = NoticeOffset(client.right - text_width);
    int y = NoticeOffset(client.bottom - text_height);
    FillRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT place = {x, y, x + text_width, y + text_height};
    DrawTextA(dc, kNoticeText, -1, &place, DT_NOPREFIX);
    RestoreDC(dc, saved);
}

bool ConnectFlashEventSink(ControlSite* site, void* event_target) {
    if (!site || !site->dispatch || !event_target)
        return false;
    FlashEventSink* sink = new FlashEventSink();
    if (!sink)
        return false;
    sink->table = kSinkTable;
    sink->references = 1;
    sink->target = event_target;
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(
            site->control->QueryInterface(IID_IConnectionPointContainer, (void**)&container)) &&
        container) {
        if (FAILED(container->FindConnectionPoint(kFlashEvents, &sink->point)))
            sink->point = nullptr;
        container->Release();
    }
    if (sink->point && SUCCEEDED(sink->point->Advise((IUnknown*)sink, &sink->cookie))) {
        sink->connected = true;
        site->sink = sink;
        return true;
    }
    if (sink->point)
        sink->point->Release();
    SinkRelease(sink);
    return false;
}

bool IsFlashAvailable() {
    if (FAILED(OleInitialize(nullptr)))
        return false;
    IOleObject* object = CreateFlashControl();
    if (!object)
        return false;
    object->Release();
    return true;
}
