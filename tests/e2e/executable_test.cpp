// The built executable itself: its resources, version record, manifest,
// headers and imports, read from the file as Windows reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/driver.h"

namespace pinvale::e2e {
namespace {

class ExecutableTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExW(ExecutablePath().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (FILE* file = _wfopen(ExecutablePath().c_str(), L"rb")) {
      char chunk[4096];
      for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        image_.insert(image_.end(), chunk, chunk + read);
      }
      std::fclose(file);
    }
  }
  static void TearDownTestSuite() { FreeLibrary(module_); }

  static std::string Resource(const wchar_t* type, const wchar_t* name) {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return {data, SizeofResource(module_, found)};
  }

  template <typename T>
  static T At(std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= image_.size())
      std::copy_n(image_.data() + offset, sizeof(T), reinterpret_cast<char*>(&value));
    return value;
  }

  static std::size_t HeadersAt() { return static_cast<std::size_t>(At<IMAGE_DOS_HEADER>(0).e_lfanew); }
  static IMAGE_NT_HEADERS32 Headers() { return At<IMAGE_NT_HEADERS32>(HeadersAt()); }

  // The file offset of a relative virtual address.
  static std::size_t FileOffset(DWORD rva) {
    const auto headers = Headers();
    const std::size_t sectionsAt =
        HeadersAt() + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + headers.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < headers.FileHeader.NumberOfSections; ++i) {
      const auto section = At<IMAGE_SECTION_HEADER>(sectionsAt + i * sizeof(IMAGE_SECTION_HEADER));
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return image_.size();
  }

  static HMODULE module_;
  static std::vector<char> image_;
};
HMODULE ExecutableTest::module_ = nullptr;
std::vector<char> ExecutableTest::image_;

#pragma pack(push, 2)
struct IconGroupEntry {  // GRPICONDIRENTRY
  BYTE width;
  BYTE height;
  BYTE colorCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInResource;
  WORD id;
};
#pragma pack(pop)

struct IconImage {
  int size;
  int bits;
  bool operator<(const IconImage& other) const {
    return std::tie(size, bits) < std::tie(other.size, other.bits);
  }
  bool operator==(const IconImage&) const = default;
};

// The group's entries, as many as its count says and its size holds.
std::vector<IconGroupEntry> IconEntries(const std::string& group) {
  const std::size_t held = group.size() < 6 ? 0 : (group.size() - 6) / sizeof(IconGroupEntry);
  std::vector<IconGroupEntry> entries(
      held == 0 ? 0 : std::min<std::size_t>(held, *reinterpret_cast<const WORD*>(group.data() + 4)));
  std::copy_n(group.data() + 6, entries.size() * sizeof(IconGroupEntry),
              reinterpret_cast<char*>(entries.data()));
  return entries;
}

int Size(const IconGroupEntry& entry) { return entry.width == 0 ? 256 : entry.width; }

std::multiset<IconImage> IconImages(const std::string& group) {
  std::multiset<IconImage> images;
  for (const IconGroupEntry& entry : IconEntries(group)) images.insert({Size(entry), entry.bitCount});
  return images;
}

