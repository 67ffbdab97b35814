// The query action: what one click of the query button does.
//
// input → composition → exchange → extraction → display: the plate in 编辑框1 is
// upper-cased and written back; a fresh request object is prepared; the body is composed
// from 编辑框1 and 编辑框2 as they now are; it is sent and the reply kept; the reply is
// parked in 编辑框98; the result line is cut out of it and shown in the status bar. Every
// step runs once per click whatever the others did; nothing is reported but the result.
// The click blocks the window thread until the exchange has ended.
#pragma once

namespace quorvel {

// The handler of the click of 按钮1.
void onQueryClicked();

}  // namespace quorvel
