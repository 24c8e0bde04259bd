#pragma once
// Test files in scratch folders, for every test of the suite: the native
// tests, the Windows layer under Wine and the tests that drive the program.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/files/byte_buffer.h"

namespace tessafold::testing {

using Bytes = std::vector<uint8_t>;

// A new empty folder "tessafold-NAME-N" under the system's temp folder; empty
// when none could be made.
inline std::filesystem::path MakeScratchFolder(const std::filesystem::path& name = "files") {
  std::random_device seed;
  for (;;) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessafold-";
    folder += name;
    folder += "-" + std::to_string(seed());
    std::error_code error;
    if (std::filesystem::create_directories(folder, error)) return folder;
    if (error) return {};
  }
}

// Deletes the folder with everything in it, read-only files included (which
// Windows would otherwise keep).
inline void RemoveScratchFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(folder, ignored);
}

// A scratch folder that lives as long as the object.
class ScratchFolder {
 public:
  ScratchFolder() : root_(MakeScratchFolder()) {}
  ~ScratchFolder() { RemoveScratchFolder(root_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // A path in the folder from a UTF-8 name; Chinese names stay intact on Windows.
  std::filesystem::path Path(std::string_view utf8Name) const {
    return root_ / std::u8string(utf8Name.begin(), utf8Name.end());
  }

 private:
  std::filesystem::path root_;
};

// The UTF-8 text of a path, as the file primitives take it.
inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Everything the folder holds, by UTF-8 name, sorted: shows a leftover
// temporary file as well as a file that should not have been created.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(Utf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}
inline std::vector<std::string> NamesIn(const ScratchFolder& folder) { return NamesIn(folder.Root()); }

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

// A sparse file of `size` zero bytes with `mark` written across 2^31 and 2^32
// where the file reaches past them, and at its very end: sizes and offsets
// must wrap nowhere. False when the file system cannot hold it.
class MarkedFile {
 public:
  MarkedFile(std::filesystem::path path, int64_t size, Bytes mark)
      : path_(std::move(path)), size_(size), mark_(std::move(mark)) {
    const int64_t half = static_cast<int64_t>(mark_.size() / 2), end = size_ - static_cast<int64_t>(mark_.size());
    for (int64_t boundary : {int64_t{1} << 31, int64_t{1} << 32}) {
      if (boundary + half <= end) offsets_.push_back(boundary - half);
    }
    offsets_.push_back(end);
  }

  bool Make() const {
    WriteBytes(path_, {});
    std::error_code error;
    std::filesystem::resize_file(path_, static_cast<uint64_t>(size_), error);
    for (int64_t offset : offsets_) WriteBytesAt(path_, offset, mark_);
    return !error;
  }

  // Each mark, and the zero bytes just before it, raised by `shift`, in a
  // file of the same size.
  bool Holds(uint8_t shift) const {
    Bytes expected = Shifted(Bytes(4, 0), shift);
    const Bytes mark = Shifted(mark_, shift);
    expected.insert(expected.end(), mark.begin(), mark.end());
    std::error_code error;
    if (std::filesystem::file_size(path_, error) != static_cast<uint64_t>(size_)) return false;
    return std::all_of(offsets_.begin(), offsets_.end(),
                       [&](int64_t offset) { return ReadBytesAt(path_, offset - 4, expected.size()) == expected; });
  }

 private:
  std::filesystem::path path_;
  int64_t size_;
  Bytes mark_;
  std::vector<int64_t> offsets_;
};

// No write permission: the read-only attribute on Windows, no write bit here.
inline void MakeReadOnly(const std::filesystem::path& path) {
  using std::filesystem::perms;
  std::filesystem::permissions(path, perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
}

inline ByteBuffer BufferOf(const Bytes& bytes) {
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(buffer.Data(), bytes.data(), bytes.size());
  return buffer;
}

inline Bytes BytesOf(const ByteBuffer& buffer) {
  return Bytes(buffer.Data(), buffer.Data() + buffer.Length());
}

}  // namespace tessafold::testing
