// The library's shared GDI objects, created and released in one place: the default GUI font with
// its bold and underlined variants, and the shared colours.
#pragma once

#include <windows.h>

struct KZGUIResources {
    HFONT gui_font;       // the system's message font (the default GUI font)
    HFONT bold_font;      // the same, bold (section headers)
    HFONT underline_font; // the same, underlined (link labels)
    COLORREF shadow;      // button shadow
    COLORREF face;        // button face
    COLORREF light_face;  // face x 35/32, 255 from 235
    COLORREF half_highlight;
};

// Creates everything (again, after a colour change); false when a font could not be made.
bool KZCreateGUIResources();
void KZReleaseGUIResources();
// The shared objects; the fonts are null before creation.
const KZGUIResources& KZGetGUIResources();
HFONT KZGetGUIFont();

// The library's switch: dialogs give every child the GUI font when it is on (it is by default).
void KZSetUseGUIFont(bool use);
bool KZGetUseGUIFont();
