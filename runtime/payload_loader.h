// Reading the payload behind the stub in its own program file, and writing the embedded files to
// the temporary folder "swfsaver" (removed again at exit).
#pragma once
#include "runtime/runtime_config.h"

// A config with its initial values; the temporary folder is created here. Null when out of memory.
RuntimeConfig* CreateRuntimeConfig();
// Releases the payload file and every table, then the config itself.
void FreeRuntimeConfig(RuntimeConfig* config);

// Fills the config from the payload of the file at own_path. On false the fields read so far
// stay; every reference still points into the item table.
bool LoadPayload(RuntimeConfig* config, const char* own_path);
// Writes one item under its stored bare name (or a generated "!qvr" name) and records its path.
// A failed extraction leaves no file behind.
bool ExtractItem(RuntimeConfig* config, EmbeddedItem* item);
// Every item not yet extracted, in table order; stops at the first failure.
bool ExtractAllItems(RuntimeConfig* config);
// Deletes every extracted file, then the folder when it is empty; frees the tables.
void RemoveExtractedFiles(RuntimeConfig* config);
