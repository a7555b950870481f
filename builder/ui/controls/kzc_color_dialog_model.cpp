#include "builder/ui/controls/kzc_color_dialog_model.h"

#include <cmath>
#include <cstdio>

int KZCComponentMaximum(KZCColorComponent component) {
    switch (component) {
    case KZC_COMPONENT_HUE:
        return 359;
    case KZC_COMPONENT_SATURATION:
    case KZC_COMPONENT_VALUE:
        return 100;
    default:
        return 255;
    }
}

static int Limit(int n, int lowest, int highest) {
    return n < lowest ? lowest : n > highest ? highest : n;
}

void KZCColorDialogModel::SetColor(KZCColor color) {
    red_ = KZCRed(color);
    green_ = KZCGreen(color);
    blue_ = KZCBlue(color);
    RgbChanged();
}

void KZCColorDialogModel::SetComponent(KZCColorComponent component, int amount) {
    int n = component == KZC_COMPONENT_HUE ? KZCWrapHue(amount)
                                           : Limit(amount, 0, KZCComponentMaximum(component));
    switch (component) {
    case KZC_COMPONENT_HUE:
        hue_ = n;
        HsvChanged();
        break;
    case KZC_COMPONENT_SATURATION:
        saturation_ = n;
        HsvChanged();
        break;
    case KZC_COMPONENT_VALUE:
        value_ = n;
        HsvChanged();
        break;
    case KZC_COMPONENT_RED:
        red_ = n;
        RgbChanged();
        break;
    case KZC_COMPONENT_GREEN:
        green_ = n;
        RgbChanged();
        break;
    case KZC_COMPONENT_BLUE:
        blue_ = n;
        RgbChanged();
        break;
    default:
        break;
    }
}

int KZCColorDialogModel::Component(KZCColorComponent component) const {
    switch (component) {
    case KZC_COMPONENT_HUE:
        return hue_;
    case KZC_COMPONENT_SATURATION:
        return saturation_;
    case KZC_COMPONENT_VALUE:
        return value_;
    case KZC_COMPONENT_RED:
        return red_;
    case KZC_COMPONENT_GREEN:
        return green_;
    case KZC_COMPONENT_BLUE:
        return blue_;
    default:
        return 0;
    }
}

void KZCColorDialogModel::HsvChanged() {
    double r, g, b;
    KZCHsvToRgb(hue_ / 360.0, saturation_ / 100.0, value_ / 100.0, &r, &g, &b);
    red_ = (int)(r * 255.0 + 0.5);
    green_ = (int)(g * 255.0 + 0.5);
    blue_ = (int)(b * 255.0 + 0.5);
}

void KZCColorDialogModel::RgbChanged() {
    int high = red_ > green_ ? (red_ > blue_ ? red_ : blue_) : (green_ > blue_ ? green_ : blue_);
    int low = red_ < green_ ? (red_ < blue_ ? red_ : blue_) : (green_ < blue_ ? green_ : blue_);
    value_ = (int)std::lround(high * 100.0 / 255.0);
    if (high == 0)
        return;
    saturation_ = (int)std::lround((high - low) * 100.0 / high);
    if (high == low)
        return;
    double span = high - low;
    double h;
    if (high == red_)
        h = (green_ - blue_) / span;
    else if (high == green_)
        h = 2.0 + (blue_ - red_) / span;
    else
        h = 4.0 + (red_ - green_) / span;
    hue_ = KZCWrapHue((int)std::lround(h * 60.0));
}

void KZCColorDialogModel::ApplyTypedText(KZCColorField field, const char* text) {
    switch (field) {
    case KZC_FIELD_HUE:
        SetComponent(KZC_COMPONENT_HUE, KZCReadHue(text));
        break;
    case KZC_FIELD_HEX: {
        KZCColor color;
        if (KZCParseHexColor(text, &color))
            SetColor(color);
        break;
    }
    default: {
        KZCColorComponent component = (KZCColorComponent)field;
        SetComponent(component, KZCReadLimitedInteger(text, 0, KZCComponentMaximum(component)));
        break;
    }
    }
}

