// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "backends/fake/fake_file_system.h"
#include "platform/utf8_encoding.h"

namespace pelmora {
namespace {

struct LookupCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(ProfileLookup, FindsValuesAsTheWindowsProfileFunctionsDo) {
    const LookupCase cases[] = {
        {"empty file", "", "A", "k", ""},
        {"missing section", "[B]\r\nk=1\r\n", "A", "k", ""},
        {"missing key", "[A]\r\nj=1\r\n", "A", "k", ""},
        {"key without value", "[A]\r\nk\r\n", "A", "k", ""},
        {"names ignore case", "[bmp]\r\nBMPFILEPATH=x\r\n", "Bmp", "BmpFilePath", "x"},
        {"blanks around header and names", "  [ A ]\t\r\n\t k  =v\r\n", "A", "k", "v"},
        {"blanks around value", "[A]\r\nk= \t v w \t\r\n", "A", "k", "v w"},
        {"double quotes", "[A]\r\nk= \" v \" \r\n", "A", "k", " v "},
        {"single quotes", "[A]\r\nk='v'\r\n", "A", "k", "v"},
        {"one pair of quotes only", "[A]\r\nk=\"\"v\"\"\r\n", "A", "k", "\"v\""},
        {"mismatched quotes stay", "[A]\r\nk=\"v'\r\n", "A", "k", "\"v'"},
        {"lone quote stays", "[A]\r\nk=\"\r\n", "A", "k", "\""},
        {"value holding '='", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"first section counts", "[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n", "A", "j", ""},
        {"first key counts", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"keys of other sections", "k=0\r\n[B]\r\nk=2\r\n[A]\r\nj=1\r\n", "A", "k", ""},
        {"comments are no keys", "[A]\r\n;k=1\r\n  #k=2\r\n", "A", "k", ""},
        {"LF line ends", "[A]\nk=1\nj=2\n", "A", "j", "2"},
        {"CR line ends", "[A]\rk=1\rj=2\r", "A", "j", "2"},
        {"last line without line end", "[A]\r\nk=1", "A", "k", "1"},
        {"exactly 2047 bytes", "[A]\r\nk=" + std::string(2047, 'x'), "A", "k", std::string(2047, 'x')},
        {"2048 bytes cut", "[A]\r\nk=" + std::string(2048, 'x'), "A", "k", std::string(2047, 'x')},
        {"cut after unquoting", "[A]\r\nk=\"" + std::string(3000, 'x') + "\"", "A", "k", std::string(2047, 'x')},
#ifndef _WIN32  // the file is UTF-8 off Windows
        {"two-byte character straddling the cut", "[A]\r\nk=" + std::string(2046, 'x') + "é", "A", "k",
         std::string(2046, 'x')},
        {"three-byte character straddling the cut", "[A]\r\nk=" + std::string(2045, 'x') + "中y", "A", "k",
         std::string(2045, 'x')},
        {"three-byte character ending at the cut", "[A]\r\nk=" + std::string(2044, 'x') + "中y", "A", "k",
         std::string(2044, 'x') + "中"},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileLookup(Utf8Encoding(), c.file, c.section, c.key), c.expected) << c.what;
}

struct UpdateCase {
    const char* what;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(ProfileUpdate, ChangesOnlyTheKeyItWrites) {
    const UpdateCase cases[] = {
        {"rewrite keeps the spelling in the file", "[bmp]\r\nbmpfilepath=old\r\n", "Bmp", "BmpFilePath", "new",
         "[bmp]\r\nbmpfilepath=new\r\n"},
        {"rewrite drops blanks around the name", "[A]\r\n  Key = old  \r\n", "A", "key", "new", "[A]\r\nKey=new\r\n"},
        {"comments and other sections stay byte for byte",
         "; top\n[B]\r\n  x = 'q' \n[A]\r\nk=1\r\n# note\r\nj=2\r\n [C] \r\ny\r\n", "a", "K", "9",
         "; top\n[B]\r\n  x = 'q' \n[A]\r\nk=9\r\n# note\r\nj=2\r\n [C] \r\ny\r\n"},
        {"new key after the last entry, before blank lines and comments",
         "[A]\r\nk=1\r\n\r\n; about B\r\n[B]\r\nx=1\r\n", "A", "j", "2",
         "[A]\r\nk=1\r\nj=2\r\n\r\n; about B\r\n[B]\r\nx=1\r\n"},
        {"new key in a section without entries", "[A]\r\n\r\n[B]\r\n", "A", "j", "2", "[A]\r\nj=2\r\n\r\n[B]\r\n"},
        {"new key after a last line without line end", "[A]\r\nk=1", "A", "j", "2", "[A]\r\nk=1\r\nj=2\r\n"},
        {"new section after a last line without line end", "[A]\r\nk=1", "B", "x", "1", "[A]\r\nk=1\r\n[B]\r\nx=1\r\n"},
        {"rewritten last line gets a line end", "[A]\r\nk=1", "A", "k", "2", "[A]\r\nk=2\r\n"},
        {"LF file keeps its lines", "[A]\nk=1\n[B]\ny=2\n", "A", "j", "3", "[A]\nk=1\nj=3\r\n[B]\ny=2\n"},
        {"first of two sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "j", "3", "[A]\r\nk=1\r\nj=3\r\n[a]\r\nk=2\r\n"},
        {"first of two keys", "[A]\r\nk=1\r\nk=2\r\n", "A", "K", "3", "[A]\r\nk=3\r\nk=2\r\n"},
        {"key without value gets one", "[A]\r\nflag\r\n", "A", "flag", "1", "[A]\r\nflag=1\r\n"},
        {"line breaks in the value become spaces", "[A]\r\nk=1\r\nj=2\r\n", "A", "k", "a\r\nb\nc\rd",
         "[A]\r\nk=a  b c d\r\nj=2\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProfileUpdate(c.before, c.section, c.key, c.value), c.after) << c.what;
}

constexpr const char* kIni = "/opt/pelmora/zarade.ini";

TEST(Settings, FreshFileGrowsInWritingOrder) {
    FakeFileSystem files;
    const Utf8Encoding encoding;
    WriteSetting({files, encoding, kIni}, "Position", "Position3X", "120");
    WriteSetting({files, encoding, kIni}, "Position", "Position3Y", "45");
    WriteSetting({files, encoding, kIni}, "Position", "Color3", "FF00FF");
    EXPECT_EQ(files.contents[kIni], "[Position]\r\nPosition3X=120\r\nPosition3Y=45\r\nColor3=FF00FF\r\n");
    WriteSetting({files, encoding, kIni}, "Bmp", "BmpFilePath", "/tmp/图片");
    EXPECT_EQ(files.contents[kIni],
              "[Position]\r\nPosition3X=120\r\nPosition3Y=45\r\nColor3=FF00FF\r\n[Bmp]\r\nBmpFilePath=/tmp/图片\r\n");
    EXPECT_EQ(ReadSetting({files, encoding, kIni}, "bmp", "bmpfilepath"), "/tmp/图片");
    EXPECT_EQ(ReadSetting({files, encoding, kIni}, "Position", "Position3Y"), "45");
}

TEST(Settings, MissingOrUnreadableFileReadsEmpty) {
    FakeFileSystem files;
    const Utf8Encoding encoding;
    EXPECT_EQ(ReadSetting({files, encoding, kIni}, "Position", "Position3X"), "");
    files.contents[kIni] = "[Position]\r\nPosition3X=1\r\n";
    files.unreadableFiles.insert(kIni);
    EXPECT_EQ(ReadSetting({files, encoding, kIni}, "Position", "Position3X"), "");
}

TEST(Settings, FailedWriteLeavesTheOldFile) {
    FakeFileSystem files;
    const Utf8Encoding encoding;
    const std::string old = "[Position]\r\nPosition3X=1\r\n";
    files.contents[kIni] = old;
    files.failWrites = true;
    WriteSetting({files, encoding, kIni}, "Position", "Position3X", "2");
    EXPECT_EQ(files.contents[kIni], old);

    files.failWrites = false;
    files.unwritableDirectories.insert("/opt/pelmora");
    WriteSetting({files, encoding, kIni}, "Position", "Position3X", "2");
    WriteSetting({files, encoding, "/opt/pelmora/other.ini"}, "Position", "Position3X", "2");
    EXPECT_EQ(files.contents[kIni], old);
    EXPECT_FALSE(files.contents.contains("/opt/pelmora/other.ini"));
}

TEST(Settings, UnreadableFileIsNotReplacedByOneSetting) {
    FakeFileSystem files;
    const Utf8Encoding encoding;
    const std::string old = "[Position]\r\nPosition3X=1\r\nColor3=FF\r\n";
    files.contents[kIni] = old;
    files.unreadableFiles.insert(kIni);
    WriteSetting({files, encoding, kIni}, "Position", "Position3X", "2");
    EXPECT_EQ(files.contents[kIni], old);
}

}  // namespace
}  // namespace pelmora
