// The text operations' byte and double-byte rules, as tables of cases.
#include "values/text_operations.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "support/text_content.h"

namespace quorvel {
namespace {

using testing::contentOf;
using testing::kMissing;
using testing::refTo;
using Text = std::optional<std::string>;

std::string caseName(const char* name) { return name; }

// --- concatTexts ---------------------------------------------------------------------------

TEST(ConcatTexts, JoinsInOrderAndSkipsMissingTexts) {
  EXPECT_EQ(contentOf(concatTexts({"a", nullptr, "b"})), "ab");
  EXPECT_EQ(contentOf(concatTexts({"\xBC\xAA", "H1", "", "\xD1"})), "\xBC\xAAH1\xD1");
  EXPECT_EQ(contentOf(concatTexts({"only"})), "only");
}

TEST(ConcatTexts, AllEmptyGivesAPresentTextOfLengthZero) {
  EXPECT_EQ(contentOf(concatTexts({nullptr, nullptr})), "");
  EXPECT_EQ(contentOf(concatTexts({sharedEmptyText})), "");
}

// --- upperCaseText -------------------------------------------------------------------------

struct UpperCase {
  const char* name;
  Text text;
  Text upper;
};

class UpperCaseText : public ::testing::TestWithParam<UpperCase> {};

TEST_P(UpperCaseText, RaisesOnlyAsciiLettersOutsideDoubleByteCharacters) {
  EXPECT_EQ(contentOf(upperCaseText(refTo(GetParam().text))), GetParam().upper);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpperCaseText,
    ::testing::Values(
        UpperCase{"Plate", "\xBC\xAAh12345", "\xBC\xAAH12345"},
        UpperCase{"LetterBoundaries", "`az{@AZ[", "`AZ{@AZ["},
        UpperCase{"SecondByteLooksLikeA", "\xB0\x61", "\xB0\x61"},
        UpperCase{"LetterAfterDoubleByte", "\xB0\x61" "a", "\xB0\x61" "A"},
        UpperCase{"FullWidthLetterUnchanged", "\xA3\xE1x", "\xA3\xE1X"},
        UpperCase{"HighByteLast", "ab\x80", "AB\x80"},
        UpperCase{"OnlyAHighByte", "\xFF", "\xFF"},
        UpperCase{"SingleLetter", "q", "Q"},
        UpperCase{"Empty", "", kMissing},
        UpperCase{"Missing", kMissing, kMissing}),
    [](const auto& info) { return caseName(info.param.name); });

// --- midText -------------------------------------------------------------------------------

struct Mid {
  const char* name;
  Text text;
  std::int32_t start;
  std::int32_t count;
  Text cut;
};

class MidText : public ::testing::TestWithParam<Mid> {};

TEST_P(MidText, CutsBytesFromAStartPosition) {
  const Mid& c = GetParam();
  EXPECT_EQ(contentOf(midText(refTo(c.text), c.start, c.count)), c.cut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidText,
    ::testing::Values(
        Mid{"PlateTail", "\xBC\xAAH12345", 3, 444, "H12345"},
        Mid{"ShortTail", "\xBC\xAAH", 3, 444, "H"},
        Mid{"StartJustPastTheEnd", "\xBC\xAA", 3, 444, kMissing},
        Mid{"CountBeyondTheEnd", "abc", 3, 5, "c"},
        Mid{"StartZero", "abc", 0, 2, kMissing},
        Mid{"StartNegative", "abc", -1, 5, kMissing},
        Mid{"StartMinimum", "abc", INT32_MIN, INT32_MAX, kMissing},
        Mid{"StartMaximum", "abc", INT32_MAX, 1, kMissing},
        Mid{"CountZero", "abc", 1, 0, kMissing},
        Mid{"CountNegative", "abc", 1, -3, kMissing},
        Mid{"CountOne", "abc", 2, 1, "b"},
        Mid{"CountIsTheLength", "abc", 1, 3, "abc"},
        Mid{"CountMaximum", "abc", 1, INT32_MAX, "abc"},
        Mid{"StartsOnSecondByte", "\xBC\xAAH", 2, 1, "\xAA"},
        Mid{"EndsOnFirstByte", "a\xBC\xAA", 1, 2, "a\xBC"},
        Mid{"EmptyText", "", 1, 1, kMissing}),
    [](const auto& info) { return caseName(info.param.name); });

// --- leftText ------------------------------------------------------------------------------

struct Left {
  const char* name;
  Text text;
  std::int32_t count;
  Text cut;
};

class LeftText : public ::testing::TestWithParam<Left> {};

TEST_P(LeftText, CutsTheFirstBytes) {
  const Left& c = GetParam();
  EXPECT_EQ(contentOf(leftText(refTo(c.text), c.count)), c.cut);
}

INSTANTIATE_TEST_SUITE_P(Cases, LeftText,
                         ::testing::Values(Left{"CountZero", "abc", 0, kMissing},
                                           Left{"CountNegative", "abc", -2, kMissing},
                                           Left{"CountMinimum", "abc", INT32_MIN, kMissing},
                                           Left{"CountOne", "abc", 1, "a"},
                                           Left{"CountIsTheLength", "abc", 3, "abc"},
                                           Left{"CountPastTheEnd", "abc", 4, "abc"},
                                           Left{"CountMaximum", "abc", INT32_MAX, "abc"},
                                           Left{"SplitsADoubleByteCharacter", "\xBC\xAAH", 1, "\xBC"},
                                           Left{"EmptyText", "", 5, kMissing},
                                           Left{"MissingText", kMissing, 5, kMissing}),
                         [](const auto& info) { return caseName(info.param.name); });

// --- findText ------------------------------------------------------------------------------

struct Find {
  const char* name;
  Text text;
  Text sought;
  std::int32_t start;
  bool ignoreCase;
  std::int32_t position;
};

class FindText : public ::testing::TestWithParam<Find> {};

TEST_P(FindText, FindsTheFirstOccurrenceByTheDoubleByteRule) {
  const Find& c = GetParam();
  EXPECT_EQ(findText(refTo(c.text), refTo(c.sought), c.start, c.ignoreCase), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindText,
    ::testing::Values(
        Find{"OpeningMarker", "x';'>y", "';'>", 1, false, 2},
        Find{"FromTheSecondByte", "abcabc", "abc", 2, false, 4},
        Find{"StartZeroSearchesAll", "abc", "abc", 0, false, 1},
        Find{"StartMinimumSearchesAll", "abc", "c", INT32_MIN, false, 3},
        Find{"StartAtTheLastByte", "abc", "c", 3, false, 3},
        Find{"StartPastTheEnd", "abc", "c", 4, false, -1},
        Find{"StartMaximum", "abc", "c", INT32_MAX, false, -1},
        Find{"SoughtLongerThanText", "ab", "abc", 1, false, -1},
        Find{"MatchAtTheVeryEnd", "abcd", "cd", 1, false, 3},
        Find{"SecondByteIsNoCandidate", "\xB0\x61", "a", 1, false, -1},
        Find{"StartOnSecondByteMakesItAFirstByte", "\xB0\x61", "a", 2, false, 2},
        Find{"LetterAfterDoubleByte", "\xB0\x61" "a", "a", 1, false, 3},
        Find{"DoubleByteSought", "a\xBC\xAA", "\xBC\xAA", 1, false, 2},
        Find{"LeadByteAsLastByteIsTried", "a\xBC", "\xBC", 1, false, 2},
        Find{"LeadByteAsLastByteEndsTheSearch", "a\xBC", "x", 1, false, -1},
        Find{"MarkerInsideDoubleByteSkipped", "\xB0<" "/font></font>", "</font>", 1, false, 9},
        Find{"CaseDiffers", "abc", "ABC", 1, false, -1},
        Find{"IgnoreCaseMatches", "abc", "ABC", 1, true, 1},
        Find{"IgnoreCaseLeavesNonLettersAlone", "{@", "[`", 1, true, -1},
        Find{"IgnoreCaseIsByteForByte", "\xB0\x41", "\xB0\x61", 1, true, 1},
        Find{"CapitalClosingTagIsNoMatch", "</FONT>", "</font>", 1, false, -1},
        Find{"EmptySoughtFromOne", "abc", "", 1, false, 1},
        Find{"EmptySoughtFromTheLastByte", "abc", "", 3, false, 1},
        Find{"EmptySoughtPastTheEnd", "abc", "", 4, false, -1},
        Find{"EmptySoughtNegativeStart", "abc", "", -7, false, 1},
        Find{"EmptySoughtInEmptyText", "", "", 1, false, -1},
        Find{"MissingSoughtInText", "abc", kMissing, 1, false, 1},
        Find{"EmptyText", "", "a", 1, false, -1}),
    [](const auto& info) { return caseName(info.param.name); });

// --- bytesToText ---------------------------------------------------------------------------

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  ByteSet withZero = byteSetFromBytes(std::string("ab\0cd", 5));
  ByteSet withoutZero = byteSetFromBytes("\xBC\xAA\xFF");
  EXPECT_EQ(contentOf(bytesToText(withZero)), "ab");
  EXPECT_EQ(contentOf(bytesToText(withoutZero)), "\xBC\xAA\xFF");
}

TEST(BytesToText, NothingBeforeAZeroGivesAMissingText) {
  ByteSet zeroFirst = byteSetFromBytes(std::string("\0ab", 3));
  EXPECT_EQ(contentOf(bytesToText(sharedEmptyByteSet)), kMissing);
  EXPECT_EQ(contentOf(bytesToText(ByteSetRef())), kMissing);
  EXPECT_EQ(contentOf(bytesToText(zeroFirst)), kMissing);
}

}  // namespace
}  // namespace quorvel