void KZCColorDialogModel::FieldText(KZCColorField field, char* buffer, int size) const {
    if (field == KZC_FIELD_HEX)
        KZCFormatHexColor(Color(), buffer, size);
    else
        std::snprintf(buffer, size, "%d", Component((KZCColorComponent)field));
}

void KZCMapAxes(KZCColorComponent bar, KZCColorComponent* x_axis, KZCColorComponent* y_axis) {
    switch (bar) {
    case KZC_COMPONENT_HUE:
        *x_axis = KZC_COMPONENT_SATURATION;
        *y_axis = KZC_COMPONENT_VALUE;
        break;
    case KZC_COMPONENT_SATURATION:
        *x_axis = KZC_COMPONENT_HUE;
        *y_axis = KZC_COMPONENT_VALUE;
        break;
    case KZC_COMPONENT_VALUE:
        *x_axis = KZC_COMPONENT_HUE;
        *y_axis = KZC_COMPONENT_SATURATION;
        break;
    case KZC_COMPONENT_RED:
        *x_axis = KZC_COMPONENT_BLUE;
        *y_axis = KZC_COMPONENT_GREEN;
        break;
    case KZC_COMPONENT_GREEN:
        *x_axis = KZC_COMPONENT_BLUE;
        *y_axis = KZC_COMPONENT_RED;
        break;
    default:
        *x_axis = KZC_COMPONENT_RED;
        *y_axis = KZC_COMPONENT_GREEN;
        break;
    }
}

// Point 0..size-1 to 0..maximum and back, rounding to the nearest.
static int AmountAt(int point, int size, int maximum) {
    if (size < 2)
        return 0;
    point = Limit(point, 0, size - 1);
    return (point * maximum + (size - 1) / 2) / (size - 1);
}

static int PointOf(int amount, int size, int maximum) {
    if (size < 2)
        return 0;
    return (amount * (size - 1) + maximum / 2) / maximum;
}

void KZCSetMapPoint(KZCColorDialogModel* model, KZCColorComponent bar, int x, int y, int width,
                    int height) {
    KZCColorComponent x_axis, y_axis;
    KZCMapAxes(bar, &x_axis, &y_axis);
    int x_max = KZCComponentMaximum(x_axis), y_max = KZCComponentMaximum(y_axis);
    int x_amount = AmountAt(x, width, x_max);
    int y_amount = y_max - AmountAt(y, height, y_max);
    model->SetComponent(x_axis, x_amount);
    model->SetComponent(y_axis, y_amount);
}

void KZCMapPoint(const KZCColorDialogModel& model, KZCColorComponent bar, int width, int height,
                 int* x, int* y) {
    KZCColorComponent x_axis, y_axis;
    KZCMapAxes(bar, &x_axis, &y_axis);
    int x_max = KZCComponentMaximum(x_axis), y_max = KZCComponentMaximum(y_axis);
    *x = PointOf(model.Component(x_axis), width, x_max);
    *y = PointOf(y_max - model.Component(y_axis), height, y_max);
}

void KZCSetBarPoint(KZCColorDialogModel* model, KZCColorComponent bar, int y, int height) {
    int maximum = KZCComponentMaximum(bar);
    model->SetComponent(bar, maximum - AmountAt(y, height, maximum));
}

int KZCBarPoint(const KZCColorDialogModel& model, KZCColorComponent bar, int height) {
    int maximum = KZCComponentMaximum(bar);
    return PointOf(maximum - model.Component(bar), height, maximum);
}

KZCColor KZCMapColorAt(const KZCColorDialogModel& model, KZCColorComponent bar, int x, int y,
                       int width, int height) {
    KZCColorDialogModel at = model;
    KZCSetMapPoint(&at, bar, x, y, width, height);
    return at.Color();
}

KZCColor KZCBarColorAt(const KZCColorDialogModel& model, KZCColorComponent bar, int y, int height) {
    KZCColorDialogModel at = model;
    if (bar == KZC_COMPONENT_HUE) {
        at.SetComponent(KZC_COMPONENT_SATURATION, 100);
        at.SetComponent(KZC_COMPONENT_VALUE, 100);
    }
    KZCSetBarPoint(&at, bar, y, height);
    return at.Color();
}
