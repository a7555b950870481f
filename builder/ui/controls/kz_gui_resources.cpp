#include "builder/ui/controls/kz_gui_resources.h"

#include <initializer_list>

#include "builder/ui/controls/kz_gui_colors.h"

namespace {

KZGUIResources g_resources = {};
bool g_use_gui_font = true;

} // namespace

bool KZCreateGUIResources() {
    KZReleaseGUIResources();
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    LOGFONTA font = {};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font = metrics.lfMessageFont;
    else
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    g_resources.gui_font = CreateFontIndirectA(&font);
    LOGFONTA bold = font;
    bold.lfWeight = FW_BOLD;
    g_resources.bold_font = CreateFontIndirectA(&bold);
    LOGFONTA underline = font;
    underline.lfUnderline = TRUE;
    g_resources.underline_font = CreateFontIndirectA(&underline);

    g_resources.shadow = GetSysColor(COLOR_BTNSHADOW);
    g_resources.face = GetSysColor(COLOR_BTNFACE);
    g_resources.light_face = KZLightFaceColor(g_resources.face);
    g_resources.half_highlight =
        KZHalfHighlightColor(g_resources.face, GetSysColor(COLOR_BTNHIGHLIGHT));
    return g_resources.gui_font && g_resources.bold_font && g_resources.underline_font;
}

void KZReleaseGUIResources() {
    for (HFONT font : {g_resources.gui_font, g_resources.bold_font, g_resources.underline_font}) {
        if (font)
            DeleteObject(font);
    }
    g_resources = KZGUIResources();
}

const KZGUIResources& KZGetGUIResources() {
    return g_resources;
}

HFONT KZGetGUIFont() {
    return g_resources.gui_font ? g_resources.gui_font : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

void KZSetUseGUIFont(bool use) {
    g_use_gui_font = use;
}

bool KZGetUseGUIFont() {
    return g_use_gui_font;
}
