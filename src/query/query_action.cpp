// The click handler: the query's steps in their order, each temporary released at once.
#include "query/query_action.h"

#include <utility>

#include "query/program_holders.h"
#include "query/query_body.h"
#include "query/query_exchange.h"
#include "query/result_extraction.h"
#include "shell/control_access.h"
#include "values/text_operations.h"

namespace quorvel {

void onQueryClicked() {
  // The plate is upper-cased in its box before the request is touched.
  TextValue typedPlate = readControlText(ids::QueryWindow, ids::编辑框1);
  TextValue upperPlate = upperCaseText(orSharedEmptyText(typedPlate));
  typedPlate.release();
  writeControlText(ids::QueryWindow, ids::编辑框1, upperPlate);
  upperPlate.release();

  prepareQueryRequest(RequestObject, currentQueryPage());

  // The body is made from the boxes as they now hold the plate and the code.
  TextValue plate = readControlText(ids::QueryWindow, ids::编辑框1);
  TextValue code = readControlText(ids::QueryWindow, ids::编辑框2);
  TextValue body = composeQueryBody(plate, code);
  plate.release();
  code.release();

  sendQueryAndKeepReply(RequestObject, &ResponseVariant, std::move(body));

  parkReplyInBuffer();
  showResult(extractResultLine());
}

}  // namespace quorvel
