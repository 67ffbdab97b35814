// The form body: its five pieces, the plate-tail cut, and the form-encoding of the user's fields.
#include "query/query_body.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/form_fields.h"
#include "support/text_content.h"

namespace quorvel {
namespace {

using testing::FormField;
using testing::kMissing;
using testing::refTo;
using Text = std::optional<std::string>;

struct BodyCase {
  const char* name;
  Text plate;
  Text code;
  std::string body;
};

std::string bodyWith(const std::string& plateTail, const std::string& code) {
  return "hpzl=02&hphm=%BC%AA" + plateTail + "&FDJH=" + code + "&Submit.x=50&Submit.y=9";
}

class ComposeQueryBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(ComposeQueryBody, JoinsTheFivePiecesWithTheUserFieldsEncoded) {
  TextValue body = composeQueryBody(refTo(GetParam().plate), refTo(GetParam().code));
  ASSERT_FALSE(body.isMissing());
  EXPECT_EQ(body.view(), GetParam().body);
}

const std::string kLongPlate = "\xBC\xAA" + std::string(443, 'A') + "\xD1\xA7" "Z";  // 448 bytes

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeQueryBody,
    ::testing::Values(
        BodyCase{"Example", "\xBC\xAAH12345", "1234", "hpzl=02&hphm=%BC%AAH12345&FDJH=1234&Submit.x=50&Submit.y=9"},
        BodyCase{"NoProvinceLosesTwoBytes", "H12345", "1234", bodyWith("2345", "1234")},
        BodyCase{"OtherProvinceSentAsJi", "\xC1\xC9N12345", "1234", bodyWith("N12345", "1234")},
        BodyCase{"ProvinceAlone", "\xBC\xAA", "1234", bodyWith("", "1234")},
        BodyCase{"OneBytePlate", "H", "1234", bodyWith("", "1234")},
        BodyCase{"EmptyPlate", "", "1234", bodyWith("", "1234")},
        BodyCase{"MissingPlate", kMissing, "1234", bodyWith("", "1234")},
        BodyCase{"TailStartsOnSecondByte", "A\xBC\xAA" "12", "1", bodyWith("%AA12", "1")},
        BodyCase{"ThreeBytePlate", "\xBC\xAAZ", "", bodyWith("Z", "")},
        BodyCase{"TailCutAt444BytesSplittingACharacter", kLongPlate, "1", bodyWith(std::string(443, 'A') + "%D1", "1")},
        BodyCase{"EmptyCode", "\xBC\xAAH1", "", bodyWith("H1", "")},
        BodyCase{"MissingCode", "\xBC\xAAH1", kMissing, bodyWith("H1", "")},
        BodyCase{"CodeKeptWholeAndInItsCase", "\xBC\xAAH1", "ab-9x" + std::string(600, '7'),
                 bodyWith("H1", "ab-9x" + std::string(600, '7'))},
        BodyCase{"AmpersandStaysInItsField", "\xBC\xAAH1&2", "1234", bodyWith("H1%262", "1234")},
        BodyCase{"FormSyntaxEscaped", "\xBC\xAA=%+&", "a&FDJH=b", bodyWith("%3D%25%2B%26", "a%26FDJH%3Db")},
        BodyCase{"SpaceBecomesPlus", "\xBC\xAA" "H 1", " 12 ", bodyWith("H+1", "+12+")},
        BodyCase{"UnreservedKept", "\xBC\xAA*-._", "~!", bodyWith("*-._", "%7E%21")},
        BodyCase{"DoubleByteCharacterEscaped", "\xBC\xAA\xD1\xA7", "\xD1\xA7", bodyWith("%D1%A7", "%D1%A7")},
        BodyCase{"ControlAndHighBytes", "\xBC\xAA\x01\x7F\x80\xFF", "\r\n", bodyWith("%01%7F%80%FF", "%0D%0A")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComposeQueryBody, ExampleBodyIs58Bytes) {
  TextValue body = composeQueryBody("\xBC\xAAH12345", "1234");
  EXPECT_EQ(body.length(), 58u);
}

TEST(ComposeQueryBody, BodyIsPureAsciiAndDecodesToTheUserFields) {
  std::string plate = "\xBC\xAA" "a&b=c%d+e f\xD1\xA7\x80";
  std::string code = "=&%+ \xFF";
  TextValue body = composeQueryBody(plate.c_str(), code.c_str());
  for (unsigned char byte : body.view()) EXPECT_LT(byte, 0x80);
  const std::vector<FormField> expected = {
      {"hpzl", "02"}, {"hphm", "\xBC\xAA" + plate.substr(2)}, {"FDJH", code}, {"Submit.x", "50"}, {"Submit.y", "9"}};
  EXPECT_EQ(testing::decodeForm(body.view()), expected);
}

}  // namespace
}  // namespace quorvel
