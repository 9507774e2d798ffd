// A document as data: a table of its constant lines, with kComposedLine where a line depends on
// the form and is composed by the document's own code.
#pragma once

#include <array>

#include "wondergen/generator.h"

namespace wondergen {

inline constexpr const char* kComposedLine = nullptr;

// Sets every constant line of `table` into `lines`; the composed ones are left to the caller.
template <std::size_t N>
void SetConstantLines(const std::array<const char*, N>& table, LineBuffer& lines) {
  static_assert(N <= kLineBufferSlots, "a document fits the line buffer");
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i] != kComposedLine) lines[i] = table[i];
  }
}

}  // namespace wondergen
