// The query action: what one click of the query button does, from the two input boxes to
// the result in the status bar.
#pragma once

namespace quorvel {

// The handler of the click of 按钮1.
void onQueryClicked();

}  // namespace quorvel
