// Well-known folders, each returned with a trailing path separator (empty when unknown), and
// folders made, tested and named in full. Paths are in the ANSI code page (see kz_file.h).
//
// Windows asks the system. POSIX has no such folders; these stand-ins are used:
//   temporary folder  $TMPDIR, else "/tmp/"
//   Windows folder    $HOME/.scrkit/windows/
//   system folder     $HOME/.scrkit/windows/system32/
//   special folders   KZ_CSIDL_PERSONAL and KZ_CSIDL_DESKTOPDIRECTORY: $HOME/ and $HOME/Desktop/;
//                     KZ_CSIDL_APPDATA: $XDG_CONFIG_HOME or $HOME/.config/;
//                     KZ_CSIDL_LOCAL_APPDATA: $XDG_DATA_HOME or $HOME/.local/share/;
//                     KZ_CSIDL_COMMON_APPDATA: $HOME/.scrkit/common/;
//                     KZ_CSIDL_PROGRAM_FILES: $HOME/.scrkit/programs/; any other id: empty.
// $HOME missing stands for "/tmp". None of the folders is created. A folder whose name has no
// form in the ANSI code page is unknown (empty): $TMPDIR "/tmp/日本" gives no temporary folder.
#pragma once

#include "media/base/kz_string.h"

// Folder ids with their Windows (CSIDL) values.
enum {
    KZ_CSIDL_DESKTOP = 0x0000,
    KZ_CSIDL_PROGRAMS = 0x0002,
    KZ_CSIDL_PERSONAL = 0x0005,
    KZ_CSIDL_DESKTOPDIRECTORY = 0x0010,
    KZ_CSIDL_APPDATA = 0x001a,
    KZ_CSIDL_LOCAL_APPDATA = 0x001c,
    KZ_CSIDL_WINDOWS = 0x0024,
    KZ_CSIDL_SYSTEM = 0x0025,
    KZ_CSIDL_PROGRAM_FILES = 0x0026,
    KZ_CSIDL_COMMON_APPDATA = 0x0023,
    KZ_CSIDL_MYPICTURES = 0x0027,
};

// The separator of the platform: '\\' on Windows, '/' on POSIX.
char KZPathSeparator();

KZString GetTempFolder();
KZString GetWindowsFolder();
KZString GetSystemFolder();
KZString GetSpecialFolder(int folder_id);

// Makes the folder and the missing folders above it; true when it is a folder afterwards.
bool KZCreateFolders(const char* path);
// A folder (not a file) of that name exists.
bool KZFolderExists(const char* path);
// The path from the root: a relative one is taken from the current folder. Empty when the current
// folder is unknown or has no name in the ANSI code page.
KZString KZFullPath(const char* path);
