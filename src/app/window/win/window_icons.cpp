#include "app/window/win/window_icons.h"

#include <vector>

#include "app/window/icon_picker.h"
#include "app/window/win/resource_ids.h"

namespace tessafold {

namespace {

#pragma pack(push, 2)
// The icon group resource: a header and one entry per image.
struct GroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupEntry {
  BYTE width;
  BYTE height;
  BYTE colorCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::span<const BYTE> ResourceBytes(const wchar_t* name, const wchar_t* type) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, name, type);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return {};
  return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

}  // namespace

IconHandle LoadWindowIcon(int width) {
  const std::span<const BYTE> group = ResourceBytes(MAKEINTRESOURCEW(TESSAFOLD_ICON), RT_GROUP_ICON);
  if (group.size() < sizeof(GroupHeader)) return nullptr;
  const auto* header = reinterpret_cast<const GroupHeader*>(group.data());
  if (group.size() < sizeof(GroupHeader) + header->count * sizeof(GroupEntry) || header->count == 0) return nullptr;
  const auto* entries = reinterpret_cast<const GroupEntry*>(group.data() + sizeof(GroupHeader));

  std::vector<IconDirectoryEntry> directory;
  for (WORD i = 0; i < header->count; ++i) {
    directory.push_back({entries[i].width == 0 ? 256 : entries[i].width, entries[i].colorCount, entries[i].bitCount});
  }
  const GroupEntry& chosen = entries[PickIconEntry(directory, width)];
  const std::span<const BYTE> image = ResourceBytes(MAKEINTRESOURCEW(chosen.id), RT_ICON);
  if (image.empty()) return nullptr;
  return IconHandle(CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                             TRUE, 0x00030000, width, width, LR_DEFAULTCOLOR));
}

}  // namespace tessafold
