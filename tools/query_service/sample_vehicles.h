// The stand-in service's sample vehicles and the GBK result page it answers for a query.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::service {

// The page for a query of plate `plate` and code `code`, both GBK bytes as the form carried
// them. The result text follows the page's first "';'>" and ends at the next "</font>".
std::string resultPage(std::string_view plate, std::string_view code);

// The result text alone, GBK, as the page carries it.
std::string resultText(std::string_view plate, std::string_view code);

}  // namespace quorvel::service
