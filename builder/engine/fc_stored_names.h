// The file names a screensaver stores for its movies. The runtime extracts every movie into one
// folder under its stored name, and the main movie loads the others by those names, so a name
// must be one Windows takes as it is, and no two may be one file there.
#pragma once

// Names the payload's record holds: at most this many characters (a longer one is stored empty).
const int FC_STORED_NAME_MAX = 99;

// Why Windows cannot create a file of this name in a folder (empty, a character Windows refuses,
// a folder part among them, a trailing dot or space, a device name such as "CON.swf"); null when
// it can. The setup installs files under such names too.
const char* FCFileNameProblem(const char* name);
// Why `name` cannot be a stored name the runtime extracts under: too long for the record, or
// FCFileNameProblem; null when it can.
const char* FCStoredNameProblem(const char* name);

// The two names are one Windows file name: equal when the letter case of the Windows-1252 code
// page is ignored ("Été.swf" and "éTÉ.SWF").
bool FCSameStoredName(const char* a, const char* b);
