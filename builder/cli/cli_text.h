// Text at the terminal's edge: the document holds ANSI (Windows-1252 on POSIX) bytes, payloads
// hold UTF-16; a POSIX terminal speaks UTF-8. On Windows the console takes ANSI as it is. The
// first five functions are the platform's (cli_text_posix.cpp, cli_text_win32.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "media/base/kz_string.h"

// Command-line bytes to document text. False when the text has a character ANSI lacks.
bool CliArgumentToAnsi(const char* argument, KZString& out);
// Document text to terminal bytes.
std::string CliAnsiToTerminal(const char* ansi);
// UTF-16 (from a payload) to terminal bytes.
std::string CliUtf16ToTerminal(const uint16_t* units, size_t count);
// The system's name of a temporary folder that the engine cannot name (POSIX: $TMPDIR with a
// character outside the code page); empty when there is none such.
std::string CliUnnamedTempFolder();
// Likewise the folder of the program itself, whose sample the project defaults point at.
std::string CliUnnamedProgramFolder();
// A JSON string literal with its quotes, of terminal text.
std::string CliJsonString(const std::string& text);
// A Windows colour value (0x00BBGGRR) as #RRGGBB.
std::string CliColorRefText(uint32_t value);
