// Sample vehicles of the stand-in service, and the query page built around a result.
#include "sample_vehicles.h"

#include "platform/code_page.h"

namespace quorvel::service {
namespace {

struct SampleVehicle {
  std::u16string_view plate;
  std::u16string_view code;  // the last four characters of the vehicle identification code
  std::u16string_view result;
};

constexpr SampleVehicle kSampleVehicles[] = {
    {u"吉H12345", u"1234", u"该车有2条未处理的违法记录，罚款共计400元，记分共计9分。"},
    {u"吉H67890", u"5678", u"该车没有未处理的违法记录。"},
    {u"吉H24680", u"9753", u"该车有1条未处理的违法记录，罚款共计200元，记分共计3分。"},
};

constexpr std::u16string_view kWrongCode = u"车辆识别代号后四位不正确，请核对后重新输入。";
constexpr std::u16string_view kUnknownVehicle = u"没有找到该车辆的信息，请核对号牌号码。";

std::u16string_view resultFor(std::string_view plate, std::string_view code) {
  for (const SampleVehicle& vehicle : kSampleVehicles) {
    if (plate != utf16ToGbk(vehicle.plate)) continue;
    return code == utf16ToGbk(vehicle.code) ? vehicle.result : kWrongCode;
  }
  return kUnknownVehicle;
}

}  // namespace

std::string resultText(std::string_view plate, std::string_view code) { return utf16ToGbk(resultFor(plate, code)); }

std::string resultPage(std::string_view plate, std::string_view code) {
  return utf16ToGbk(
             u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
             u"<title>机动车交通违法查询</title></head>\r\n<body>\r\n"
             u"<table width=\"600\"><tr><td><font size=\"2\">查询结果</font></td></tr>\r\n"
             u"<tr><td><font color='#CC0000' onclick='';'>") +
         resultText(plate, code) +
         utf16ToGbk(u"</font></td></tr>\r\n</table>\r\n</body></html>\r\n");
}

}  // namespace quorvel::service
