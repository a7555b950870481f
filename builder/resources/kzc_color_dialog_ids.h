// Resource numbers of the colour dialog, shared by kzc_color_dialog.rc and the code.
#pragma once

#define IDD_COLOR_DIALOG 11012
#define IDD_COLOR_DIALOG_OPACITY 11013

#define IDC_COLOR_MAP 11101
#define IDC_COLOR_BAR 11102
#define IDC_COLOR_PREVIEW 11103
// Radio buttons and edits in the order hue, saturation, value, red, green, blue.
#define IDC_COLOR_RADIO_HUE 11110
#define IDC_COLOR_RADIO_SATURATION 11111
#define IDC_COLOR_RADIO_VALUE 11112
#define IDC_COLOR_RADIO_RED 11113
#define IDC_COLOR_RADIO_GREEN 11114
#define IDC_COLOR_RADIO_BLUE 11115
#define IDC_COLOR_EDIT_HUE 11120
#define IDC_COLOR_EDIT_SATURATION 11121
#define IDC_COLOR_EDIT_VALUE 11122
#define IDC_COLOR_EDIT_RED 11123
#define IDC_COLOR_EDIT_GREEN 11124
#define IDC_COLOR_EDIT_BLUE 11125
#define IDC_COLOR_EDIT_HEX 11126
#define IDC_COLOR_EDIT_OPACITY 11127
