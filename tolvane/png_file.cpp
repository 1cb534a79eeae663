#include "tolvane/png_file.h"

#include <cstdio>
#include <vector>

// The encoder is stb_image_write (Debian's libstb-dev), compiled here alone.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

const int kMaxSide = 16384;

void append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<unsigned char>*>(context);
  const auto* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

bool fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

}  // namespace

bool writePngFile(const std::string& path, const uint32_t* pixels, int width, int height,
                  std::string* error) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
    return fail(error, "no picture of that size");
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<unsigned char> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    rgb[3 * i] = static_cast<unsigned char>(pixels[i] >> 16);
    rgb[3 * i + 1] = static_cast<unsigned char>(pixels[i] >> 8);
    rgb[3 * i + 2] = static_cast<unsigned char>(pixels[i]);
  }
  std::vector<unsigned char> png;
  if (!stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), width * 3))
    return fail(error, "cannot encode the picture");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail(error, "cannot create " + path);
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  if (std::fclose(file) != 0 || !written) return fail(error, "cannot write " + path);
  return true;
}
