// Conversions between GBK bytes and UTF-16, both ways, including what cannot convert.
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

struct DecodeCase {
  const char* name;
  std::string gbk;
  std::u16string unicode;
};

class GbkToUtf16 : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(GbkToUtf16, DecodesAndReplacesInvalidBytesOneAtATime) {
  EXPECT_EQ(gbkToUtf16(GetParam().gbk), GetParam().unicode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkToUtf16,
    ::testing::Values(
        DecodeCase{"Empty", "", u""},
        DecodeCase{"Ascii", "H12345 a-z", u"H12345 a-z"},
        DecodeCase{"Ji", "\xBC\xAA", u"吉"},
        DecodeCase{"PlateWithJi", "\xBC\xAAH12345", u"吉H12345"},
        DecodeCase{"SecondByteInAsciiRange", "\xB0\x61", u"癮"},
        DecodeCase{"EuroSign", "\x80", u"€"},
        DecodeCase{"LoneLeadByteAtEnd", "a\xBC", u"a\uFFFD"},
        DecodeCase{"InvalidPairResyncsOnSecondByte", "\x81\x20z", u"\uFFFD z"},
        DecodeCase{"ByteFF", "a\xFF" "b", u"a\uFFFDb"},
        DecodeCase{"ZeroByteKept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
  const char* name;
  std::u16string unicode;
  std::string gbk;
};

class Utf16ToGbk : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Utf16ToGbk, EncodesAndReplacesWhatGbkCannotHold) {
  EXPECT_EQ(utf16ToGbk(GetParam().unicode), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16ToGbk,
    ::testing::Values(
        EncodeCase{"Empty", u"", ""},
        EncodeCase{"Ascii", u"H12345", "H12345"},
        EncodeCase{"Ji", u"吉H", "\xBC\xAAH"},
        EncodeCase{"SecondByteInAsciiRange", u"癮", "\xB0\x61"},
        EncodeCase{"EuroSign", u"€", "\x80"},
        EncodeCase{"EmojiIsOneQuestionMark", u"a😀b", "a?b"},
        EncodeCase{"LoneHighSurrogate", std::u16string{u'a', char16_t(0xD83D), u'b'}, "a?b"},
        EncodeCase{"LoneLowSurrogate", std::u16string{char16_t(0xDE00), u'b'}, "?b"},
        EncodeCase{"HighSurrogateAtEnd", std::u16string{u'a', char16_t(0xD83D)}, "a?"},
        EncodeCase{"CharacterOutsideGbk", u"\u0E01x", "?x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePage, ValidGbkSurvivesARoundTrip) {
  std::string gbk = "\xBC\xAA" "H12345 \xB0\x61\x80\xD1\xA7";
  EXPECT_EQ(utf16ToGbk(gbkToUtf16(gbk)), gbk);
}

}  // namespace
}  // namespace quorvel
