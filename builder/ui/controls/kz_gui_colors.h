// The shared colours derived from the system's: the light face (each channel x 35/32, 255 from
// 235 up) and the half-highlight blend (integer mean of face and highlight). Colours are Windows
// colour values, red + green x 256 + blue x 65536.
#pragma once

#include <cstdint>

uint32_t KZLightFaceColor(uint32_t face);
uint32_t KZHalfHighlightColor(uint32_t face, uint32_t highlight);
