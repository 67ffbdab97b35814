// The form body a query posts: the fixed form with the user's plate tail and code filled in.
//
// The body joins five pieces: "hpzl=02&hphm=%BC%AA", the plate tail (bytes 3 to 446 of the
// plate text; the province character sent is always 吉, BC AA), "&FDJH=", the code, and
// "&Submit.x=50&Submit.y=9". The plate tail and the code are form-encoded as a browser
// encodes a field, so that an '&', '=', '%' or '+' the user typed stays inside its field:
// bytes other than A-Z, a-z, 0-9 and "*-._" become %XX (upper-case hex), a space becomes '+'.
// The body is therefore always pure ASCII.
#pragma once

#include <string_view>

#include "values/text_value.h"

namespace quorvel {

// The query's form body for a plate text and a code text (either may be missing). Always
// present; allocated once at its exact size; the caller owns it.
TextValue composeQueryBody(TextRef plate, TextRef code);

}  // namespace quorvel
