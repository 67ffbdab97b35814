// The query exchange: one HTTP POST to the query page through the request object, its reply
// kept in the response holder.
//
// It comes in two pieces that the query action calls around the composition of the body:
// `prepareQueryRequest` creates a fresh request object, gives it the four time-outs, opens
// a synchronous POST to the query page and sets the seven headers; `sendQueryAndKeepReply`
// sends the body and puts the reply's body in place of the previous one. No step tests
// another: a failure anywhere is silent and leaves an empty reply.
#pragma once

#include <string>
#include <string_view>

#include "values/automation.h"
#include "values/text_value.h"

namespace quorvel {

// The query page of one query server, and the Referer that goes with it.
struct QueryPage {
  std::string address;  // http://<host>/wzch/index.asp?Modid=013001&Add=01
  std::string referer;  // http://<host>/wzch/index.asp
};

// The query page on `host` (a host name or address, with ":port" if not 80).
QueryPage queryPageFor(std::string_view host);

// The query page of the deployment's query server, chosen when the program is built.
const QueryPage& deployedQueryPage();

// The query page that queries go to: the deployed one, unless `pointQueriesAt` chose
// another host (tests point the program at servers of their own).
const QueryPage& currentQueryPage();
void pointQueriesAt(std::string_view host);

// Creates the request object in `requestObject`, sets its time-outs, opens the POST to
// `page` and sets the seven request headers, in that order.
void prepareQueryRequest(ComObject* requestObject, const QueryPage& page);

// Sends `body` (released once the send has returned), fetches the reply's body, and puts
// it in place of the Variant `*responseVariant` refers to, which is cleared and released
// only then.
void sendQueryAndKeepReply(ComObject* requestObject, Variant** responseVariant, TextValue body);

}  // namespace quorvel
