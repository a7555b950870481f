#include "runtime/system_hooks.h"

#include <mmsystem.h>

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    if (path[length - 1] != '\\')
        path[length++] = '\\';
    while (*name)
        path[length++] = *name++;
    path[length] = 0;
    return LoadLibraryA(path);
}

bool VerifySaverPassword(HWND owner) {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return true;
    HMODULE library = LoadSystemLibrary("PASSWORD.CPL");
    if (!library)
        return true;
    typedef BOOL(WINAPI * VerifyFunction)(HWND);
    VerifyFunction verify = (VerifyFunction)(void*)GetProcAddress(library, "VerifyScreenSavePwd");
    bool result = verify ? verify(owner) != FALSE : true;
    FreeLibrary(library);
    return result;
}

void ChangeSaverPassword(HWND parent) {
    HMODULE library = LoadSystemLibrary("MPR.DLL");
    if (!library)
        return;
    typedef DWORD(WINAPI * ChangeFunction)(LPCSTR, HWND, DWORD, LPVOID);
    ChangeFunction change = (ChangeFunction)(void*)GetProcAddress(library, "PwdChangePasswordA");
    if (change)
        change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(library);
}

void SetSaverRunningFlag(bool running) {
    BOOL previous;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

// The speaker line's mute control on mixer 0, found afresh for each call.
struct MuteControl {
    HMIXER mixer;
    DWORD control_id;
    DWORD channels;
};

static bool OpenMuteControl(MuteControl* mute) {
    mute->mixer = nullptr;
    if (mixerGetNumDevs() == 0)
        return false;
    if (mixerOpen(&mute->mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
        mute->mixer = nullptr;
        return false;
    }
    MIXERLINEA line;
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoA((HMIXEROBJ)mute->mixer, &line,
                          MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return false;
    MIXERCONTROLA control;
    MIXERLINECONTROLSA controls;
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    if (mixerGetLineControlsA((HMIXEROBJ)mute->mixer, &controls,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR)
        return false;
    mute->control_id = control.dwControlID;
    mute->channels = line.cChannels > 10 ? 10 : line.cChannels;
    return true;
}

static void CloseMuteControl(MuteControl* mute) {
    if (mute->mixer)
        mixerClose(mute->mixer);
}

// One value: either one channel read, or one value written for all channels.
static bool MuteDetails(MuteControl* mute, LONG* value, bool write) {
    MIXERCONTROLDETAILS_BOOLEAN detail;
    detail.fValue = *value;
    MIXERCONTROLDETAILS details;
    details.cbStruct = sizeof(details);
    details.dwControlID = mute->control_id;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(detail);
    details.paDetails = &detail;
    DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    MMRESULT result = write ? mixerSetControlDetails((HMIXEROBJ)mute->mixer, &details, flags)
                            : mixerGetControlDetailsA((HMIXEROBJ)mute->mixer, &details, flags);
    *value = detail.fValue;
    return result == MMSYSERR_NOERROR;
}

bool GetMasterMute(bool* muted) {
    MuteControl mute;
    LONG value = 0;
    bool ok = OpenMuteControl(&mute) && MuteDetails(&mute, &value, false);
    CloseMuteControl(&mute);
    if (ok)
        *muted = value != 0;
    return ok;
}

bool SetMasterMute(bool mute_line, bool* previous) {
    MuteControl mute;
    LONG value = 0;
    bool ok = OpenMuteControl(&mute) && MuteDetails(&mute, &value, false);
    if (ok) {
        if (previous)
            *previous = value != 0;
        value = mute_line ? 1 : 0;
        ok = MuteDetails(&mute, &value, true);
    }
    CloseMuteControl(&mute);
    return ok;
}
