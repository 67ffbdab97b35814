// The text operations the query logic is written in: joining, upper-casing, cutting, searching.
//
// All of them count bytes: positions are 1-based byte positions, counts are byte counts.
// Characters matter in one place only, the double-byte rule: a byte below 0x80 is a
// character by itself; a byte of 0x80 or above begins a two-byte character, and the byte
// after it is that character's second byte whatever its value. `upperCaseText` and
// `findText` follow the rule, scanning forward from the first byte they look at; the
// cutting operations do not, and can split a character.
//
// No operation fails: positions and counts outside a text give an empty result or -1.
// Every text returned is a new block owned by the caller; empty results are missing
// texts, except for `concatTexts`, whose result is always present. Arguments are never
// kept or released. The callers pass the shared empty text in place of a missing text,
// though a missing one is taken as empty here too.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "values/byte_set.h"
#include "values/text_value.h"

namespace quorvel {

// The texts joined in order; a missing text joins as nothing. Always present.
TextValue concatTexts(std::initializer_list<TextRef> texts);

// A copy with the ASCII letters a-z raised to A-Z; second bytes of double-byte characters
// stay as they are. Missing if empty.
TextValue upperCaseText(TextRef text);

// At most `count` bytes from position `start`. Missing when `start` is below 1 or past
// the end, or `count` is 0 or less.
TextValue midText(TextRef text, std::int32_t start, std::int32_t count);

// The first `count` bytes. Missing when `count` is 0 or less, or the text is empty.
TextValue leftText(TextRef text, std::int32_t count);

// The 1-based position, counted from the text's first byte, of the first occurrence of
// `sought` at or after `start`, or -1. A start of 1 or less searches the whole text.
// Candidates advance by the double-byte rule, so no match begins on a second byte. With
// `ignoreCase`, ASCII letters also match their other case, byte by byte. An empty `sought`
// gives 1 when the searched range holds a byte, else -1.
std::int32_t findText(TextRef text, TextRef sought, std::int32_t start, bool ignoreCase);

// The byte set's bytes up to its first zero byte, as they are (no code-page conversion).
// Missing when that leaves nothing; a missing byte set counts as empty.
TextValue bytesToText(ByteSetRef bytes);

// Drops the fraction of `value`, toward zero, whatever the floating-point rounding mode,
// and leaves that mode as it was. NaN gives 0; values beyond the 64-bit range saturate.
std::int64_t truncateToInteger(double value);

}  // namespace quorvel
