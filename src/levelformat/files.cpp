// Reading and writing whole files, in binary mode so that line ends stay as they are.
#include "levelformat/files.h"

#include <fstream>
#include <vector>

namespace levelformat {
namespace {

// Read in large blocks: a character at a time through a stream iterator is many times slower.
template <typename Container>
std::optional<Container> ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Container contents;
    std::vector<char> block(64 * 1024);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        contents.insert(contents.end(), block.begin(), block.begin() + in.gcount());
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return contents;
}

bool WriteWhole(const std::filesystem::path& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}

}  // namespace

std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path) {
    return ReadWhole<Bytes>(path);
}

std::optional<std::string> ReadFileText(const std::filesystem::path& path) {
    return ReadWhole<std::string>(path);
}

bool WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    return WriteWhole(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool WriteFileText(const std::filesystem::path& path, std::string_view text) {
    return WriteWhole(path, text.data(), text.size());
}

}  // namespace levelformat
