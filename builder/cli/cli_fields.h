// The project's fields by their document names, for `scrkit-cli project`: reading values from
// FIELD=VALUE arguments and writing them out as text or JSON.
#pragma once

#include <string>

#include "builder/engine/fc_document.h"

enum CliFieldKind {
    CLI_FIELD_STRING,
    CLI_FIELD_BOOL,
    CLI_FIELD_INT,
    CLI_FIELD_COLOR,
    CLI_FIELD_LIST
};

struct CliField {
    const char* name;
    CliFieldKind kind;
    KZString FCDocumentFields::*string_member;
    bool FCDocumentFields::*bool_member;
    int32_t FCDocumentFields::*int_member;
    FCColor FCDocumentFields::*color_member;
    FCStringList FCDocumentFields::*list_member;
};

// Every stored field, in the document's order.
const CliField* CliFields(int* count);
const CliField* CliFindField(const char* name);

// Applies one FIELD=VALUE to `fields`: booleans true/false, integers in decimal, colours #RRGGBB
// (alpha 1), lists ';'-separated (an empty value is an empty list), strings as given. On failure
// `error` says why and `fields` is unchanged.
bool CliApplyAssignment(FCDocumentFields& fields, const char* assignment, std::string* error);

// The value as the command line writes it (the inverse of CliApplyAssignment), and as JSON.
std::string CliFieldText(const FCDocumentFields& fields, const CliField& field);
std::string CliFieldJson(const FCDocumentFields& fields, const CliField& field);
