// What vorlane.exe carries for Explorer, the installer and the loader: the icon in the sizes of
// the Linux icon theme, the version block of the editor's resources with the release's numbers,
// and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "res/Strings.h"
#include "res/resource.h"

namespace vorlane::res {
namespace {

// The editor beside this test program.
std::wstring editorPath() {
    wchar_t self[MAX_PATH];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"" VORLANE_EDITOR_NAME;
}

class EditorResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExW(editorPath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }

    std::string resource(const char* type, int id) const {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    HMODULE module = nullptr;
};

TEST_F(EditorResources, TheIconHasEverySizeInFullColour) {
    // GRPICONDIR: reserved, type, count, then 14-byte entries (width, height, colours, reserved,
    // planes, bit count, size, ID).
    const std::string group = resource(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_GE(group.size(), 6u);
    const auto byteAt = [&](size_t at) { return static_cast<unsigned char>(group[at]); };
    const int count = byteAt(4) | byteAt(5) << 8;
    ASSERT_EQ(group.size(), 6u + 14u * static_cast<size_t>(count));
    std::string sizes;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 14 * static_cast<size_t>(i);
        sizes += std::to_string(byteAt(entry)) + "x" + std::to_string(byteAt(entry + 1)) + "x" +
                 std::to_string(byteAt(entry + 6)) + " ";
    }
    EXPECT_EQ(sizes, "16x16x32 32x32x32 48x48x32 64x64x32 128x128x32 ");
}

TEST_F(EditorResources, TheVersionBlockIsTheEditorsWithTheReleasesNumbers) {
    const DWORD size = GetFileVersionInfoSizeW(editorPath().c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(editorPath().c_str(), 0, size, info.data()));
    const struct {
        const wchar_t* key;
        const char* expected;
    } rows[] = {
        {L"CompanyName", kVersionBlock.companyName},
        {L"FileDescription", kVersionBlock.fileDescription},
        {L"FileVersion", kVersionBlock.fileVersion},
        {L"InternalName", kVersionBlock.internalName},
        {L"LegalCopyright", kVersionBlock.legalCopyright},
        {L"OriginalFilename", kVersionBlock.originalFilename},
        {L"ProductName", kVersionBlock.productName},
        {L"ProductVersion", kVersionBlock.productVersion},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + row.key;
        wchar_t* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length));
        const std::string expected = row.expected;
        EXPECT_EQ(std::wstring(value), std::wstring(expected.begin(), expected.end()));
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
    EXPECT_STREQ(numbers, releaseVersion());
}

TEST_F(EditorResources, TheManifestAsksForWhatTheDialogNeeds) {
    const std::string manifest = resource(RT_MANIFEST, 1);
    for (const char* wanted : {
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
             ">PerMonitorV2, PerMonitor</dpiAwareness>",
             ">true/pm</dpiAware>",
             ">UTF-8</activeCodePage>",
             R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",
             R"(<requestedExecutionLevel level="asInvoker")",
         }) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
}

}  // namespace
}  // namespace vorlane::res
