// The layout of the form. Literals here are code page 936.
#include "control_table.h"

#include "wondergen/generator.h"

namespace wondergen::ui {
namespace {

// Field row k (k = 1..27) lies at y = 20 + 25k: check box, entry box, value box.
constexpr int FieldRowY(int slot) {
  return 20 + 25 * (slot + 1);
}
// Text row j (j = 0..4) lies at y = 40 + 25j: label, text box.
constexpr int TextRowY(int text) {
  return 40 + 25 * text;
}

}  // namespace

std::array<ControlSpec, kLastControlId + 1> g_controlTable;

void FillControlTable() {
  g_controlTable[kMainWindowRecord] = {"", "Ziduvuv", kMainWindowStyle, 1, 1, 1080, 960};
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const int y = FieldRowY(slot);
    g_controlTable[FieldCheckBoxId(slot)] = {
        "button", kFieldCatalogue[slot].label, kCheckBoxStyle, 0, y, 120, 20};
    const std::string label = kFieldCatalogue[slot].label;
    g_controlTable[EntryBoxId(slot)] = {"edit", "", kEditBoxStyle, 120, y, 100, 20, label};
    g_controlTable[ValueBoxId(slot)] = {"edit", "", kEditBoxStyle,        300, y,
                                        100,    20, label + " 采用的数值"};
  }
  g_controlTable[kSelectAllBoxId] = {"button", "全选", kCheckBoxStyle, 0, 20, 120, 20};
  for (int text = 0; text < kTextCount; ++text) {
    const int y = TextRowY(text);
    g_controlTable[TextLabelId(text)] = {
        "edit", kTextCatalogue[text].label, kLabelStyle, 480, y, 80, 20};
    g_controlTable[TextBoxId(text)] = {
        "edit", "", kEditBoxStyle, 600, y, 300, 20, kTextCatalogue[text].label};
  }
  g_controlTable[kGenerateButtonId] = {"button", "生成", kButtonStyle, 480, 160, 120, 120};
  // Right of the button, above the help text and within its width, so that the form's size and
  // the scale it is drawn at stay those of the 93 controls.
  g_controlTable[kInstallBoxId] = {"button", "同时安装到游戏", kAutoCheckBoxStyle, 610, 165, 180,
                                   20};
  g_controlTable[kStatusBoxId] = {"edit", "", kStatusBoxStyle, 610, 190, 270, 90, "生成结果"};
  // Right of the install box, where the text boxes end; the caption, a static right before the
  // box, names it.
  g_controlTable[kWonderNumberCaptionId] = {"static", "奇观编号", kCaptionStyle, 800, 165, 64, 20};
  g_controlTable[kWonderNumberBoxId] = {"edit", "", kNumberBoxStyle, 866, 165, 34, 20};
  // A column right of the text boxes, within the window's width: the icon as it will be, and the
  // buttons that choose it.
  // The preview's text, which the window never paints, names it for a screen reader.
  g_controlTable[kIconPreviewId] = {"static", "奇观图标", kPreviewStyle, 920, 40, 64, 64};
  g_controlTable[kIconButtonId] = {"button", "图标…", kButtonStyle, 920, 110, 64, 22};
  g_controlTable[kDefaultIconButtonId] = {"button", "默认图标", kButtonStyle, 920, 136, 64, 22};
  // Below them, level with the wonder's number, which they act on.
  g_controlTable[kReadWonderButtonId] = {"button", "读取", kButtonStyle, 920, 165, 64, 22};
  g_controlTable[kRemoveWonderButtonId] = {"button", "删除", kButtonStyle, 920, 191, 64, 22};
  // The rules of play, below the help text and no lower than the last field row, so that the
  // window's size stays that of the other controls on every screen: a row each, but the era and
  // gold purchase side by side; the boxes in a column right of the longest caption. The lists'
  // items are the window's (form_commands.cpp).
  g_controlTable[kRulesGroupId] = {"button", "规则", kGroupBoxStyle, 480, 598, 504, 117};
  const auto caption = [](int box, const char* text, int y) {
    g_controlTable[RuleCaptionId(box)] = {"static", text, kCaptionStyle, 490, y + 3, 114, 17};
  };
  caption(kCostBoxId, "建造成本", 616);
  g_controlTable[kCostBoxId] = {"edit", "", kNumberBoxStyle, 606, 616, 50, 20};
  caption(kPrerequisiteBoxId, "前置科技或市政", 641);
  g_controlTable[kPrerequisiteBoxId] = {"combobox", "", kDropDownListStyle, 606, 641, 368, 20,
                                        {},         300};
  caption(kObsoleteEraBoxId, "过时时代", 666);
  g_controlTable[kObsoleteEraBoxId] = {"combobox", "", kDropDownListStyle, 606, 666, 124, 20,
                                       {},         180};
  g_controlTable[kGoldPurchaseBoxId] = {"button", "可用金币购买", kAutoCheckBoxStyle, 760, 666, 140,
                                        20};
  caption(kQuoteBoxId, "名言", 691);
  g_controlTable[kQuoteBoxId] = {"edit", "", kLongTextBoxStyle, 606, 691, 368, 20};
}

const std::vector<int>& ControlIds() {
  static const std::vector<int> ids = [] {
    std::vector<int> found;
    for (int id = 1; id <= kLastControlId; ++id)
      if (g_controlTable[id].className != nullptr) found.push_back(id);
    return found;
  }();
  return ids;
}

}  // namespace wondergen::ui
