// The project file (.kpj): two magics, the file version, one chunk holding the document record.
// Reading and writing the record are kept apart from the file handling so that tests and
// scrkit-cli can work on bytes in memory.
#pragma once

#include <cstdint>

#include "builder/engine/fc_document.h"
#include "media/base/kz_stream.h"

enum : uint32_t {
    FC_KPJ_MAGIC1 = 0x54864146u,
    FC_KPJ_MAGIC2 = 0x48921245u,
    FC_KPJ_FILE_VERSION = 2,   // written; 1 and 2 are read
    FC_KPJ_CHUNK_ID = 1,       // written; not checked on reading
    FC_KPJ_RECORD_VERSION = 5, // written; 1 to 5 are read
};

// Limits of what a reader trusts.
enum {
    FC_KPJ_MAX_STRING = 10000000, // a string length from this up is refused
    FC_KPJ_MAX_LIST = 1000,       // a list count above this (or below 0) reads as an empty list
};

// True when every list and string fits what the reader takes (FC_KPJ_MAX_LIST entries, strings
// under FC_KPJ_MAX_STRING bytes): a file written past them would read back without its list, or
// not at all. Otherwise `why`, when not null, names the field and the limit.
bool FCFitsProjectFile(const FCDocumentFields& fields, KZString* why);

// Serialises the whole project file (header, chunk and record) into `out`; false, with nothing
// written, for fields the reader would not take back (FCFitsProjectFile).
bool FCWriteProjectFile(const FCDocumentFields& fields, KZStream& out);

// Reads a whole project file from memory into `fields` (which the caller has set to defaults).
// `relocate`, when not null, is applied to every file path as soon as it is read. Returns an
// FCLoadResult; on a failure `fields` may hold a partial read and should be dropped.
int FCReadProjectFile(const uint8_t* data, int size, FCDocumentFields& fields,
                      const FCDocument* relocate);

// setup_language as a project opens with it: 1 to 7 or 11.
int32_t FCNormaliseSetupLanguage(int32_t stored);

// Reads the movie's own background colour into `color`; false (unchanged) when it cannot be read.
bool FCReadMovieBackgroundColor(const char* movie_path, FCColor& color);
