#include "media/movie/vm_shape.h"

#include <new>

#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_lib.h"

namespace {

int32_t Saturate(int64_t value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < -INT32_MAX)
        return -INT32_MAX;
    return int32_t(value);
}

int32_t RoundAwayFromZero(double value) {
    double r = value < 0 ? value - 0.5 : value + 0.5;
    if (r >= 2147483647.0)
        return INT32_MAX;
    if (r <= -2147483647.0)
        return -INT32_MAX;
    return int32_t(r);
}

// Writes a group of signed values at their common width, capped at max_width; magnitudes the
// capped width cannot hold are written as its largest magnitude.
bool WriteCapped(VMBitBuffer& out, const int32_t* values, int count, int max_width, int width_bits,
                 int width_bias) {
    int width = VMSignedBitWidth(values, count);
    if (width > max_width)
        width = max_width;
    const int32_t limit = int32_t((uint32_t(1) << (width - 1)) - 1);
    bool ok = out.WriteBits(uint32_t(width - width_bias), width_bits);
    for (int i = 0; i < count; ++i) {
        int32_t v = values[i] > limit ? limit : (values[i] < -limit ? -limit : values[i]);
        ok = ok && out.WriteSignedBits(v, width);
    }
    return ok;
}

bool WriteStraight(VMBitBuffer& out, int32_t dx, int32_t dy) {
    const int32_t both[2] = {dx, dy};
    int width = VMSignedBitWidth(both, 2);
    if (width > 17)
        width = 17;
    const int32_t limit = int32_t((uint32_t(1) << (width - 1)) - 1);
    auto clamp = [limit](int32_t v) { return v > limit ? limit : (v < -limit ? -limit : v); };
    bool ok = out.WriteBits(1, 1) && out.WriteBits(1, 1) && out.WriteBits(uint32_t(width - 2), 4);
    if (dx == 0)
        return ok && out.WriteBits(0, 1) && out.WriteBits(1, 1) &&
               out.WriteSignedBits(clamp(dy), width);
    if (dy == 0)
        return ok && out.WriteBits(0, 1) && out.WriteBits(0, 1) &&
               out.WriteSignedBits(clamp(dx), width);
    return ok && out.WriteBits(1, 1) && out.WriteSignedBits(clamp(dx), width) &&
           out.WriteSignedBits(clamp(dy), width);
}

} // namespace

VMMatrix VMConvertMatrix(const float m[6]) {
    VMMatrix out;
    out.scale_x = RoundAwayFromZero(double(m[0]) * 65536.0);
    out.scale_y = RoundAwayFromZero(double(m[1]) * 65536.0);
    out.rotate_skew0 = RoundAwayFromZero(double(m[2]) * 65536.0);
    out.rotate_skew1 = RoundAwayFromZero(double(m[3]) * 65536.0);
    out.translate_x = RoundAwayFromZero(double(m[4]));
    out.translate_y = RoundAwayFromZero(double(m[5]));
    return out;
}

VMShape::VMShape() : VMChar(VM_CHAR_SHAPE) {}

VMShape::~VMShape() {
    delete encoded_;
}

bool VMShape::AddEdge(const VMShapeEdge& edge) {
    VMShapeEdge e = edge;
    e.new_path = uint8_t(new_path_pending_ != 0);
    e.fill_style0 = current_fill_style0;
    e.fill_style1 = current_fill_style1;
    e.line_style = current_line_style;
    if (!edges_.Add(e))
        return false;
    new_path_pending_ = 0;
    dirty_ = true;
    return true;
}

bool VMShape::AddLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (x0 == x1 && y0 == y1 && !keep_degenerate_edges_)
        return true;
    VMShapeEdge e;
    e.straight = 1;
    e.start_x = x0;
    e.start_y = y0;
    e.end_x = x1;
    e.end_y = y1;
    return AddEdge(e);
}

bool VMShape::AddCurve(int32_t x0, int32_t y0, int32_t control_x, int32_t control_y, int32_t x1,
                       int32_t y1) {
    VMShapeEdge e;
    e.straight = 0;
    e.start_x = x0;
    e.start_y = y0;
    e.control_x = control_x;
    e.control_y = control_y;
    e.end_x = x1;
    e.end_y = y1;
    return AddEdge(e);
}

bool VMShape::AddRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t xmin = x0 < x1 ? x0 : x1;
    int32_t xmax = Saturate(int64_t(x0 < x1 ? x1 : x0) + 1);
    int32_t ymin = y0 < y1 ? y0 : y1;
    int32_t ymax = Saturate(int64_t(y0 < y1 ? y1 : y0) + 1);
    return AddLine(xmin, ymin, xmin, ymax) && AddLine(xmin, ymax, xmax, ymax) &&
           AddLine(xmax, ymax, xmax, ymin) && AddLine(xmax, ymin, xmin, ymin);
}

