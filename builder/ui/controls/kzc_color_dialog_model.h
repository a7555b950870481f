// The colour dialog's state without its window: the colour in both spaces, what each edit shows
// and reads, and how the colour map and bar translate points into components.
#pragma once

#include "builder/ui/controls/kzc_color_model.h"

// In the order of the dialog's radio buttons.
enum KZCColorComponent {
    KZC_COMPONENT_HUE,
    KZC_COMPONENT_SATURATION,
    KZC_COMPONENT_VALUE,
    KZC_COMPONENT_RED,
    KZC_COMPONENT_GREEN,
    KZC_COMPONENT_BLUE,
    KZC_COMPONENT_COUNT
};

// The dialog's edits: one per component, then the hexadecimal colour.
enum KZCColorField {
    KZC_FIELD_HUE,
    KZC_FIELD_SATURATION,
    KZC_FIELD_VALUE,
    KZC_FIELD_RED,
    KZC_FIELD_GREEN,
    KZC_FIELD_BLUE,
    KZC_FIELD_HEX,
    KZC_FIELD_COUNT
};

// Highest value of a component: hue 359 degrees, saturation and value 100 percent, channels 255.
int KZCComponentMaximum(KZCColorComponent component);

class KZCColorDialogModel {
public:
    // Red, green and blue; hue, saturation and value follow.
    void SetColor(KZCColor color);
    KZCColor Color() const { return KZCMakeColor(red_, green_, blue_); }

    // Limited to the component's range; the other colour space follows. A grey keeps the hue it
    // had, and black its saturation, so that moving through them loses nothing.
    void SetComponent(KZCColorComponent component, int amount);
    int Component(KZCColorComponent component) const;

    // Typing into an edit: hue read within -10000..10000 and wrapped, the others limited to their
    // range, the hexadecimal edit changing the colour only once it holds six digits.
    void ApplyTypedText(KZCColorField field, const char* text);
    // What the edit shows for the current colour; `buffer` holds at least 8 bytes.
    void FieldText(KZCColorField field, char* buffer, int size) const;

private:
    void HsvChanged();
    void RgbChanged();

    int hue_ = 0;        // degrees, 0..359
    int saturation_ = 0; // percent
    int value_ = 0;      // percent
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
};

// The map shows the two components that the bar does not control.
void KZCMapAxes(KZCColorComponent bar, KZCColorComponent* x_axis, KZCColorComponent* y_axis);

// Points run from 0 to size - 1; the bar and the map's vertical axis have their maximum at the
// top, the map's horizontal axis at the right. Points outside are taken as the nearest edge.
void KZCSetMapPoint(KZCColorDialogModel* model, KZCColorComponent bar, int x, int y, int width,
                    int height);
void KZCMapPoint(const KZCColorDialogModel& model, KZCColorComponent bar, int width, int height,
                 int* x, int* y);
void KZCSetBarPoint(KZCColorDialogModel* model, KZCColorComponent bar, int y, int height);
int KZCBarPoint(const KZCColorDialogModel& model, KZCColorComponent bar, int height);

// The colour drawn at a point of the map or the bar. The hue bar shows pure hues; the other
// bars vary their component with the rest of the colour as it is.
KZCColor KZCMapColorAt(const KZCColorDialogModel& model, KZCColorComponent bar, int x, int y,
                       int width, int height);
KZCColor KZCBarColorAt(const KZCColorDialogModel& model, KZCColorComponent bar, int y, int height);
