// The file a save or a build writes beside its destination before moving it into place.
#pragma once

#include "media/base/kz_file.h"
#include "media/base/kz_string.h"

// Creates a new file beside `path`: path + suffix (".partial", ".saving"), or when that name is
// taken, path + ".2" + suffix, ".3" and so on. A file already there, the leftover of an earlier
// crash or someone else's, is never truncated or removed. Null when no name could be created;
// `name` receives the one created.
KZFile FCCreateFileBeside(const char* path, const char* suffix, KZString* name);
