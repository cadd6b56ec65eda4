// Fuzz target: the JPEG and BMP decoders return control for any bytes, never abort.
#include "platform/api/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    platform::Bitmap24 picture;
    platform::DecodeJpeg(bytes, picture);
    platform::DecodeBmp(bytes, picture);
    return 0;
}
