#pragma once
// Minimal PNG encoder: 8-bit RGB, deflate in stored blocks, no library needed.
#include <cstddef>
#include <cstdint>
#include <vector>

uint32_t pngCrc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t pngAdler32(const uint8_t* data, size_t size);

// `pixels` are rows top-down of 0x00rrggbb values, as a 32-bit bitmap holds them.
std::vector<uint8_t> encodePng(const uint32_t* pixels, uint32_t width, uint32_t height);