bool VMShape::AddFillStyle(const VMFillStyle& style) {
    dirty_ = true;
    return fill_styles_.Add(style);
}

bool VMShape::AddLineStyle(const VMLineStyle& style) {
    dirty_ = true;
    return line_styles_.Add(style);
}

void VMShape::UpdateBounds() {
    bounds_ = VMRect();
    if (edges_.GetCount() == 0)
        return;
    int64_t xmin = edges_[0].start_x, xmax = xmin;
    int64_t ymin = edges_[0].start_y, ymax = ymin;
    auto take = [&](int32_t x, int32_t y) {
        xmin = x < xmin ? x : xmin;
        xmax = x > xmax ? x : xmax;
        ymin = y < ymin ? y : ymin;
        ymax = y > ymax ? y : ymax;
    };
    for (int i = 0; i < edges_.GetCount(); ++i) {
        const VMShapeEdge& e = edges_[i];
        take(e.start_x, e.start_y);
        take(e.end_x, e.end_y);
        if (!e.straight)
            take(e.control_x, e.control_y);
    }
    int64_t widest = 0;
    for (int i = 0; i < line_styles_.GetCount(); ++i)
        widest = line_styles_[i].width > widest ? line_styles_[i].width : widest;
    int64_t half = line_styles_.GetCount() > 0 ? (widest + 1) / 2 : 0;
    bounds_.xmin = Saturate(xmin - half);
    bounds_.xmax = Saturate(xmax + half);
    bounds_.ymin = Saturate(ymin - half);
    bounds_.ymax = Saturate(ymax + half);
}

bool VMShape::WriteColor(VMBitBuffer& out, uint8_t r, uint8_t g, uint8_t b, uint8_t a) const {
    bool ok = out.PutByte(r) && out.PutByte(g) && out.PutByte(b);
    return uses_alpha_ ? ok && out.PutByte(a) : ok;
}

bool VMShape::WriteStyles(VMBitBuffer& out, const VMLib* lib) {
    // The style counts are single bytes in this tag family.
    if (fill_styles_.GetCount() > 255 || line_styles_.GetCount() > 255)
        return false;
    for (int i = 0; i < fill_styles_.GetCount(); ++i) {
        const VMFillStyle& f = fill_styles_[i];
        if (f.type == VM_FILL_SOLID && f.a != 255)
            uses_alpha_ = true;
        if (f.type == VM_FILL_LINEAR_GRADIENT || f.type == VM_FILL_RADIAL_GRADIENT) {
            int n = f.gradient_count < 0 ? 0 : (f.gradient_count > 8 ? 8 : f.gradient_count);
            for (int k = 0; k < n; ++k)
                if (f.gradient[k].a != 255)
                    uses_alpha_ = true;
        }
    }
    for (int i = 0; i < line_styles_.GetCount(); ++i)
        if (line_styles_[i].a != 255)
            uses_alpha_ = true;

    bool ok = out.PutByte(uint8_t(fill_styles_.GetCount()));
    for (int i = 0; ok && i < fill_styles_.GetCount(); ++i) {
        const VMFillStyle& f = fill_styles_[i];
        ok = out.PutByte(f.type);
        switch (f.type) {
        case VM_FILL_SOLID:
            ok = ok && WriteColor(out, f.r, f.g, f.b, f.a);
            break;
        case VM_FILL_LINEAR_GRADIENT:
        case VM_FILL_RADIAL_GRADIENT: {
            int n = f.gradient_count < 0 ? 0 : (f.gradient_count > 8 ? 8 : f.gradient_count);
            ok = ok && out.WriteMatrix(VMConvertMatrix(f.matrix)) && out.PutByte(uint8_t(n));
            for (int k = 0; ok && k < n; ++k) {
                const VMGradientRecord& g = f.gradient[k];
                ok = out.PutByte(g.ratio) && WriteColor(out, g.r, g.g, g.b, g.a);
            }
            break;
        }
        case VM_FILL_REPEATING_BITMAP:
        case VM_FILL_CLIPPED_BITMAP: {
            const VMChar* bitmap = lib ? lib->FindBitmapForPicture(f.picture_index) : nullptr;
            ok = ok && out.PutU16(bitmap ? bitmap->CharacterId() : 0) &&
                 out.WriteMatrix(VMConvertMatrix(f.matrix));
            break;
        }
        default:
            break;
        }
    }
    ok = ok && out.PutByte(uint8_t(line_styles_.GetCount()));
    for (int i = 0; ok && i < line_styles_.GetCount(); ++i) {
        const VMLineStyle& l = line_styles_[i];
        ok = out.PutU16(uint16_t(l.width & 0xFFFF)) && WriteColor(out, l.r, l.g, l.b, l.a);
    }
    return ok;
}

