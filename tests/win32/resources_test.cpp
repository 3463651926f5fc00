// SPDX-License-Identifier: MIT
// pelmora.exe's resources, read from the built file as Explorer and the loader read them:
// the manifest that makes it DPI-aware and gives it Common Controls 6, the icon group in
// every size the shell asks for, and the version information shown in the file's properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/version.h"
#include "backends/win32/win32_resource_ids.h"

namespace {

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    // The test program lies in tests/win32 of the build folder, pelmora.exe at its top.
    return folder + L"\\..\\..\\pelmora.exe";
}

std::wstring Widen(const char* utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring text(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), length);
    return text;
}

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        module_ =
            LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "pelmora.exe not found beside the tests, error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    // The bytes of one resource, empty when the file has none of that type and id.
    // Types and ids are numbers (RT_MANIFEST is 24): MAKEINTRESOURCEW makes the wide forms.
    std::string Resource(WORD type, WORD id) const {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
        if (found == nullptr) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (bytes == nullptr) return {};
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ManifestMakesItPerMonitorAwareWithCommonControls6AndTheSystemCodePage) {
    const std::string manifest = Resource(24 /* RT_MANIFEST */, PELMORA_MANIFEST_ID);
    ASSERT_FALSE(manifest.empty()) << "no manifest with id 1";
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                            "true/pm</dpiAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    // Windows 10 and 11: without it GetVersionEx and the DPI APIs treat the program as old.
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
    // The settings file and other programs' titles are in the system's ANSI code page.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

// The icon group's directory as it lies in the resource (GRPICONDIR, 2-byte packed entries).
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconGroupHoldsEverySizeTheShellAsksFor) {
    const std::string group = Resource(14 /* RT_GROUP_ICON */, PELMORA_ICON_ID);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader)) << "no icon group with id 1";
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
    ASSERT_EQ(header->type, 1);
    ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group.data() + sizeof(GroupIconHeader));
    std::set<int> sizes;
    for (int i = 0; i < header->count; ++i) {
        const int width = entries[i].width == 0 ? 256 : entries[i].width;
        const int height = entries[i].height == 0 ? 256 : entries[i].height;
        EXPECT_EQ(width, height);
        sizes.insert(width);
        // Each entry's image is there, as big as the directory says.
        EXPECT_EQ(Resource(3 /* RT_ICON */, entries[i].id).size(), entries[i].bytes) << width << " px";
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
    // The window's icon is loaded by id from the program's own module.
    HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(PELMORA_ICON_ID), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
}

class VersionInformation : public testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = ProgramPath();
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        ASSERT_GT(size, 0u) << "no version information, error " << GetLastError();
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data_.data()));
        struct Translation {
            WORD language, codePage;
        };
        Translation* translation = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                   &length));
        ASSERT_GE(length, sizeof(Translation));
        wchar_t block[64];
        wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
        block_ = block;
    }

    // One string of the first translation; "<missing>" when it is not there.
    std::wstring Text(const wchar_t* name) const {
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), (block_ + name).c_str(), reinterpret_cast<void**>(&value), &length) ||
            value == nullptr)
            return L"<missing>";
        return std::wstring(value, length > 0 && value[length - 1] == L'\0' ? length - 1 : length);
    }

    std::vector<std::uint8_t> data_;
    std::wstring block_;
};

TEST_F(VersionInformation, StringsNameTheProductItsChineseDescriptionAndTheProjectVersion) {
    EXPECT_EQ(Text(L"ProductName"), L"Pelmora");
    EXPECT_EQ(Text(L"FileDescription"), L"Pelmora \u5c4f\u5e55\u53d6\u70b9\u53d6\u8272\u5de5\u5177");
    EXPECT_EQ(Text(L"FileVersion"), L"3.50.1101");
    EXPECT_EQ(Text(L"ProductVersion"), L"3.50.1101");
    // The caption and the archive read the same number from the version header.
    EXPECT_EQ(Text(L"ProductVersion"), Widen(PELMORA_VERSION_TEXT));
    EXPECT_EQ(Text(L"OriginalFilename"), L"pelmora.exe");
}

TEST_F(VersionInformation, FixedPartCarriesTheNumericVersion) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(50, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1101));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(50, 3));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 1101));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
