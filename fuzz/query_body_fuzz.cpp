// Checks that a composed body is ASCII, encodes as a browser would, and decodes to the user's fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "query/query_body.h"
#include "support/form_fields.h"

namespace {

std::string asText(std::string bytes) { return bytes.substr(0, bytes.find('\0')); }

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

std::string referenceEncode(const std::string& field) {
  static const std::string kKept = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789*-._";
  std::string encoded;
  for (char byte : field) {
    if (kKept.find(byte) != std::string::npos) {
      encoded += byte;
    } else if (byte == ' ') {
      encoded += '+';
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(byte));
      encoded += escape;
    }
  }
  return encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string code = asText(data.ConsumeRandomLengthString(64));
  const std::string plate = asText(data.ConsumeRemainingBytesAsString());
  const std::string tail = plate.size() > 2 ? plate.substr(2, 444) : "";

  quorvel::TextValue body = quorvel::composeQueryBody(plate.c_str(), code.c_str());
  const std::string_view composed = body.view();

  for (unsigned char byte : composed) check(byte >= 0x20 && byte < 0x7F, "body is printable ASCII");
  check(composed == "hpzl=02&hphm=%BC%AA" + referenceEncode(tail) + "&FDJH=" + referenceEncode(code) +
                        "&Submit.x=50&Submit.y=9",
        "body encodes each field as a browser would");

  const std::vector<quorvel::testing::FormField> expected = {
      {"hpzl", "02"}, {"hphm", "\xBC\xAA" + tail}, {"FDJH", code}, {"Submit.x", "50"}, {"Submit.y", "9"}};
  check(quorvel::testing::decodeForm(composed) == expected, "body decodes to the plate tail and the code");
  return 0;
}
