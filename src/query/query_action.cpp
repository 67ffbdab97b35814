// The click handler of the query button.
#include "query/query_action.h"

namespace quorvel {

void onQueryClicked() {
  // The query itself is not wired in yet: the click is bound, and does nothing so far.
}

}  // namespace quorvel
