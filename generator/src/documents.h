// How the documents are composed: line by line into a LineBuffer, from a table of constant
// lines in which kComposedLine marks each line that depends on the form. A document sets every one
// of its lines, so nothing of an earlier, longer document can reach it.
#pragma once

#include <array>
#include <string>

#include "wondergen/generator.h"

namespace wondergen {

inline constexpr int kLocalizationLineCount = 17;
inline constexpr int kGameplayLineCount = 70;
inline constexpr int kIconLineCount = 7;
inline constexpr int kManifestLineCount = 46;

// Line i of the document being composed, in code page 936; each line carries its own LF, if any.
// It holds the longest document, the gameplay data (SetConstantLines checks that each fits).
inline constexpr int kLineBufferSlots = kGameplayLineCount;
using LineBuffer = std::array<std::string, kLineBufferSlots>;

// Gives each empty text of the store (slots 27..30) its default, before the documents are composed.
void ApplyTextDefaults(FieldStore& store);

// The text of the localization document's entry for a text slot (27..30), escaped, exactly as
// it stands between <Text> and </Text>: the mod list takes the title, teaser and description
// from the manifest, which must hold the same bytes.
std::string LocalizedEntryText(const FieldStore& store, int textSlot);

// Each composes its document's lines from the store, which it only reads.
void ComposeLocalizationDocument(const FieldStore& store, LineBuffer& lines);
void ComposeGameplayDocument(const FieldStore& store, LineBuffer& lines);
void ComposeIconDocument(const FieldStore& store, LineBuffer& lines);
void ComposeManifestDocument(const FieldStore& store, LineBuffer& lines);

inline constexpr const char* kComposedLine = nullptr;

// Sets every constant line of `table` into `lines`; the composed ones are left to the caller.
template <std::size_t N>
void SetConstantLines(const std::array<const char*, N>& table, LineBuffer& lines) {
  static_assert(N <= kLineBufferSlots, "a document fits the line buffer");
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i] != kComposedLine) lines[i] = table[i];
  }
}

// Whether line `index` of `table` is `text`; for checking at compile time where composed lines
// stand among the constant ones.
template <std::size_t N>
constexpr bool LineIs(const std::array<const char*, N>& table, int index, const char* text) {
  const char* line = table[static_cast<std::size_t>(index)];
  if (line == kComposedLine || text == kComposedLine) return line == text;
  return std::string_view(line) == std::string_view(text);
}

}  // namespace wondergen
