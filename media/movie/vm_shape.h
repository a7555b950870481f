// A shape character: edges with their fill and line styles, encoded into the SHAPEWITHSTYLE
// bytes of a DefineShape tag.
#pragma once

#include <cstdint>

#include "media/base/kz_array.h"
#include "media/movie/vm_bit_buffer.h"
#include "media/movie/vm_char.h"

class VMLib;

struct VMShapeEdge {
    uint8_t straight = 1; // 1 straight line, 0 quadratic curve
    uint8_t new_path = 0;
    int32_t start_x = 0;
    int32_t start_y = 0;
    int32_t end_x = 0;
    int32_t end_y = 0;
    int32_t control_x = 0;
    int32_t control_y = 0;
    int32_t fill_style0 = 0; // 1-based style indices, 0 means none
    int32_t fill_style1 = 0;
    int32_t line_style = 0;
};

enum VMFillType {
    VM_FILL_SOLID = 0x00,
    VM_FILL_LINEAR_GRADIENT = 0x10,
    VM_FILL_RADIAL_GRADIENT = 0x12,
    VM_FILL_REPEATING_BITMAP = 0x40,
    VM_FILL_CLIPPED_BITMAP = 0x41,
};

struct VMGradientRecord {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
    uint8_t ratio = 0;
};

struct VMFillStyle {
    uint8_t type = VM_FILL_SOLID;
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
    int32_t gradient_count = 0; // at most 8
    VMGradientRecord gradient[8];
    int32_t picture_index = 0; // bitmap fills: index into the library's picture table
    // scale x, scale y, rotate-skew 0, rotate-skew 1 (units), translate x, translate y (twips)
    float matrix[6] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
};

struct VMLineStyle {
    int32_t width = 20; // twips
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

// Float matrix of a fill style to the file's fixed-point matrix (rounded half away from zero).
VMMatrix VMConvertMatrix(const float matrix[6]);

class VMShape : public VMChar {
public:
    VMShape();
    ~VMShape() override;
    bool IsEmpty() const override { return edges_.GetCount() == 0; }

    // Edges take the current styles and the pending new-path flag. A line whose start equals its
    // end is skipped unless degenerate edges are kept. False when the edge array cannot grow.
    bool AddLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    bool AddCurve(int32_t x0, int32_t y0, int32_t control_x, int32_t control_y, int32_t x1,
                  int32_t y1);
    // The far corner is extended by one unit on each axis; up to four lines.
    bool AddRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void UpdateBounds();
    // Encodes the shape once after each edit. lib resolves bitmap fills (may be null).
    bool Encode(const VMLib* lib, bool with_styles, bool no_style_bits);

    bool AddFillStyle(const VMFillStyle& style);
    bool AddLineStyle(const VMLineStyle& style);
    int FillStyleCount() const { return fill_styles_.GetCount(); }
    int LineStyleCount() const { return line_styles_.GetCount(); }
    VMFillStyle& FillStyle(int i) { return fill_styles_[i]; }
    VMLineStyle& LineStyle(int i) { return line_styles_[i]; }
    int EdgeCount() const { return edges_.GetCount(); }
    const VMShapeEdge& Edge(int i) const { return edges_[i]; }

    // The current styles (1-based indices, 0 none) are set directly by the caller.
    int32_t current_fill_style0 = 0;
    int32_t current_fill_style1 = 0;
    int32_t current_line_style = 0;

    void StartNewPath() { new_path_pending_ = 1; }
    void MarkDirty() { dirty_ = true; }
    bool IsDirty() const { return dirty_; }
    void SetKeepDegenerateEdges(bool keep) { keep_degenerate_edges_ = keep; }

    // xmin, xmax, ymin, ymax in twips, as UpdateBounds left them.
    const VMRect& Bounds() const { return bounds_; }
    bool UsesAlpha() const { return uses_alpha_; }
    // The encoded bytes; null before the first encoding.
    const VMBitBuffer* Encoded() const { return encoded_; }

private:
    bool AddEdge(const VMShapeEdge& edge);
    bool WriteStyles(VMBitBuffer& out, const VMLib* lib);
    bool WriteColor(VMBitBuffer& out, uint8_t r, uint8_t g, uint8_t b, uint8_t a) const;

    VMRect bounds_;
    KZTArray<VMShapeEdge> edges_;
    KZTArray<VMFillStyle> fill_styles_;
    KZTArray<VMLineStyle> line_styles_;
    int32_t new_path_pending_ = 1;
    VMBitBuffer* encoded_ = nullptr;
    bool uses_alpha_ = false;
    bool dirty_ = true;
    bool keep_degenerate_edges_ = false;
};
