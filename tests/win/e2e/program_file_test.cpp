// What tessafold.exe carries besides its code: the icon, the version and the
// application manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "tessafold_version.h"

namespace {

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colorCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

class ProgramFile : public testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::vector<BYTE> Resource(const wchar_t* name, const wchar_t* type) const {
    const HRSRC found = FindResourceW(module_, name, type);
    if (!found) return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    return std::vector<BYTE>(bytes, bytes + SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

// The low-colour images, then true colour at every size that 100 % to 200 %
// scaling asks for.
TEST_F(ProgramFile, IconHoldsTheThirteenBitmapImagesInTheirOrder) {
  const std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
  ASSERT_EQ(count, 13);
  ASSERT_EQ(group.size(), 6u + count * sizeof(GroupEntry));
  const auto* entries = reinterpret_cast<const GroupEntry*>(group.data() + 6);
  const struct {
    int size, depth, colors;
  } expected[] = {{32, 1, 2},   {48, 4, 16},  {48, 8, 0},  {32, 8, 0},  {16, 8, 0},  {256, 32, 0}, {64, 32, 0},
                  {48, 32, 0},  {40, 32, 0},  {32, 32, 0}, {24, 32, 0}, {20, 32, 0}, {16, 32, 0}};
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE("image " + std::to_string(i + 1));
    EXPECT_EQ(entries[i].width, expected[i].size % 256) << "0 stands for 256";
    EXPECT_EQ(entries[i].height, expected[i].size % 256);
    EXPECT_EQ(entries[i].bitCount, expected[i].depth);
    EXPECT_EQ(entries[i].colorCount, expected[i].colors);
    const std::vector<BYTE> image = Resource(MAKEINTRESOURCEW(entries[i].id), RT_ICON);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << "stored as a bitmap, not PNG";
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header->biWidth, expected[i].size);
    EXPECT_EQ(header->biHeight, 2 * expected[i].size) << "colour image and mask";
    EXPECT_EQ(header->biBitCount, expected[i].depth);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
  }
}

TEST_F(ProgramFile, CarriesItsVersion) {
  const std::wstring path = e2e::ProgramPath();
  DWORD ignored = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  // The project's version, which also names the release archives.
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{TESSAFOLD_VERSION_MAJOR} << 16 | TESSAFOLD_VERSION_MINOR);
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD{TESSAFOLD_VERSION_PATCH} << 16);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  const auto text = [&](const wchar_t* key) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    return VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ? std::wstring(value) : L"";
  };
  EXPECT_EQ(text(L"OriginalFilename"), L"tessafold.exe");
  EXPECT_EQ(text(L"FileVersion"), e2e::Widen(TESSAFOLD_VERSION_TEXT));
  EXPECT_EQ(text(L"ProductVersion"), e2e::Widen(TESSAFOLD_VERSION_TEXT));
}

// Without a manifest Windows starts the program with UAC file virtualisation,
// and a write refused in a protected folder would land in the VirtualStore
// while the job reports success; without supportedOS entries it gets the
// behaviour of an older Windows; without the DPI entries it is stretched as a
// blurred bitmap; without common controls 6 its controls are unthemed.
TEST_F(ProgramFile, ItsManifestRunsItAsTheInvokerOnWindows7To11DpiAwareWithThemedControls) {
  const std::vector<BYTE> manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_FALSE(manifest.empty()) << "no application manifest";

  // Read as Windows reads it when it starts the program.
  const std::wstring path = e2e::ProgramPath();
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest is not accepted: " << GetLastError();
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
  const BOOL queried = QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                                    sizeof level, nullptr);
  const auto setting = [&](const wchar_t* schema, const wchar_t* name) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    return QueryActCtxSettingsW(0, context, schema, name, value, 64, &written) ? std::wstring(value) : L"(none)";
  };
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"), L"PerMonitorV2, System");
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
  ReleaseActCtx(context);
  ASSERT_TRUE(queried);
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(level.UiAccess, 0u);

  const std::string text(manifest.begin(), manifest.end());
  const std::regex supportedOs(R"re(<supportedOS\s+Id="(\{[^"]*\})"\s*/>)re");
  std::vector<std::string> ids;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), supportedOs); it != std::sregex_iterator(); ++it) {
    ids.push_back((*it)[1]);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_TRUE(std::regex_search(text, std::regex(R"re(<dependentAssembly>\s*<assemblyIdentity\s+type="win32"\s+)re"
                                                 R"re(name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"\s)re")))
      << "common controls version 6";
  EXPECT_EQ(ids, (std::vector<std::string>{
                     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
                     "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
                     "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
                     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
                 }));
}

}  // namespace
