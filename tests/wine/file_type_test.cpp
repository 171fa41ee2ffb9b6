// RegisterFileType against Wine's registry.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "platform/file_type.h"
#include "support.h"

namespace {

const char CommandKey[] = "tempir\\shell\\Open\\command";

struct Value {
    LONG status;
    DWORD type;
    std::string data; // as stored, terminator included
};

Value DefaultValue(const char *keyName)
{
    Value value = {ERROR_SUCCESS, 0, std::string()};
    HKEY key;
    value.status = RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    value.status = RegQueryValueExA(key, nullptr, nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.data.assign(size, '\x7f');
        value.status = RegQueryValueExA(key, nullptr, nullptr, &value.type,
                                        reinterpret_cast<BYTE *>(&value.data[0]), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

std::string ModulePath()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string CurrentFolder()
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

TEST(RegisterFileType, NamesTheProgramFoundAlongTheSearchPathOrElseItself)
{
    const std::string before = CurrentFolder();
    const std::string folder = FreshFolder("file-type");
    WriteBytes(folder + "tempir.exe", "MZ");
    const struct {
        const char *what;
        std::string current;
        std::string program;
    } cases[] = {
        // The search looks in the current folder too.
        {"found as tempir.exe", folder, folder + "tempir.exe"},
        {"not found: this program", "C:\\", ModulePath()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SetCurrentDirectoryA(c.current.c_str()));
        RegisterFileType();
        const std::string expected = "\"" + c.program + "\" %1";
        const Value command = DefaultValue(CommandKey);
        EXPECT_EQ(ERROR_SUCCESS, command.status);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), command.type);
        EXPECT_EQ(expected + '\0', command.data) << "the terminator is counted in the length";
        const Value extension = DefaultValue(".tpr");
        EXPECT_EQ(ERROR_SUCCESS, extension.status);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), extension.type);
        EXPECT_EQ(std::string("tempir") + '\0', extension.data);
    }
    SetCurrentDirectoryA(before.c_str());
    RemoveTree(folder);
}

TEST(RegisterFileType, WritesTheExtensionKeyWhenTheCommandKeyCannotBeMade)
{
    RegisterFileType();
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tpr"));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CLASSES_ROOT, CommandKey));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CLASSES_ROOT, "tempir\\shell\\Open"));

    // The command key's parent, re-made as a link to a key that does not exist: nothing can be
    // made below it.
    HKEY link;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CLASSES_ROOT, "tempir\\shell\\Open", 0, nullptr,
                              REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr,
                              &link, nullptr));
    const WCHAR target[] = L"\\Registry\\Machine\\Software\\Classes\\tempiro-test-nowhere\\deeper";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                                            reinterpret_cast<const BYTE *>(target),
                                            sizeof target - sizeof(WCHAR)));
    RegCloseKey(link);

    RegisterFileType();
    EXPECT_NE(ERROR_SUCCESS, DefaultValue(CommandKey).status);
    const Value extension = DefaultValue(".tpr");
    EXPECT_EQ(ERROR_SUCCESS, extension.status);
    EXPECT_EQ(std::string("tempir") + '\0', extension.data);

    // The link itself goes, and the association is whole again.
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CLASSES_ROOT, "tempir\\shell\\Open",
                                           REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &link));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(link, ""));
    RegCloseKey(link);
    RegisterFileType();
    EXPECT_EQ(ERROR_SUCCESS, DefaultValue(CommandKey).status);
}

// Run in two steps by the volatile-keys test, with the Wine server restarted in between: the keys
// of a registration live only as long as the server.
TEST(RegisterFileTypeAcrossRestart, WritesTheKeys)
{
    if (getenv("TEMPIRO_REGISTRY_STEP") == nullptr)
        GTEST_SKIP() << "a step of the volatile-keys test";
    RegisterFileType();
    EXPECT_EQ(ERROR_SUCCESS, DefaultValue(".tpr").status);
    EXPECT_EQ(ERROR_SUCCESS, DefaultValue(CommandKey).status);
}

TEST(RegisterFileTypeAcrossRestart, KeysAreGone)
{
    if (getenv("TEMPIRO_REGISTRY_STEP") == nullptr)
        GTEST_SKIP() << "a step of the volatile-keys test";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DefaultValue(".tpr").status);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DefaultValue(CommandKey).status);
}

} // namespace
