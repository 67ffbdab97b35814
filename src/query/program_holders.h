// The program's two global holders: the request object of the latest query, and its reply.
//
// Start-up creates both before the window exists (RequestObject empty, ResponseVariant the
// integer 0); each query replaces what they hold; the exit routine releases them.
#pragma once

#include "values/automation.h"

namespace quorvel {

extern ComObject* RequestObject;
extern Variant* ResponseVariant;

}  // namespace quorvel
