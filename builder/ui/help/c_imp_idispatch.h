// window.external of the help pages: an automation object with a fixed table of names that
// moves between steps, hands out the system's colours and runs the wizard's commands.
#pragma once

#include <windows.h>
#include <oaidl.h>

class FCMainView;

class CImpIDispatch final : public IDispatch {
public:
    explicit CImpIDispatch(FCMainView* view) : view_(view) {}

    // The view is going: later calls from a page that still holds the object do nothing.
    void Detach() { view_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    // By the name table; every unknown name gets -1 and the call DISP_E_UNKNOWNNAME.
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    // Always S_OK; the result is filled only by the names that give one.
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override;

private:
    ~CImpIDispatch() = default; // only Release deletes
    ULONG references_ = 0;
    FCMainView* view_;
};
