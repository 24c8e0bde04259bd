#pragma once
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/byte_buffer.h"
#include "native/scratch_folder.h"

namespace tessafold::testing {

// The UTF-8 text of a path, as the file primitives take it.
inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The folder itself ("folder/" without its empty last part).
inline std::filesystem::path Root(const ScratchFolder& folder) { return folder.Path("").parent_path(); }

// A path in the folder from a UTF-8 name; Chinese names stay intact on Windows.
inline std::filesystem::path Child(const ScratchFolder& folder, std::string_view utf8Name) {
  return Root(folder) / std::u8string(utf8Name.begin(), utf8Name.end());
}

// Everything the folder holds, by UTF-8 name, sorted: shows a leftover
// temporary file as well as a file that should not have been created.
inline std::vector<std::string> NamesIn(const ScratchFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Root(folder))) {
    names.push_back(Utf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// No write permission: the read-only attribute on Windows, no write bit here.
inline void MakeReadOnly(const std::filesystem::path& path) {
  using std::filesystem::perms;
  std::filesystem::permissions(path, perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
}

inline void MakeWritable(const std::filesystem::path& path) {
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
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
