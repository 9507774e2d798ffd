// Filling the FieldStore from the form and preparing its texts. Literals here are code page 936.
#include "cp936.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

constexpr std::string_view kAuthorSuffixHead = "------改写：《";
constexpr std::string_view kAuthorSuffixTail = "》";

// A control's text as a window holds it: up to its first NUL, and whole characters only.
std::string ControlText(const FormReader& readControl, int controlId) {
  const std::string raw = readControl(controlId);
  return KeepValidCharacters(std::string_view(raw).substr(0, raw.find('\0')));
}

}  // namespace

void ReadForm(const FormReader& readControl, FieldStore& store) {
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const std::string text = ControlText(readControl, ValueBoxId(slot));
    store[slot] = WholeCharacterPrefix(text, kValueBoxReadLimit);
  }
  for (int text = 0; text < kTextCount; ++text) {
    store[kFirstTextSlot + text] = ControlText(readControl, TextBoxId(text));
  }
}

void ApplyTextDefaults(FieldStore& store) {
  for (int text = 0; text < kTextCount; ++text) {
    const char* defaultText = kTextCatalogue[text].defaultText;
    std::string& slot = store[kFirstTextSlot + text];
    if (defaultText != nullptr && slot.empty()) slot = defaultText;
  }
}

void FormAuthorSuffix(FieldStore& store) {
  std::string& name = store[kAuthorSlot];
  if (!name.empty()) name = std::string(kAuthorSuffixHead) + name + std::string(kAuthorSuffixTail);
}

bool IsSet(std::string_view slotText) {
  return !slotText.empty() && slotText != "0";
}

}  // namespace wondergen
