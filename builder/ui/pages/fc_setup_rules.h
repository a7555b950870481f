// The Setup Parameters page's window-free rules: the default installation folder, the URL's
// prefix, the language list, the copyright text and the ampersands a static would eat.
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

// The characters an edit refuses: a name that goes into file and folder names takes none of a
// file name's forbidden characters; a folder may hold backslashes and a drive's colon.
extern const char kNameExcludedChars[];
extern const char kFolderExcludedChars[];

// "{pf}\COMPANY\LONG", or LONG alone when the company is empty.
KZString FCDefaultInstallDir(const char* company, const char* long_name);
// The URL as the page shows it: without a leading "http://" in any letter case.
KZString FCUrlWithoutPrefix(const char* url);
// The URL as the page stores it: one lower-case "http://" in front of the shown text.
KZString FCUrlWithPrefix(const char* shown);
// "Copyright © YEAR COMPANY".
KZString FCDefaultCopyright(int year, const char* company);
// Every '&' doubled, so that a static shows it; a double-byte pair is copied whole, as its
// trail byte may be an ampersand's code.
KZString FCDoubleAmpersands(const char* text, bool (*is_lead_byte)(unsigned char) = nullptr);

// The setup languages in the list's order.
enum { FC_SETUP_LANGUAGE_COUNT = 8 };
const char* FCSetupLanguageText(int position);
int32_t FCSetupLanguageValue(int position);
// The position showing `value`; -1 when none does.
int FCSetupLanguagePosition(int32_t value);
// The value stored for a list selection: nothing selected is taken as the first entry, a
// position above 6 as the last.
int32_t FCSetupLanguageForSelection(int selection);
