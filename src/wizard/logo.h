#pragma once
// The logo shown in every page header: a complete .bmp file image, 49 x 57 pixels,
// 24 bits per pixel, uncompressed, rows bottom-up, 2835 pixels per metre.
#include <cstdint>
#include <span>

std::span<const std::uint8_t> LogoBitmap();
