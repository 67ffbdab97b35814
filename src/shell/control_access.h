// Control access: how the query logic reads and writes the window's controls, by ids.
//
// Texts cross here as GBK bytes, unchanged both ways. A window that is not open, or a
// control it does not have, reads as the missing text and ignores writes.
#pragma once

#include <cstdint>

#include "shell/window_definition.h"
#include "values/text_value.h"

namespace quorvel {

// The edit box's whole text, or the missing text when it is empty. The caller owns it.
TextValue readControlText(WindowId window, ControlId control);

// Replaces the edit box's whole text with a copy of `text` (a missing text empties it);
// nothing is cut, converted or stripped.
void writeControlText(WindowId window, ControlId control, TextRef text);

// Shows `text` in part `index` of a status bar; an index outside its parts does nothing.
void setStatusText(WindowId window, ControlId control, std::int32_t index, TextRef text);

}  // namespace quorvel
