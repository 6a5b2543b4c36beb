#include <gtest/gtest.h>

#include <string>

#include "app/skin/ini_text.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

struct IniCase {
  const char* name;
  const char* file;
  const char16_t* section;
  const char16_t* key;
  int found;
  const char16_t* value;
};

constexpr char kSkinFile[] =
    "; a comment before any section\n"
    "[Other]\n"
    "Number=other.bmp\n"
    "[Quovira Skin]\n"
    "Number=digits.bmp\n"
    "Stereo =stereo.bmp\n"
    ";Mono=commented.bmp\n"
    "no equals sign here\n"
    "Background=back.bmp   \t\n"
    "Empty=\n"
    "Spaces=  inner value  \n"
    "Twice=a=b\n"
    "Number=second.bmp\n"
    "[Next]\n"
    "Mono=next.bmp\n";

const IniCase kCases[] = {
    {"exact key", kSkinFile, u"Quovira Skin", u"Number", 1, u"digits.bmp"},
    {"key is case-sensitive", kSkinFile, u"Quovira Skin", u"number", 0, u""},
    {"section is case-sensitive", kSkinFile, u"quovira skin", u"Number", 0, u""},
    {"blank before equals is part of the key", kSkinFile, u"Quovira Skin", u"Stereo", 0, u""},
    {"key with its blank matches", kSkinFile, u"Quovira Skin", u"Stereo ", 1, u"stereo.bmp"},
    {"commented key is skipped", kSkinFile, u"Quovira Skin", u";Mono", 0, u""},
    {"trailing blanks removed", kSkinFile, u"Quovira Skin", u"Background", 1, u"back.bmp"},
    {"empty value found", kSkinFile, u"Quovira Skin", u"Empty", 1, u""},
    {"leading blanks of the value kept", kSkinFile, u"Quovira Skin", u"Spaces", 1, u"  inner value"},
    {"cut at the first equals sign", kSkinFile, u"Quovira Skin", u"Twice", 1, u"a=b"},
    {"stops at the next section", kSkinFile, u"Quovira Skin", u"Mono", 0, u""},
    {"other section", kSkinFile, u"Next", u"Mono", 1, u"next.bmp"},
    {"first section of that name only", kSkinFile, u"Other", u"Number", 1, u"other.bmp"},
    {"missing section", kSkinFile, u"Missing", u"Number", 0, u""},
    {"CR LF lines", "[S]\r\nA=one\r\nB=two  \r\n", u"S", u"B", 1, u"two"},
    {"CR LF first key", "[S]\r\nA=one\r\nB=two\r\n", u"S", u"A", 1, u"one"},
    {"last line without line feed", "[S]\nA=end", u"S", u"A", 1, u"end"},
    {"text after the closing bracket", "[S] trailing words\nA=1\n", u"S", u"A", 1, u"1"},
    {"header in lower case does not match", "[s]\nA=1\n", u"S", u"A", 0, u""},
    {"header without closing bracket ends the section", "[S]\n[broken\nA=1\n", u"S", u"A", 0, u""},
    {"empty file", "", u"S", u"A", 0, u""},
};

class IniTextTable : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniTextTable, FindsExactlyWhatTheRulesSay) {
  const IniCase& c = GetParam();
  IniText file;
  file.SetBytes(c.file);
  char16_t out[kIniValueCapacity];
  out[0] = u'x';
  EXPECT_EQ(ReadIniValue(&file, c.section, c.key, out), c.found) << c.name;
  EXPECT_EQ(std::u16string(out), std::u16string(c.value)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Lookups, IniTextTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

TEST(IniText, NoFileClearsTheOutputAndFindsNothing) {
  char16_t out[kIniValueCapacity] = u"stale";
  EXPECT_EQ(ReadIniValue(nullptr, u"S", u"A", out), 0);
  EXPECT_EQ(out[0], 0);
}

TEST(IniText, OverlongNamesAreNeverFound) {
  std::u16string longName(kIniNameLimit, u'K');
  std::string text = "[" + std::string(kIniNameLimit, 'K') + "]\nA=1\n[S]\n" + std::string(kIniNameLimit, 'K') + "=2\n";
  IniText file;
  file.SetBytes(text);
  char16_t out[kIniValueCapacity] = u"stale";
  EXPECT_EQ(ReadIniValue(&file, longName, u"A", out), 0);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(ReadIniValue(&file, u"S", longName, out), 0);
}

TEST(IniText, LongLinesAreReadInPiecesAndValuesStayBounded) {
  // A line of 600 characters is three pieces of at most 259; the value is
  // what the first piece holds after the equals sign.
  std::string value(600, 'v');
  IniText file;
  file.SetBytes("[S]\nA=" + value + "\nB=after\n");
  char16_t out[kIniValueCapacity];
  ASSERT_EQ(ReadIniValue(&file, u"S", u"A", out), 1);
  EXPECT_EQ(U16Length(out), 259u - 2u);
  EXPECT_EQ(ReadIniValue(&file, u"S", u"B", out), 1);
  EXPECT_EQ(std::u16string(out), u"after");
  for (const auto& line : file.Lines()) EXPECT_LE(line.size(), 259u);
}

TEST(IniText, EveryLookupReadsFromTheTop) {
  IniText file;
  file.SetBytes("[S]\nA=1\nB=2\n");
  char16_t out[kIniValueCapacity];
  EXPECT_EQ(ReadIniValue(&file, u"S", u"B", out), 1);
  EXPECT_EQ(ReadIniValue(&file, u"S", u"A", out), 1);
  EXPECT_EQ(std::u16string(out), u"1");
}

}  // namespace
}  // namespace qv
