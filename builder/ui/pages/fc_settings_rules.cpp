#include "builder/ui/pages/fc_settings_rules.h"

bool FCSettingsMovieInUse(bool show_movie, const char* movie_file) {
    return show_movie && movie_file && *movie_file;
}

int32_t FCCorrectPreviewMode(int32_t mode, bool show_movie, const char* movie_file) {
    if (mode == 2 && !FCSettingsMovieInUse(show_movie, movie_file))
        return 0;
    return mode;
}

FCSettingsControlStates FCSettingsStates(int32_t mode, bool show_movie, const char* movie_file) {
    FCSettingsControlStates states;
    states.movie_controls = show_movie;
    states.message = !show_movie;
    states.settings_preview = FCSettingsMovieInUse(show_movie, movie_file);
    states.color = mode == 0;
    states.specific_file = mode == 3;
    return states;
}

KZString FCMovieOrPictureFilter(const char* all_patterns, const char* format_pairs) {
    KZString filter("All supported types|*.swf;");
    filter += all_patterns;
    filter += "|Adobe Flash (*.swf)|*.swf|";
    filter += format_pairs;
    filter += "|";
    return filter;
}