TEST_F(ExecutableTest, IsAThirtyTwoBitGuiProgramWithAslrAndDep) {
  ASSERT_NE(module_, nullptr);
  const auto headers = Headers();
  EXPECT_EQ(headers.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
  EXPECT_EQ(headers.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(headers.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(headers.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_TRUE(headers.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "no ASLR";
  EXPECT_TRUE(headers.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "no DEP";
}

TEST_F(ExecutableTest, ImportsOnlyWindowsOwnDlls) {
  const std::set<std::string> windowsDlls = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                             "comctl32.dll", "msvcrt.dll", "advapi32.dll"};
  const auto directory = Headers().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  ASSERT_NE(directory.VirtualAddress, 0u);
  std::set<std::string> imported;
  for (std::size_t at = FileOffset(directory.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(at);
    if (descriptor.Name == 0) break;
    std::string name(image_.data() + FileOffset(descriptor.Name));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    imported.insert(name);
  }
  std::string list;
  for (const auto& name : imported) list += name + " ";
  std::printf("imports: %s\n", list.c_str());
  for (const auto& name : imported) EXPECT_TRUE(windowsDlls.count(name)) << name << " is not part of Windows";
  EXPECT_TRUE(imported.count("user32.dll"));
}

BOOL CALLBACK KeepLowestId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR lowest) {
  if (IS_INTRESOURCE(name)) {
    auto* lowestId = reinterpret_cast<WORD*>(lowest);
    *lowestId = std::min(*lowestId, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
  }
  return TRUE;
}

TEST_F(ExecutableTest, IconGroupsHoldTheListedImages) {
  const std::multiset<IconImage> app = {{32, 1},   {48, 4},  {48, 8},  {32, 8}, {16, 8},
                                        {128, 32}, {48, 32}, {32, 32}, {16, 32}};
  const std::multiset<IconImage> button = {{128, 32}, {64, 32}, {48, 32}, {32, 32}, {16, 32}};
  EXPECT_TRUE(IconImages(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1))) == app) << "AppIcon";
  EXPECT_TRUE(IconImages(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(2))) == button) << "StartPicture";
  EXPECT_TRUE(IconImages(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(3))) == button) << "PausePicture";

  // Every image decodes at its own size, bitmap or PNG, as LoadImageW decodes the one it picks.
  for (int group = 1; group <= 3; ++group) {
    for (const IconGroupEntry& entry : IconEntries(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(group)))) {
      std::string image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
      const int size = Size(entry);
      HICON icon =
          CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                   TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
      ICONINFO info{};
      BITMAP mask{};
      if (icon != nullptr && GetIconInfo(icon, &info)) GetObjectW(info.hbmMask, sizeof mask, &mask);
      EXPECT_EQ(mask.bmWidth, size) << "group " << group << ", image " << entry.id << " of " << entry.bitCount
                                    << " bits";
      DeleteObject(info.hbmMask);
      DeleteObject(info.hbmColor);
      DestroyIcon(icon);
    }
  }

  // The application icon has the lowest id, so Windows shows it for the file.
  WORD lowest = 0xFFFF;
  EnumResourceNamesW(module_, RT_GROUP_ICON, KeepLowestId, reinterpret_cast<LONG_PTR>(&lowest));
  EXPECT_EQ(lowest, 1);
}

TEST_F(ExecutableTest, VersionRecord) {
  const DWORD size = GetFileVersionInfoSizeW(ExecutablePath().c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(ExecutablePath().c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);

  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, sizeof(Translation)) << "one string table only";
  EXPECT_EQ(translation->language, 0x0804);
  EXPECT_EQ(translation->codePage, 1200);

  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileVersion", L"1.00"},
      {L"ProductVersion", L"1.00"},
      {L"InternalName", L"Pinvale"},
      {L"OriginalFilename", L"Pinvale.exe"},
      {L"ProductName", L"Pinvale"},
      {L"FileDescription", L"Pinvale"},
      {L"LegalCopyright", L"Copyright (c) 2026 the Pinvale authors"},
  };
  for (const auto& [name, expected] : strings) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    wchar_t* value = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        << name;
    EXPECT_EQ(std::wstring(value), expected) << name;
  }
}

TEST_F(ExecutableTest, ManifestAsksForCommonControlsAndNoDpiAwareness) {
  std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty());
  std::transform(manifest.begin(), manifest.end(), manifest.begin(),
                 [](char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_NE(manifest.find("microsoft.windows.common-controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("asinvoker"), std::string::npos);
  EXPECT_NE(manifest.find("supportedos"), std::string::npos);
  EXPECT_EQ(manifest.find("dpiaware"), std::string::npos) << "the program relies on Windows scaling it";
  EXPECT_EQ(manifest.find("dpiawareness"), std::string::npos);
  EXPECT_EQ(manifest.find("gdiscaling"), std::string::npos);
}

}  // namespace
}  // namespace pinvale::e2e
