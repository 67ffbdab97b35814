// Result extraction: the reply parked as text in the off-view box 编辑框98, the result line cut
// out of it, and shown in part 0 of the status bar.
//
// The result is the text after the page's first "';'>" and before the first "</font>" that
// lies wholly within the 333 bytes after that marker (from the page's third byte when the
// marker is absent). All searches are byte searches in GBK, case-sensitive, stepping over
// double-byte characters whole. The page goes through 编辑框98 and is read back from it,
// four times, fresh each time.
#pragma once

#include "values/text_value.h"

namespace quorvel {

// The reply body in ResponseVariant, up to its first zero byte, written into 编辑框98.
void parkReplyInBuffer();

// The result line cut from 编辑框98's text; missing when there is none. The caller owns it.
TextValue extractResultLine();

// Shows the result in part 0 of 状态条1 (a missing result empties it) and releases it.
void showResult(TextValue result);

}  // namespace quorvel
