// The window definition: QueryWindow and its eight controls, as data read once at start-up.
//
// Every text here is GBK, as the program keeps all its texts; it becomes Unicode only where
// it meets the toolkit. Rectangles are left, top, width, height in pixels, relative to the
// parent's client area; the window's own size is its outer size, frame included.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorvel {

using WindowId = std::uint32_t;
using ControlId = std::uint32_t;

enum class ControlKind { editBox, label, pushButton, groupBox, statusBar };

// What an edit box lets the user type.
enum class InputFilter { none, digitsAndMinus };

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlDefinition {
  ControlId id;
  std::string_view name;  // UTF-8, for people and tests; the program does not use it at run time
  ControlKind kind;
  ControlId parent;       // the window's id, or the id of the group box it lies in
  int place;              // smaller places lie above larger ones, and break ties in the focus cycle
  Rect rect;
  std::string_view text;  // GBK
  bool tabStop;
  int tabOrder;
  int maxTypedLength;     // edit boxes: 0 means no limit of its own
  InputFilter filter;
  int statusPartRightEdge;  // status bars: the right edge of its one part
};

struct WindowDefinition {
  WindowId id;
  std::string_view caption;  // GBK
  int outerWidth;
  int outerHeight;
  std::span<const ControlDefinition> controls;

  const ControlDefinition* control(ControlId id) const;
};

namespace ids {
inline constexpr WindowId QueryWindow = 0x52010001;
inline constexpr ControlId 分组框1 = 0x16010013;
inline constexpr ControlId 标签1 = 0x16010014;
inline constexpr ControlId 编辑框1 = 0x16010015;
inline constexpr ControlId 按钮1 = 0x16010016;
inline constexpr ControlId 状态条1 = 0x16010018;
inline constexpr ControlId 标签2 = 0x16010019;
inline constexpr ControlId 编辑框2 = 0x1601001A;
inline constexpr ControlId 编辑框98 = 0x1601001B;
}  // namespace ids

// The definition of the window with this id, or nullptr when the program has none.
const WindowDefinition* findWindowDefinition(WindowId id);

}  // namespace quorvel
