// The frame's window-free rules: the step table, the sizes from the screen's resolution, the
// stored window placement, the language choice and the file-name rules of opening and saving.
#pragma once

#include "media/base/kz_string.h"

struct FCStepInfo {
    int command_id;
    const char* short_name; // toolbar label
    const char* title;      // long title
    int dialog_id;          // the page's dialog template
    int image_id;           // the toolbar picture, a "PNG" resource
};

enum {
    FC_STEP_COUNT = 9,
    FC_STEP_COMMAND_FIRST = 200, // the frame handles 200 to 211; 209 to 211 match no step
    FC_STEP_COMMAND_LAST = 211,
};

// Step i of the table (0 to FC_STEP_COUNT - 1); null out of range.
const FCStepInfo* FCGetStep(int index);
// Index of the step with that command id, -1 when none.
int FCFindStepByCommand(int command_id);

struct FCFrameSizes {
    int page_width, page_height;
    int frame_width, frame_height;
};
// Page area 450 x 390 scaled by r^1.25, frame 680 x 540 by r^0.75, r = dpi / 96 as a float.
FCFrameSizes FCComputeFrameSizes(int dpi);

// The placement record as stored: a leading 0, flags, show command, minimised x, y, maximised
// x, y, normal left, top, right, bottom.
struct FCPlacementValues {
    int flags, show_command;
    int min_x, min_y, max_x, max_y;
    int left, top, right, bottom;
};
// Exactly eleven integers separated by commas; false for anything else.
bool FCParsePlacement(const char* text, FCPlacementValues* values);
KZString FCFormatPlacement(const FCPlacementValues& values);

// The language code from the machine-wide "locale" value: its registry type and size as read
// (found false when missing) and the value; 0 when not set.
enum { FC_LANGUAGE_ENGLISH = 1, FC_LANGUAGE_FRENCH = 2 };
int FCLanguageFromValue(bool found, unsigned type, unsigned size, unsigned value);
// The language when the value did not set one: French for a French user locale (primary
// language 0x0C of the thread's locale id), else English.
int FCLanguageFromLocale(unsigned locale_id);

// True when the path's extension, lower-cased, is ".kpj".
bool FCIsProjectPath(const char* path);
// The file's name without folder and extension; "TarvoSetup1" for an empty path.
KZString FCProjectDisplayName(const char* path);
// The first project among dropped paths, -1 when none.
int FCChooseDroppedProject(const KZString* paths, int count);
// The path with its extension replaced by ".kpj" (kept when it is already ".kpj" in any case).
KZString FCWithProjectExtension(const char* path);
// The file named on a command line (after the program's own name): the first argument that is
// not an option ("/x" or "-x"), quotes removed; empty when none.
KZString FCCommandLineFile(const char* command_line);
