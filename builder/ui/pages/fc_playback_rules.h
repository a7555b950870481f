// The Movie & Playback page's window-free rules: the texts of its two lists and the colours as
// they cross between the document and the colour button.
#pragma once

#include <cstdint>

#include "builder/engine/fc_document.h"

// The lists' texts by position; a position is the field's value.
enum { FC_QUALITY_COUNT = 3, FC_SIZE_MODE_COUNT = 4 };
const char* FCQualityText(int position);
const char* FCSizeModeText(int position);

// A colour button's Windows colour value as a document colour: each channel divided by 255,
// opaque. The other way is FCColorToColorRef.
FCColor FCColorFromColorRef(uint32_t value);
