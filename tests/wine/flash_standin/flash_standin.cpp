// A stand-in for the Flash Player ActiveX control, for the runtime's tests under Wine. It answers
// the interfaces the runtime's container uses, writes one line per call (with its arguments) to the
// file named by FLASH_STANDIN_LOG, and paints its window one solid colour so that a screenshot
// shows where the control sits.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <cstdarg>
#include <cstring>

namespace {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID kFlashClass = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}: the control's event interface.
const IID kFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The colour every test looks for on screen: RGB(32, 192, 64).
const COLORREF kStandinColour = RGB(0x20, 0xC0, 0x40);
const char kWindowClass[] = "FlashStandinWindow";

HINSTANCE g_module;
LONG g_objects;
LONG g_locks;

void Log(const char* format, ...) {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("FLASH_STANDIN_LOG", path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return;
    FILE* file = std::fopen(path, "a");
    if (!file)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
}

void Utf8(const wchar_t* text, char* out, int room) {
    out[0] = 0;
    if (text)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out, room, nullptr, nullptr);
}

void IidText(REFIID iid, char* out) {
    wchar_t text[64];
    StringFromGUID2(iid, text, 64);
    Utf8(text, out, 64);
}

LRESULT CALLBACK StandinWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(kStandinColour);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        Log("Window.RightButton message=0x%x", message);
        return 0;
    case WM_LBUTTONDOWN:
        Log("Window.LeftButtonDown");
        break;
    case WM_KEYDOWN:
        Log("Window.KeyDown key=%u", (unsigned)wparam);
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

class Standin;

