// Writes pictures as PNG (8-bit RGB) or BMP (24-bit) files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvdriver {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first, 3 bytes per pixel
};

// By the file's extension (.png or .bmp). False when it cannot be written.
bool WritePicture(const std::wstring& path, const Picture& picture);

}  // namespace qvdriver
