// The project's fields by their document names (the engine's field table), for `scrkit-cli
// project`: reading values from FIELD=VALUE arguments and writing them out as text or JSON.
#pragma once

#include <string>

#include "builder/engine/fc_field_table.h"

// Applies one FIELD=VALUE to `fields`: booleans true/false, integers in decimal, colours #RRGGBB
// (alpha 1), lists ';'-separated (an empty value is an empty list), strings as given. On failure
// `error` says why and `fields` is unchanged.
bool CliApplyAssignment(FCDocumentFields& fields, const char* assignment, std::string* error);

// The value as the command line writes it (the inverse of CliApplyAssignment), and as JSON.
std::string CliFieldText(const FCDocumentFields& fields, const FCField& field);
std::string CliFieldJson(const FCDocumentFields& fields, const FCField& field);
