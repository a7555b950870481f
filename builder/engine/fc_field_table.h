// The document's stored fields, described once: name, kind, member, default and the record
// version that brought the field, in the order of the project file's record. Copying, defaults,
// the project file, scrkit-cli's project command and the wizard's pages all go through it, so a
// field added here is read, written, defaulted, shown and settable everywhere.
#pragma once

#include <cstdint>

#include "builder/engine/fc_document.h"

enum FCFieldKind {
    FC_FIELD_STRING,
    FC_FIELD_PATH, // a string naming a file: relocated when a moved project is opened
    FC_FIELD_BOOL,
    FC_FIELD_INT,
    FC_FIELD_COLOR,
    FC_FIELD_LIST // file paths, relocated like FC_FIELD_PATH
};

struct FCField {
    const char* name;
    FCFieldKind kind;
    // The record version that brought the field; older records leave it at its default.
    int32_t since;

    // The member, by kind (strings and paths in `text`); the others are null.
    KZString FCDocumentFields::*text;
    bool FCDocumentFields::*flag;
    int32_t FCDocumentFields::*number;
    FCColor FCDocumentFields::*color;
    FCStringList FCDocumentFields::*list;

    // The default: `default_text`, or when `make_default` is set the text it makes from the
    // fields before this one; `default_flag`; `default_number`. Colours default to opaque
    // black, lists to empty.
    const char* default_text;
    KZString (*make_default)(const FCDocumentFields& fields);
    bool default_flag;
    int32_t default_number;
    // The values a number may take, both included; a value outside them is refused where the
    // author sets it (the reader keeps its own rules for old files).
    int32_t min_number;
    int32_t max_number;

    // When set: runs once the field has been read, or found missing from an older record.
    void (*after_read)(FCDocumentFields& fields, int32_t record_version);

    bool in_range(int32_t v) const { return v >= min_number && v <= max_number; }
    bool is_text() const { return kind == FC_FIELD_STRING || kind == FC_FIELD_PATH; }
    KZString& text_of(FCDocumentFields& d) const { return d.*text; }
    const KZString& text_of(const FCDocumentFields& d) const { return d.*text; }
    bool& flag_of(FCDocumentFields& d) const { return d.*flag; }
    bool flag_of(const FCDocumentFields& d) const { return d.*flag; }
    int32_t& number_of(FCDocumentFields& d) const { return d.*number; }
    int32_t number_of(const FCDocumentFields& d) const { return d.*number; }
    FCColor& color_of(FCDocumentFields& d) const { return d.*color; }
    const FCColor& color_of(const FCDocumentFields& d) const { return d.*color; }
    FCStringList& list_of(FCDocumentFields& d) const { return d.*list; }
    const FCStringList& list_of(const FCDocumentFields& d) const { return d.*list; }
};

// Every stored field in record order.
const FCField* FCFields(int* count);
// The field of that document name; null when there is none.
const FCField* FCFindField(const char* name);

// One field's value from `from` into `to`; false when memory ran out (lists).
bool FCCopyField(const FCField& field, FCDocumentFields& to, const FCDocumentFields& from);
bool FCFieldEquals(const FCField& field, const FCDocumentFields& a, const FCDocumentFields& b);
// The field to its default; texts made from other fields see those fields as they are now.
void FCSetFieldDefault(const FCField& field, FCDocumentFields& fields);
