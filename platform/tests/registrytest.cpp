#include "platform/errors.h"
#include "platform/registry.h"
#include "testsupport/devicetree.h"
#include "testsupport/userfolders.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace platform;
using namespace std::string_literals;
namespace fs = std::filesystem;

class RegistryTest : public testing::Test {
protected:
    void TearDown() override
    {
        for (RegistryKey key : opened_) RegCloseKey(key);
    }

    RegistryKey Create(RegistryKey parent, std::string_view name, RegistryAccess access = RegistryAccess::All)
    {
        RegistryKey key = RegistryKey::None;
        EXPECT_EQ(RegCreateKeyEx(parent, name, access, key), kErrorSuccess) << name;
        opened_.push_back(key);
        return key;
    }

    RegistryKey Open(RegistryKey parent, std::string_view name, RegistryAccess access = RegistryAccess::Read)
    {
        RegistryKey key = RegistryKey::None;
        EXPECT_EQ(RegOpenKeyEx(parent, name, access, key), kErrorSuccess) << name;
        opened_.push_back(key);
        return key;
    }

    static uint32_t Set(RegistryKey key, std::string_view name, uint32_t type, const std::string& data)
    {
        return RegSetValueEx(key, name, type, data);
    }

    std::vector<std::string> EnumeratedNames(RegistryKey key)
    {
        std::vector<std::string> names;
        std::array<char, 16> name{};
        for (uint32_t index = 0; RegEnumKey(key, index, name) == kErrorSuccess; ++index) names.emplace_back(name.data());
        return names;
    }

    testsupport::ScopedUserFolders folders_;
    std::vector<RegistryKey> opened_;
};

TEST_F(RegistryTest, SubkeysEnumerateInWindowsOrder)
{
    const RegistryKey order = Create(RegistryKey::LocalMachine, "Order");
    for (const char* name : {"2", "10", "b", "_x", "1", "A", "11"}) Create(order, name);

    EXPECT_EQ(EnumeratedNames(order), (std::vector<std::string>{"1", "10", "11", "2", "A", "b", "_x"}));
    RegistryKeyInfo info;
    ASSERT_EQ(RegQueryInfoKey(order, info), kErrorSuccess);
    EXPECT_EQ(info.subkeyCount, 7u);
    EXPECT_EQ(info.longestSubkeyName, 2u);
    std::array<char, 16> name{};
    EXPECT_EQ(RegEnumKey(order, 7, name), kErrorNoMoreItems);
    std::array<char, 2> tooShort{};
    EXPECT_EQ(RegEnumKey(order, 1, tooShort), kErrorMoreData);
}

TEST_F(RegistryTest, ValuesKeepTheirLengthAndAShortBufferFails)
{
    const RegistryKey key = Create(RegistryKey::LocalMachine, "Values");
    ASSERT_EQ(Set(key, "", kRegDword, "E"), kErrorSuccess);
    ASSERT_EQ(Set(key, "Four", kRegDword, "\x01\x00\x00\x00"s), kErrorSuccess);
    struct Case {
        const char* name;
        const char* value;
        std::size_t bufferSize;
        uint32_t result;
        uint32_t size;
    };
    const Case cases[] = {
        {"one byte into four", "", 4, kErrorSuccess, 1},
        {"four bytes into one", "Four", 1, kErrorMoreData, 4},
        {"four bytes into four", "Four", 4, kErrorSuccess, 4},
        {"missing value", "Missing", 4, kErrorFileNotFound, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<char, 4> buffer{};
        uint32_t type = 0;
        uint32_t size = 0;
        EXPECT_EQ(RegQueryValueEx(key, c.value, &type, std::span(buffer.data(), c.bufferSize), size), c.result);
        EXPECT_EQ(size, c.size);
    }
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "four", nullptr, {}, size), kErrorSuccess);  // names match whatever their case
    EXPECT_EQ(size, 4u);
}

TEST_F(RegistryTest, DeletingAKeyTakesEverythingBelowIt)
{
    const RegistryKey deep = Create(RegistryKey::LocalMachine, "Tree\\Branch\\Leaf");
    ASSERT_EQ(Set(deep, "PC", kRegSz, "x\0"s), kErrorSuccess);
    const RegistryKey tree = Open(RegistryKey::LocalMachine, "TREE", RegistryAccess::All);

    EXPECT_EQ(SHDeleteKey(RegistryKey::LocalMachine, "tree"), kErrorSuccess);
    RegistryKey gone = RegistryKey::None;
    EXPECT_EQ(RegOpenKeyEx(RegistryKey::LocalMachine, "Tree\\Branch", RegistryAccess::Read, gone), kErrorFileNotFound);
    EXPECT_EQ(Set(deep, "PC", kRegSz, "y\0"s), kErrorKeyDeleted);
    EXPECT_EQ(EnumeratedNames(tree), std::vector<std::string>{});
    EXPECT_EQ(SHDeleteKey(RegistryKey::LocalMachine, "Tree"), kErrorFileNotFound);
}

TEST_F(RegistryTest, EveryCallSeesTheFileAsItIsNow)
{
    const RegistryKey key = Create(RegistryKey::LocalMachine, "Software\\KovaSync\\DeviceID");
    ASSERT_EQ(Set(key, "", kRegDword, "E"), kErrorSuccess);
    // Another program's save, between two calls of this one.
    testsupport::WriteWholeFile(RegistryFilePath(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\KovaSync\\DeviceID]\n@=hex(4):46\n");
    std::array<char, 1> letter{};
    uint32_t size = 0;
    ASSERT_EQ(RegQueryValueEx(key, "", nullptr, letter, size), kErrorSuccess);
    EXPECT_EQ(letter[0], 'F');
}

TEST_F(RegistryTest, ADamagedFileIsMovedAsideAndTheRegistryStartsEmpty)
{
    fs::create_directories(fs::path(RegistryFilePath()).parent_path());
    testsupport::WriteWholeFile(RegistryFilePath(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n@=dword:xyz\n");

    testing::internal::CaptureStderr();
    RegistryKey key = RegistryKey::None;
    EXPECT_EQ(RegOpenKeyEx(RegistryKey::LocalMachine, "Software", RegistryAccess::Read, key), kErrorFileNotFound);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_NE(warning.find("line 3"), std::string::npos) << warning;

    std::vector<fs::path> damaged;
    for (const auto& entry : fs::directory_iterator(fs::path(RegistryFilePath()).parent_path())) {
        if (entry.path().filename().string().starts_with("registry.reg.damaged-")) damaged.push_back(entry.path());
    }
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_NE(warning.find(damaged[0].string()), std::string::npos) << warning;
    EXPECT_EQ(testsupport::ReadWholeFile(damaged[0]), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n@=dword:xyz\n");
}

TEST_F(RegistryTest, AFileThatCannotBeReadIsNeverReplaced)
{
    fs::create_directories(RegistryFilePath());  // a folder where the file should be: reading it fails
    RegistryKey key = RegistryKey::None;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegCreateKeyEx(RegistryKey::LocalMachine, "Software", RegistryAccess::All, key), kErrorAccessDenied);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be read (Access is denied.)"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(RegistryFilePath()));
}

}  // namespace