// The one connection point, for the event interface.
class EventPoint : public IConnectionPoint {
public:
    explicit EventPoint(Standin* owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = kFlashEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        if (!sink || !cookie) {
            Log("ConnectionPoint.Advise sink=null");
            return E_POINTER;
        }
        IUnknown* events = nullptr;
        IDispatch* dispatch = nullptr;
        HRESULT events_result = sink->QueryInterface(kFlashEvents, (void**)&events);
        HRESULT dispatch_result = sink->QueryInterface(IID_IDispatch, (void**)&dispatch);
        UINT type_count = 99;
        HRESULT count_result = dispatch ? dispatch->GetTypeInfoCount(&type_count) : E_FAIL;
        HRESULT invoke_result = E_FAIL;
        if (dispatch) {
            DISPPARAMS none = {nullptr, nullptr, 0, 0};
            invoke_result = dispatch->Invoke(0x7a6, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                                             nullptr, nullptr);
        }
        Log("ConnectionPoint.Advise events=0x%08lx dispatch=0x%08lx typeinfocount=0x%08lx count=%u "
            "invoke=0x%08lx",
            (unsigned long)events_result, (unsigned long)dispatch_result,
            (unsigned long)count_result, type_count, (unsigned long)invoke_result);
        if (events)
            events->Release();
        if (dispatch)
            dispatch->Release();
        if (sink_)
            sink_->Release();
        sink_ = sink;
        sink_->AddRef();
        *cookie = 0x51;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        Log("ConnectionPoint.Unadvise cookie=0x%lx", (unsigned long)cookie);
        if (cookie != 0x51 || !sink_)
            return CONNECT_E_NOCONNECTION;
        sink_->Release();
        sink_ = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    Standin* owner_;
    IUnknown* sink_ = nullptr;
};

class Standin : public IOleObject,
                public IOleInPlaceObject,
                public IQuickActivate,
                public IDispatch,
                public IConnectionPointContainer {
public:
    Standin() : point_(this) { InterlockedIncrement(&g_objects); }
    ~Standin() {
        if (window_)
            DestroyWindow(window_);
        if (site_)
            site_->Release();
        InterlockedDecrement(&g_objects);
    }

    // IUnknown, shared by every interface.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        char name[64];
        IidText(iid, name);
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IQuickActivate)
            *out = static_cast<IQuickActivate*>(this);
        else if (iid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IConnectionPointContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        Log("QueryInterface %s %s", name, *out ? "yes" : "no");
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            Log("Destroyed");
            delete this;
        }
        return left;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        Log("IOleObject.SetClientSite site=%s", site ? "set" : "null");
        KeepSite(site);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        *site = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD save) override {
        Log("IOleObject.Close save=%lu", (unsigned long)save);
        if (window_) {
            DestroyWindow(window_);
            window_ = nullptr;
        }
        KeepSite(nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT rect) override {
        Log("IOleObject.DoVerb verb=%ld site=%s parent=%s rect=%ld,%ld,%ld,%ld", verb,
            site ? "set" : "null", parent ? "set" : "null", rect ? rect->left : 0,
            rect ? rect->top : 0, rect ? rect->right : 0, rect ? rect->bottom : 0);
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW &&
            verb != OLEIVERB_UIACTIVATE)
            return E_NOTIMPL;
        if (site)
            KeepSite(site);
        if (!parent || !rect)
            return E_INVALIDARG;
        // What the site says about itself, so the log shows its in-place answers.
        IOleInPlaceSite* place = nullptr;
        if (site_ && SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSite, (void**)&place))) {
            HWND site_window = nullptr;
            HRESULT window_result = place->GetWindow(&site_window);
            HRESULT can = place->CanInPlaceActivate();
            HRESULT on = place->OnInPlaceActivate();
            IOleInPlaceFrame* frame = nullptr;
            IOleInPlaceUIWindow* document = nullptr;
            RECT position = {}, clip = {};
            OLEINPLACEFRAMEINFO info = {};
            info.cb = sizeof(info);
            HRESULT context = place->GetWindowContext(&frame, &document, &position, &clip, &info);
            Log("IOleInPlaceSite answers window=0x%08lx same_parent=%d can=0x%08lx on=0x%08lx "
                "context=0x%08lx frame=%s document=%s position=%ld,%ld,%ld,%ld "
                "clip=%ld,%ld,%ld,%ld mdi=%d frame_window_is_parent=%d accelerators=%u",
                (unsigned long)window_result, site_window == parent, (unsigned long)can,
                (unsigned long)on, (unsigned long)context, frame ? "set" : "null",
                document ? "set" : "null", position.left, position.top, position.right,
                position.bottom, clip.left, clip.top, clip.right, clip.bottom, info.fMDIApp,
                info.hwndFrame == parent, info.cAccelEntries);
            if (frame)
                frame->Release();
            if (document)
                document->Release();
            place->Release();
        }
        if (!window_) {
            window_ = CreateWindowExA(0, kWindowClass, "Flash stand-in",
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect->left,
                                      rect->top, rect->right - rect->left, rect->bottom - rect->top,
                                      parent, nullptr, g_module, nullptr);
            Log("Window created %s", window_ ? "yes" : "no");
        }
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override {
        *id = kFlashClass;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override {
        Log("IOleObject.SetExtent aspect=%lu cx=%ld cy=%ld", (unsigned long)aspect,
            size ? size->cx : 0, size ? size->cy : 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        Log("IOleInPlaceObject.GetWindow %s", window_ ? "set" : "null");
        *window = window_;
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        Log("IOleInPlaceObject.InPlaceDeactivate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override {
        Log("IOleInPlaceObject.UIDeactivate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override {
        Log("IOleInPlaceObject.SetObjectRects position=%ld,%ld,%ld,%ld clip=%ld,%ld,%ld,%ld",
            position->left, position->top, position->right, position->bottom, clip->left, clip->top,
            clip->right, clip->bottom);
        if (window_)
            MoveWindow(window_, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IQuickActivate
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override {
        Log("IQuickActivate.QuickActivate container_size=%lu control_size=%lu site=%s "
            "sink=%s advise=%s font=%s colours=%lu,%lu appearance=%lu locale=%lu",
            container ? (unsigned long)container->cbSize : 0,
            control ? (unsigned long)control->cbSize : 0,
            container && container->pClientSite ? "set" : "null",
            container && container->pPropertyNotifySink ? "set" : "null",
            container && container->pAdviseSink ? "set" : "null",
            container && container->pFont ? "set" : "null",
            container ? (unsigned long)container->colorFore : 0,
            container ? (unsigned long)container->colorBack : 0,
            container ? (unsigned long)container->dwAppearance : 0,
            container ? (unsigned long)container->lcid : 0);
        if (!container || !control)
            return E_POINTER;
        if (container->pClientSite)
            KeepSite(container->pClientSite);
        ULONG size = control->cbSize;
        std::memset(control, 0, size < sizeof(QACONTROL) ? size : sizeof(QACONTROL));
        control->cbSize = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL) override { return E_NOTIMPL; }

    // IDispatch: Movie 102, ScaleMode 120, Quality2 141.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            char name[128];
            Utf8(names[i], name, sizeof(name));
            ids[i] = IdOfName(name);
            Log("IDispatch.GetIDsOfNames %s=%ld", name, ids[i]);
            if (ids[i] == DISPID_UNKNOWN)
                result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT*, EXCEPINFO*, UINT*) override {
        char value[1024] = "";
        if (params && params->cArgs >= 1) {
            VARIANT& arg = params->rgvarg[0];
            if (arg.vt == VT_BSTR) {
                char text[1000];
                Utf8(arg.bstrVal, text, sizeof(text));
                std::snprintf(value, sizeof(value), "bstr:\"%s\"", text);
            } else if (arg.vt == VT_I4) {
                std::snprintf(value, sizeof(value), "i4:%ld", arg.lVal);
            } else if (arg.vt == VT_I2) {
                std::snprintf(value, sizeof(value), "i2:%d", arg.iVal);
            } else {
                std::snprintf(value, sizeof(value), "vt:%u", arg.vt);
            }
        }
        const char* name = id == 102   ? "Movie"
                           : id == 120 ? "ScaleMode"
                           : id == 141 ? "Quality2"
                                       : "?";
        long named = params && params->cNamedArgs >= 1 && params->rgdispidNamedArgs
                         ? params->rgdispidNamedArgs[0]
                         : 0;
        Log("IDispatch.Invoke %s id=%ld flags=%u args=%u named=%u named0=%ld value=%s", name, id,
            flags, params ? params->cArgs : 0, params ? params->cNamedArgs : 0, named, value);
        return S_OK;
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
        char name[64];
        IidText(iid, name);
        Log("IConnectionPointContainer.FindConnectionPoint %s", name);
        if (iid != kFlashEvents) {
            *out = nullptr;
            return CONNECT_E_NOCONNECTION;
        }
        *out = &point_;
        AddRef();
        return S_OK;
    }

private:
    static DISPID IdOfName(const char* name) {
        if (!lstrcmpiA(name, "Movie"))
            return 102;
        if (!lstrcmpiA(name, "ScaleMode"))
            return 120;
        if (!lstrcmpiA(name, "Quality2"))
            return 141;
        return DISPID_UNKNOWN;
    }
    void KeepSite(IOleClientSite* site) {
        if (site)
            site->AddRef();
        if (site_)
            site_->Release();
        site_ = site;
    }

    LONG references_ = 1;
    HWND window_ = nullptr;
    IOleClientSite* site_ = nullptr;
    EventPoint point_;
};

HRESULT EventPoint::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
ULONG EventPoint::AddRef() {
    return static_cast<IOleObject*>(owner_)->AddRef();
}
ULONG EventPoint::Release() {
    return static_cast<IOleObject*>(owner_)->Release();
}
HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    *out = static_cast<IConnectionPointContainer*>(owner_);
    AddRef();
    return S_OK;
}

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        char name[64];
        IidText(iid, name);
        Log("ClassFactory.CreateInstance %s", name);
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Standin* standin = new Standin();
        HRESULT result = standin->QueryInterface(iid, out);
        static_cast<IOleObject*>(standin)->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

Factory g_factory;

bool SetKey(const char* path, const char* name, const char* value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
        return false;
    bool ok = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value, lstrlenA(value) + 1) == 0;
    RegCloseKey(key);
    return ok;
}

const char kClassKey[] = "CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = StandinWindowProc;
        window_class.hInstance = module;
        window_class.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        window_class.lpszClassName = kWindowClass;
        RegisterClassA(&window_class);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    char name[64];
    IidText(iid, name);
    Log("DllGetClassObject %s", name);
    if (clsid != kFlashClass) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_module, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return SELFREG_E_CLASS;
    char server[sizeof(kClassKey) + 32];
    std::snprintf(server, sizeof(server), "%s\\InprocServer32", kClassKey);
    if (!SetKey(kClassKey, nullptr, "Shockwave Flash Object (test stand-in)") ||
        !SetKey(server, nullptr, path) || !SetKey(server, "ThreadingModel", "Apartment"))
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    LONG result = RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
