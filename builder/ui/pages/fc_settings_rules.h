// The Screensaver Settings page's window-free rules: when the settings dialog's own movie can
// stand for the Display Properties preview, which controls the preview mode enables, and the
// filter of its two open-file dialogs.
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

// The settings dialog shows a movie and one is chosen.
bool FCSettingsMovieInUse(bool show_movie, const char* movie_file);

// The preview mode kept: "the settings movie" (2) becomes "uniform" (0) when there is none in
// use, since the screensaver would have nothing to show; other modes stay.
int32_t FCCorrectPreviewMode(int32_t mode, bool show_movie, const char* movie_file);

// What the page enables (and, for the colour, shows) for a state.
struct FCSettingsControlStates {
    bool movie_controls;   // the settings movie's path and Browse
    bool message;          // the message edit
    bool settings_preview; // the "settings image or movie" preview choice
    bool color;            // the uniform colour button
    bool specific_file;    // the specific preview file's path and Browse
};
FCSettingsControlStates FCSettingsStates(int32_t mode, bool show_movie, const char* movie_file);

// "All supported types|*.swf;ALL|Adobe Flash (*.swf)|*.swf|PAIRS|" from the picture formats'
// joined patterns and their description and pattern pairs.
KZString FCMovieOrPictureFilter(const char* all_patterns, const char* format_pairs);
