#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace tessafold::testing {

using Bytes = std::vector<uint8_t>;

// A new empty folder under the system's temp folder, removed with everything
// in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("tessafold-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path Path(const std::string& name) const { return path_ / name; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Overwrites bytes in the middle of an existing file.
inline void WriteBytesAt(const std::filesystem::path& path, int64_t offset, const Bytes& bytes) {
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(offset);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytesAt(const std::filesystem::path& path, int64_t offset, size_t count) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(offset);
  Bytes bytes(count);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// Bytes that cover every value, in an order that is not a simple ramp.
inline Bytes SampleBytes(size_t count, uint32_t seed = 7) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i < 256 ? i : random());
  return bytes;
}

// Each byte plus `shift`, modulo 256.
inline Bytes Shifted(Bytes bytes, int shift) {
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(b + shift);
  return bytes;
}

}  // namespace tessafold::testing
