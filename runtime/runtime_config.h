// The runtime's record of one screensaver: what the payload says, what the user chose, and which
// embedded files have been written out. One per process, reached through g_config.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "runtime/core/qvrk_command_line.h"

// One embedded file of the payload as the runtime uses it.
struct EmbeddedItem {
    int32_t width;
    int32_t height;
    int32_t stored_size;   // bytes of item data in the file
    int32_t unpacked_size; // size after inflating (compressed data only)
    int32_t data_offset;   // absolute file position of the item data
    int32_t size_mode;     // 0 Original Size, 1 Full Screen, 2 Stretch Full Screen, 3 Never Resize
    int32_t quality;       // 0 Low, 1 Medium, 2 High
    char stored_name[100]; // bare file name to extract under; empty means none
    char extracted_path[MAX_PATH + 120]; // empty until written out
};

// Room for a temporary directory of MAX_PATH characters plus "swfsaver".
const int kTemporaryFolderSize = MAX_PATH + 16;

struct RuntimeConfig {
    char temporary_folder[kTemporaryFolderSize];
    QvrkRunMode run_mode;
    char company_name[101];
    char screensaver_name[101];
    char credits_text[513];
    char quality_label[16];
    char quality_names[3][16];
    char sound_label[13];
    HANDLE payload_file; // the program's own file, open for the whole run; null when none
    uint32_t seed;
    bool data_compressed;
    bool data_scrambled;
    bool wake_on_button;
    bool wake_on_right_button;
    bool wake_on_mouse_move;
    bool wake_on_key;
    bool hide_cursor;
    bool sound_option_shown;
    bool quality_option_shown;
    COLORREF background_color;
    COLORREF preview_color;
    EmbeddedItem* items; // owned, item_count entries in payload order
    int item_count;
    EmbeddedItem** slots; // owned table of references into items; slot 0 is the movie played
    int slot_count;
    EmbeddedItem* settings_file; // into items, or null
    EmbeddedItem* preview_file;  // into items, or null
    int32_t sound;               // -1 unset, 0 off, 1 on
    int32_t quality;             // -1 unset, 0 Low, 1 Medium, 2 High
};

extern RuntimeConfig* g_config;
extern HINSTANCE g_instance;
