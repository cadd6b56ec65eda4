// Fuzz target: the RIFF walker keeps every chunk it reports inside the bytes it was given.
#include "fuzz_file.h"
#include "media/dxsfx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const void* format = nullptr;
    const BYTE* samples = nullptr;
    DWORD length = 0;
    if (ParseWave(data, static_cast<DWORD>(size), &format, &samples, &length)) {
        const auto* end = data + size;
        if (samples < data || samples + length > end ||
            static_cast<const std::uint8_t*>(format) + 14 > end) {
            FuzzFault("a chunk reported outside the bytes given");
        }
    }
    return 0;
}
