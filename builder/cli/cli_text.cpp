#include "builder/cli/cli_text.h"

#include <cstdio>

std::string CliJsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

std::string CliColorRefText(uint32_t value) {
    char buffer[8];
    snprintf(buffer, sizeof buffer, "#%02X%02X%02X", unsigned(value & 0xFF),
             unsigned((value >> 8) & 0xFF), unsigned((value >> 16) & 0xFF));
    return buffer;
}
