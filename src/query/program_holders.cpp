// Storage of the two global holders; the life cycle fills and empties them.
#include "query/program_holders.h"

namespace quorvel {

ComObject* RequestObject = nullptr;
Variant* ResponseVariant = nullptr;

}  // namespace quorvel