bool VMShape::Encode(const VMLib* lib, bool with_styles, bool no_style_bits) {
    if (!dirty_)
        return true;
    dirty_ = false;
    UpdateBounds();
    if (!encoded_) {
        encoded_ = new (std::nothrow) VMBitBuffer;
        if (!encoded_) {
            dirty_ = true;
            return false;
        }
    } else {
        encoded_->Clear();
    }
    uses_alpha_ = false;
    VMBitBuffer& out = *encoded_;

    int fill_bits = 0, line_bits = 0;
    if (!no_style_bits) {
        uint32_t fill_max = 0, line_max = 0;
        for (int i = 0; i < edges_.GetCount(); ++i) {
            const VMShapeEdge& e = edges_[i];
            fill_max = uint32_t(e.fill_style0) > fill_max ? uint32_t(e.fill_style0) : fill_max;
            fill_max = uint32_t(e.fill_style1) > fill_max ? uint32_t(e.fill_style1) : fill_max;
            line_max = uint32_t(e.line_style) > line_max ? uint32_t(e.line_style) : line_max;
        }
        fill_bits = VMBitLength(fill_max);
        line_bits = VMBitLength(line_max);
    }

    bool ok = true;
    if (with_styles)
        ok = WriteStyles(out, lib);
    ok = ok && out.WriteBits(uint32_t(fill_bits), 4) && out.WriteBits(uint32_t(line_bits), 4);

    int32_t pen_x = 0, pen_y = 0, fill0 = 0, fill1 = 0, line = 0;
    for (int i = 0; ok && i < edges_.GetCount(); ++i) {
        const VMShapeEdge& e = edges_[i];
        if (i > 0 && e.new_path && !no_style_bits) {
            // Pen-up: lift every style and return to the origin before the next path.
            const int32_t origin[2] = {0, 0};
            ok = out.WriteBits(0, 1) && out.WriteBits(0x0F, 5) &&
                 WriteCapped(out, origin, 2, 31, 5, 0) && out.WriteBits(0, fill_bits) &&
                 out.WriteBits(0, fill_bits) && out.WriteBits(0, line_bits);
            pen_x = pen_y = fill0 = fill1 = line = 0;
        }
        bool fill0_changed = !no_style_bits && e.fill_style0 != fill0;
        bool fill1_changed = !no_style_bits && e.fill_style1 != fill1;
        bool line_changed = !no_style_bits && e.line_style != line;
        bool move = i == 0 || e.start_x != pen_x || e.start_y != pen_y;
        if (fill0_changed || fill1_changed || line_changed || move) {
            uint32_t flags = (line_changed ? 8u : 0u) | (fill1_changed ? 4u : 0u) |
                             (fill0_changed ? 2u : 0u) | (move ? 1u : 0u);
            ok = ok && out.WriteBits(0, 1) && out.WriteBits(flags, 5);
            if (move) {
                const int32_t start[2] = {e.start_x, e.start_y};
                ok = ok && WriteCapped(out, start, 2, 31, 5, 0);
                pen_x = e.start_x;
                pen_y = e.start_y;
            }
            if (fill0_changed) {
                ok = ok && out.WriteBits(uint32_t(e.fill_style0), fill_bits);
                fill0 = e.fill_style0;
            }
            if (fill1_changed) {
                ok = ok && out.WriteBits(uint32_t(e.fill_style1), fill_bits);
                fill1 = e.fill_style1;
            }
            if (line_changed) {
                ok = ok && out.WriteBits(uint32_t(e.line_style), line_bits);
                line = e.line_style;
            }
        }
        if (e.straight) {
            ok = ok && WriteStraight(out, Saturate(int64_t(e.end_x) - pen_x),
                                     Saturate(int64_t(e.end_y) - pen_y));
        } else {
            const int32_t deltas[4] = {
                Saturate(int64_t(e.control_x) - pen_x), Saturate(int64_t(e.control_y) - pen_y),
                Saturate(int64_t(e.end_x) - e.control_x), Saturate(int64_t(e.end_y) - e.control_y)};
            ok = ok && out.WriteBits(1, 1) && out.WriteBits(0, 1) &&
                 WriteCapped(out, deltas, 4, 17, 4, 2);
        }
        pen_x = e.end_x;
        pen_y = e.end_y;
    }
    ok = ok && out.WriteBits(0, 1) && out.WriteBits(0, 5) && out.AlignByte();
    if (!ok)
        dirty_ = true; // a failed encoding is redone next time
    return ok;
}
