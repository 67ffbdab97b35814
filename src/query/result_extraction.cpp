// The cut of the result line, with every intermediate text released right after its last use.
#include "query/result_extraction.h"

#include "query/program_holders.h"
#include "shell/control_access.h"
#include "values/automation.h"
#include "values/text_operations.h"

namespace quorvel {
namespace {

constexpr const char* kOpeningMarker = "';'>";
constexpr double kOpeningMarkerLength = 4;
constexpr std::int32_t kWindowLength = 333;
constexpr const char* kClosingMarker = "</font>";
constexpr std::int32_t kResultPart = 0;

TextValue readPageBuffer() { return readControlText(ids::QueryWindow, ids::编辑框98); }

// The 333 bytes after the first opening marker, from two fresh reads of the buffer.
TextValue cutWindowAfterMarker() {
  TextValue page = readPageBuffer();
  const std::int32_t p = findText(orSharedEmptyText(page), kOpeningMarker, 1, false);
  page.release();
  // Without a marker p is -1, and the window starts at the page's third byte.
  const auto s = static_cast<std::int32_t>(truncateToInteger(static_cast<double>(p) + kOpeningMarkerLength));
  page = readPageBuffer();
  TextValue window = midText(orSharedEmptyText(page), s, kWindowLength);
  page.release();
  return window;
}

}  // namespace

void parkReplyInBuffer() {
  ByteSet bytes = variantToBytes(ResponseVariant);
  TextValue page = bytesToText(bytes.isMissing() ? sharedEmptyByteSet : ByteSetRef(bytes));
  bytes.release();
  writeControlText(ids::QueryWindow, ids::编辑框98, page);
  page.release();
}

TextValue extractResultLine() {
  TextValue firstWindow = cutWindowAfterMarker();
  TextValue secondWindow = cutWindowAfterMarker();
  const std::int32_t h = findText(orSharedEmptyText(secondWindow), kClosingMarker, 1, false);
  secondWindow.release();
  const auto n = static_cast<std::int32_t>(truncateToInteger(static_cast<double>(h) - 1));
  TextValue result = leftText(orSharedEmptyText(firstWindow), n);
  firstWindow.release();
  return result;
}

void showResult(TextValue result) {
  setStatusText(ids::QueryWindow, ids::状态条1, kResultPart, orSharedEmptyText(result));
  result.release();
}

}  // namespace quorvel
