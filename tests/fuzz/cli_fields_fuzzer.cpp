// The FIELD=VALUE parser of `scrkit-cli project`: a refused assignment changes nothing, and an
// accepted one reads back to the same value through the field's text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "builder/cli/cli_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    std::string assignment(reinterpret_cast<const char*>(data), size);
    assignment = assignment.c_str(); // the command line holds no NUL
    FCDocumentFields fields;
    std::string error;
    bool applied = CliApplyAssignment(fields, assignment.c_str(), &error);
    std::string::size_type eq = assignment.find('=');
    if (!applied) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    const FCField* field = FCFindField(assignment.substr(0, eq).c_str());
    if (!field)
        __builtin_trap();
    std::string text = CliFieldText(fields, *field);
    CliFieldJson(fields, *field);
    FCDocumentFields again;
    if (!CliApplyAssignment(again, (field->name + ("=" + text)).c_str(), &error) ||
        CliFieldText(again, *field) != text)
        __builtin_trap();
    return 0;
}
