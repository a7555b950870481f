/* The registry key under HKEY_CURRENT_USER in which a screensaver keeps its "Sound" and "Quality".
 * The stub stores there and the builder's test actions reset it, so both name it through this. */
#ifndef QVRK_STORED_SETTINGS_KEY_H
#define QVRK_STORED_SETTINGS_KEY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* "Software\TarvoSavers\<company>\<name>", or "Software\TarvoSavers\<name>" when company is
 * empty; an empty name stands for "Tarvo Screensaver". Writes at most capacity - 1 characters and
 * a terminating zero (out may be null when capacity is 0) and returns the key's whole length, so
 * that a caller can size its buffer. */
uint32_t qvrk_stored_settings_key(const char* company, const char* name, char* out,
                                  uint32_t capacity);

#ifdef __cplusplus
}
#endif

#endif
