#include "runtime/movie_host.h"

#include <windows.h>
#include <ole2.h>

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
static const CLSID kFlashControl = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

bool IsFlashAvailable() {
    if (FAILED(OleInitialize(nullptr)))
        return false;
    IClassFactory* factory = nullptr;
    if (FAILED(CoGetClassObject(kFlashControl, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                nullptr, IID_IClassFactory, (void**)&factory)) ||
        !factory)
        return false;
    IUnknown* object = nullptr;
    factory->CreateInstance(nullptr, IID_IOleObject, (void**)&object);
    factory->Release();
    if (!object)
        return false;
    object->Release();
    return true;
}
