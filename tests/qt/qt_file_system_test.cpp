// SPDX-License-Identifier: MIT
// QtFileSystem on real files in a temporary folder.
#include "backends/qt/qt_services.h"
#include "backends/posix/program_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/utf8_encoding.h"
#include "settings/profile.h"

namespace pelmora {
namespace {

class QtFileSystemTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) { return QDir(folder.path()).filePath(name).toStdString(); }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    QStringList FolderEntries() {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
    QtFileSystem files;
};

TEST_F(QtFileSystemTest, WriteReplacesTheFileWholeInsteadOfRewritingIt) {
    const std::string path = PathOf("zarade.ini");
    const std::string link = PathOf("link.ini");
    Put(path, "old contents that are longer than the new ones");
    // A second name for the old file: a write in place would show through it, a replacement not.
    std::filesystem::create_hard_link(path, link);
    const std::string bytes("new\r\n\0\xFF", 7);
    ASSERT_TRUE(files.WriteFileWhole(path, bytes));
    EXPECT_EQ(files.ReadFile(path), bytes);
    EXPECT_EQ(files.ReadFile(link), "old contents that are longer than the new ones");
    EXPECT_EQ(FolderEntries(), QStringList({"link.ini", "zarade.ini"}));  // no temporary file left
}

TEST_F(QtFileSystemTest, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(files.WriteFileWhole(PathOf("missing/zarade.ini"), "x"));
    EXPECT_TRUE(FolderEntries().isEmpty());
}

TEST_F(QtFileSystemTest, FolderIsCreatedOneLevelAtATime) {
    const std::string snap = PathOf("Snap");
    EXPECT_FALSE(files.EntryExists(snap));
    EXPECT_TRUE(files.CreateFolder(snap));
    EXPECT_TRUE(files.EntryExists(snap));
    EXPECT_FALSE(files.CreateFolder(snap));  // already there
    EXPECT_FALSE(files.CreateFolder(PathOf("missing/Snap")));
    EXPECT_FALSE(files.EntryExists(PathOf("missing")));
    Put(PathOf("a-file"), "x");
    EXPECT_TRUE(files.EntryExists(PathOf("a-file")));
    EXPECT_FALSE(files.CreateFolder(PathOf("a-file")));
}

TEST_F(QtFileSystemTest, OnlyNormalReadableFilesExist) {
    Put(PathOf(".dotted"), "x");
    QDir(folder.path()).mkdir("sub");
    EXPECT_TRUE(files.FileExists(PathOf(".dotted")));  // a leading dot does not hide a file here
    EXPECT_FALSE(files.FileExists(PathOf("sub")));
    EXPECT_FALSE(files.FileExists(PathOf("missing")));
    EXPECT_EQ(files.ReadFile(PathOf(".dotted")), "x");
    EXPECT_EQ(files.ReadFile(PathOf("sub")), std::nullopt);
    EXPECT_EQ(files.ReadFile(PathOf("missing")), std::nullopt);
}

TEST_F(QtFileSystemTest, WritableFolderIsFoundByTryingAndLeftClean) {
    EXPECT_TRUE(files.DirectoryWritable(folder.path().toStdString()));
    EXPECT_FALSE(files.DirectoryWritable(PathOf("missing")));
    EXPECT_TRUE(FolderEntries().isEmpty());
}

// A file that denies writing stops a user's write but not root's: found by trying, it is
// read-only exactly when a write fails.
TEST_F(QtFileSystemTest, ReadOnlyFileIsFoundAsAWriteMeetsIt) {
    const std::string path = PathOf("zarade.ini");
    EXPECT_FALSE(files.FileReadOnly(path));
    EXPECT_TRUE(FolderEntries().isEmpty()) << "asking made the file";
    Put(path, "old");
    EXPECT_FALSE(files.FileReadOnly(path));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const bool readOnly = files.FileReadOnly(path);
    EXPECT_EQ(files.ReadFile(path), "old");
    EXPECT_EQ(readOnly, !files.WriteFileWhole(path, "new"));
}

// A package's layout, /usr/bin beside /usr/share/applications, unpacked into the folder.
TEST_F(QtFileSystemTest, InstalledProgramIsKnownByItsMenuEntryBesideItsBinFolder) {
    QDir root(folder.path());
    ASSERT_TRUE(root.mkpath("usr/bin") && root.mkpath("usr/share/applications") && root.mkpath("build"));
    const std::string bin = PathOf("usr/bin");
    EXPECT_FALSE(InstalledUnderPrefix(bin)) << "no menu entry yet";
    Put(PathOf("usr/share/applications/" PELMORA_APP_ID ".desktop"), "[Desktop Entry]\n");
    EXPECT_TRUE(InstalledUnderPrefix(bin));
    EXPECT_TRUE(InstalledUnderPrefix(bin + "/"));
    EXPECT_FALSE(InstalledUnderPrefix(PathOf("build"))) << "a build tree is not installed";
    ASSERT_TRUE(root.mkpath("usr/share/applications/bin"));
    EXPECT_FALSE(InstalledUnderPrefix(PathOf("usr/share/applications/bin")));
    QFile::remove(root.filePath("usr/share/applications/" PELMORA_APP_ID ".desktop"));
    ASSERT_TRUE(root.mkpath("usr/share/applications/" PELMORA_APP_ID ".desktop"));
    EXPECT_FALSE(InstalledUnderPrefix(bin)) << "a folder of that name is no menu entry";
}

// The folder pelmora-cli names too (it only reads there), where Qt's rule puts it.
TEST_F(QtFileSystemTest, UserConfigDirectoryIsCreatedWhereQtPutsTheConfiguration) {
    const QByteArray home = qgetenv("HOME"), configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", folder.path().toUtf8() + "//");  // the real configuration folder kept out of it
    qunsetenv("XDG_CONFIG_HOME");
    const std::string named = UserConfigFolder();
    const QString qts = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Pelmora";
    const QFileInfo info(QString::fromStdString(files.UserConfigDirectory()));
    qputenv("XDG_CONFIG_HOME", "relative/config");
    const std::string fromXdg = UserConfigFolder();
    qputenv("HOME", home);
    if (configHome.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", configHome);
    EXPECT_EQ(named, qts.toStdString());
    EXPECT_EQ(info.absoluteFilePath().toStdString(), named);
    EXPECT_TRUE(info.isDir());
    EXPECT_EQ(fromXdg, "relative/config/Pelmora");
}

TEST_F(QtFileSystemTest, PicturesFolderIsTheHomeFolderWhereTheUserHasNone) {
    const QByteArray home = qgetenv("HOME"), configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", folder.path().toUtf8());  // no user-dirs.dirs and no Pictures in it
    qunsetenv("XDG_CONFIG_HOME");
    const std::string withoutOne = files.UserPicturesDirectory();
    QDir(folder.path()).mkdir("Pictures");
    const std::string withOne = files.UserPicturesDirectory();
    qputenv("HOME", home);
    if (!configHome.isEmpty()) qputenv("XDG_CONFIG_HOME", configHome);
    EXPECT_EQ(withoutOne, QDir::toNativeSeparators(folder.path()).toStdString());
    EXPECT_EQ(withOne, PathOf("Pictures"));
}

TEST_F(QtFileSystemTest, SettingsRoundTripOnDisk) {
    const std::string path = PathOf("zarade.ini");
    const Utf8Encoding encoding;
    WriteSetting({files, encoding, path}, "Position", "Position3X", "120");
    WriteSetting({files, encoding, path}, "Bmp", "BmpFilePath", "/tmp/图片");
    EXPECT_EQ(files.ReadFile(path), "[Position]\r\nPosition3X=120\r\n[Bmp]\r\nBmpFilePath=/tmp/图片\r\n");
    EXPECT_EQ(ReadSetting({files, encoding, path}, "BMP", "bmpFilePath"), "/tmp/图片");
}

}  // namespace
}  // namespace pelmora
