// QueryWindow's definition: the window and its controls with their places, texts and settings.
#include "shell/window_definition.h"

namespace quorvel {
namespace {

using namespace ids;

// GBK texts: " Quorvel", "车牌号：", "车辆识别代码后4位：", "吉H", "查询".
constexpr std::string_view kCaption = " Quorvel";
constexpr std::string_view kPlateLabel = "\xB3\xB5\xC5\xC6\xBA\xC5\xA3\xBA";
constexpr std::string_view kCodeLabel = "\xB3\xB5\xC1\xBE\xCA\xB6\xB1\xF0\xB4\xFA\xC2\xEB\xBA\xF3" "4" "\xCE\xBB\xA3\xBA";
constexpr std::string_view kPlatePreset = "\xBC\xAA" "H";
constexpr std::string_view kQueryCaption = "\xB2\xE9\xD1\xAF";

constexpr ControlDefinition kQueryWindowControls[] = {
    // id      name         kind                     parent  place rect                  text           tab   order limit filter
    {编辑框98, "编辑框98", ControlKind::editBox, 分组框1, 1, {167, 248, 80, 20}, "", true, 0, 0, InputFilter::none, 0},
    {标签2, "标签2", ControlKind::label, 分组框1, 2, {14, 40, 112, 24}, kCodeLabel, false, 0, 0, InputFilter::none, 0},
    {编辑框2, "编辑框2", ControlKind::editBox, 分组框1, 3, {128, 42, 80, 20}, "", true, 0, 4, InputFilter::digitsAndMinus, 0},
    {状态条1, "状态条1", ControlKind::statusBar, QueryWindow, 4, {0, 98, 247, 20}, "", false, 0, 0, InputFilter::none, 305},
    {标签1, "标签1", ControlKind::label, 分组框1, 5, {80, 12, 48, 24}, kPlateLabel, false, 0, 0, InputFilter::none, 0},
    {编辑框1, "编辑框1", ControlKind::editBox, 分组框1, 6, {128, 14, 80, 20}, kPlatePreset, true, 0, 0, InputFilter::none, 0},
    {按钮1, "按钮1", ControlKind::pushButton, 分组框1, 7, {215, 15, 80, 46}, kQueryCaption, true, 0, 0, InputFilter::none, 0},
    {分组框1, "分组框1", ControlKind::groupBox, QueryWindow, 8, {0, -4, 304, 84}, "", false, 0, 0, InputFilter::none, 0},
};

constexpr WindowDefinition kWindowDefinitions[] = {
    {QueryWindow, kCaption, 310, 127, kQueryWindowControls},
};

}  // namespace

const ControlDefinition* WindowDefinition::control(ControlId controlId) const {
  for (const ControlDefinition& definition : controls) {
    if (definition.id == controlId) return &definition;
  }
  return nullptr;
}

const WindowDefinition* findWindowDefinition(WindowId id) {
  for (const WindowDefinition& definition : kWindowDefinitions) {
    if (definition.id == id) return &definition;
  }
  return nullptr;
}

}  // namespace quorvel
