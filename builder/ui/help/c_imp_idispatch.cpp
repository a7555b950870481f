#include "builder/ui/help/c_imp_idispatch.h"

#include <shellapi.h>

#include <string>

#include "builder/ui/frame/fc_about_dlg.h"
#include "builder/ui/frame/fc_main_frame.h"
#include "builder/ui/frame/fc_main_view.h"
#include "builder/ui/framework/kz_com_text.h"
#include "builder/ui/help/fc_help_rules.h"

namespace {

// The name as ANSI text; a name with characters outside ASCII matches no entry anyway.
std::string NameOf(const OLECHAR* name) {
    std::string text;
    for (; name && *name; ++name) {
        if (*name > 0x7F)
            return std::string("\x01");
        text += (char)*name;
    }
    return text;
}

void SetString(VARIANT* result, const char* text) {
    if (!result)
        return;
    VariantInit(result);
    if (BSTR string = KZToBstr(text)) {
        result->vt = VT_BSTR;
        result->bstrVal = string;
    }
}

// Argument 0 as text, by the automation parameter reader; false when missing or not text.
bool ReadArgument(DISPPARAMS* params, std::string* text) {
    if (!params)
        return false;
    VARIANT value;
    VariantInit(&value);
    UINT error = 0;
    if (FAILED(DispGetParam(params, 0, VT_BSTR, &value, &error)))
        return false;
    *text = KZFromWide(value.bstrVal);
    VariantClear(&value);
    return true;
}

FCHelpSystemColors SystemColors() {
    FCHelpSystemColors colors;
    colors.button_face = GetSysColor(COLOR_BTNFACE);
    colors.button_highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    colors.button_shadow = GetSysColor(COLOR_BTNSHADOW);
    colors.button_text = GetSysColor(COLOR_BTNTEXT);
    colors.window_frame = GetSysColor(COLOR_WINDOWFRAME);
    colors.active_caption = GetSysColor(COLOR_ACTIVECAPTION);
    return colors;
}

FCTestAction TestActionOf(DISPID id) {
    switch (id) {
    case FC_DISPID_TEST_SCR:
        return FC_TEST_SCR;
    case FC_DISPID_TEST_SETTINGS:
        return FC_TEST_SETTINGS;
    case FC_DISPID_TEST_CONTROL_PANEL:
        return FC_TEST_CONTROL_PANEL;
    default:
        return FC_TEST_SETUP;
    }
}

} // namespace

STDMETHODIMP CImpIDispatch::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IDispatch || iid == IID_IUnknown) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CImpIDispatch::Release() {
    ULONG count = --references_;
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP CImpIDispatch::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CImpIDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CImpIDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids)
        return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = FCFindExternalName(NameOf(names[i]).c_str());
        if (ids[i] == FC_DISPID_UNKNOWN)
            result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

STDMETHODIMP CImpIDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) {
    FCMainFrame* frame = view_ ? view_->GetFrame() : nullptr;
    if (!frame)
        return S_OK;
    bool get = (flags & DISPATCH_PROPERTYGET) != 0 && result;
    bool method = (flags & DISPATCH_METHOD) != 0;
    std::string argument;
    int number = 0;
    KZString text;
    switch (id) {
    case FC_DISPID_NSTEPS:
    case FC_DISPID_CURSTEP:
        if (get) {
            text.Format("%d",
                        id == FC_DISPID_NSTEPS ? frame->GetStepCount() : frame->GetCurrentStep());
            SetString(result, text);
        }
        break;
    case FC_DISPID_NEXT_STEP:
        if (method)
            frame->NextStep();
        break;
    case FC_DISPID_PREV_STEP:
        if (method)
            frame->PrevStep();
        break;
    case FC_DISPID_GOTO_STEP:
        // A step that exists is selected; anything else is left alone.
        if (method && ReadArgument(params, &argument) &&
            FCParseHelpNumber(argument.c_str(), &number) && number >= 0 &&
            number < frame->GetStepCount() && FCGetStep(number))
            frame->GoToStep(FCGetStep(number)->command_id);
        break;
    case FC_DISPID_GET_COLOR:
        if (method && result && ReadArgument(params, &argument)) {
            if (!FCParseHelpNumber(argument.c_str(), &number))
                number = 0;
            SetString(result, FCFormatHelpColor(FCHelpColor(number, SystemColors())));
        }
        break;
    case FC_DISPID_TEST_SETUP:
    case FC_DISPID_TEST_SCR:
    case FC_DISPID_TEST_SETTINGS:
    case FC_DISPID_TEST_CONTROL_PANEL:
        if (method)
            frame->RunTest(TestActionOf(id));
        break;
    case FC_DISPID_ABOUT:
        if (method)
            SendMessageA(*frame, WM_COMMAND, FC_ID_APP_ABOUT, 0);
        break;
    case FC_DISPID_CLOSE:
        // Posted: the frame asks to save changes once the script has returned.
        if (method)
            PostMessageA(*frame, WM_CLOSE, 0, 0);
        break;
    case FC_DISPID_VISIT_MARQON:
        if (method)
            ShellExecuteA(*frame, "open", FC_MAKER_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
    return S_OK;
}
