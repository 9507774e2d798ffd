// The IDs of the form's controls. They come in numbered blocks, one per role, and the code relies
// on the arithmetic between the blocks: field k (slot k - 1) owns check box k, entry box k + 27 and
// value box k + 54.
#pragma once

#include "wondergen/generator.h"

namespace wondergen {

inline constexpr int kFirstFieldCheckBoxId = 1;
inline constexpr int kFirstEntryBoxId = 28;
inline constexpr int kFirstValueBoxId = 55;
inline constexpr int kSelectAllBoxId = 82;
inline constexpr int kFirstTextLabelId = 83;
inline constexpr int kFirstTextBoxId = 88;
inline constexpr int kGenerateButtonId = 93;
inline constexpr int kInstallBoxId = 94;           // "also install into the game"
inline constexpr int kStatusBoxId = 95;            // what the last run did
inline constexpr int kWonderNumberBoxId = 96;      // the wonder's number, 1..99
inline constexpr int kWonderNumberCaptionId = 97;  // its caption, a static control
// The wonder's own icon, right of the text boxes.
inline constexpr int kIconButtonId = 210;         // "图标…": chooses a picture
inline constexpr int kDefaultIconButtonId = 211;  // "默认图标": back to the Monument's icon
inline constexpr int kIconPreviewId = 212;        // the icon as it will be, drawn by the window
// The wonders made before, by the number in its box.
inline constexpr int kReadWonderButtonId = 213;    // "读取": fills the form from the wonder
inline constexpr int kRemoveWonderButtonId = 214;  // "删除": removes it from the game
// The wonder's rules of play, in a group box "规则" below the help text: a caption, a static
// control, stands right before each box and names it; the check box names itself.
inline constexpr int kRulesGroupId = 215;
inline constexpr int kFirstRuleCaptionId = 216;
inline constexpr int kCostBoxId = 220;          // "建造成本": 1..9999, empty being 1
inline constexpr int kPrerequisiteBoxId = 221;  // "前置科技或市政": a drop-down list
inline constexpr int kObsoleteEraBoxId = 222;   // "过时时代": a drop-down list
inline constexpr int kQuoteBoxId = 223;         // "名言": a text box
inline constexpr int kGoldPurchaseBoxId = 224;  // "可用金币购买": ticked by default
inline constexpr int kLastControlId = 224;      // child controls' IDs are 1..97 and 210..224

// The hidden static control that names control `id` for a screen reader, where it has one.
inline constexpr int kFirstNameLabelId = 100;
constexpr int NameLabelId(int id) {
  return kFirstNameLabelId + id;
}
static_assert(kFirstNameLabelId > kWonderNumberCaptionId &&
                  NameLabelId(kWonderNumberCaptionId) < kIconButtonId &&
                  NameLabelId(kIconButtonId) > kLastControlId,
              "the hidden names have IDs of their own");

// The caption of the rule box `id` (cost, prerequisite, era, quote).
constexpr int RuleCaptionId(int id) {
  return kFirstRuleCaptionId + (id - kCostBoxId);
}
static_assert(RuleCaptionId(kCostBoxId) == kRulesGroupId + 1 &&
                  RuleCaptionId(kQuoteBoxId) + 1 == kCostBoxId &&
                  kGoldPurchaseBoxId == kQuoteBoxId + 1 && kLastControlId == kGoldPurchaseBoxId,
              "the rules' captions, then their boxes, after the group");

// `slot` is the field's place in the catalogue, 0..26; `text` the text's place, 0..4.
constexpr int FieldCheckBoxId(int slot) {
  return kFirstFieldCheckBoxId + slot;
}
constexpr int EntryBoxId(int slot) {
  return kFirstEntryBoxId + slot;
}
constexpr int ValueBoxId(int slot) {
  return kFirstValueBoxId + slot;
}
constexpr int TextLabelId(int text) {
  return kFirstTextLabelId + text;
}
constexpr int TextBoxId(int text) {
  return kFirstTextBoxId + text;
}

static_assert(kFirstEntryBoxId == kFirstFieldCheckBoxId + kFieldCount,
              "entry boxes follow check boxes");
static_assert(kFirstValueBoxId == kFirstEntryBoxId + kFieldCount, "value boxes follow entry boxes");
static_assert(kSelectAllBoxId == kFirstValueBoxId + kFieldCount, "select-all follows value boxes");
static_assert(kFirstTextBoxId == kFirstTextLabelId + kTextCount, "text boxes follow their labels");
static_assert(kGenerateButtonId == kFirstTextBoxId + kTextCount, "the generate button comes last");
static_assert(kInstallBoxId == kGenerateButtonId + 1 && kStatusBoxId == kInstallBoxId + 1 &&
                  kWonderNumberBoxId == kStatusBoxId + 1,
              "the install box, the status box and the wonder's number follow the button");

}  // namespace wondergen
