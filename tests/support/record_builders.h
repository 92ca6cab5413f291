#pragma once
// Playbill records for tests. P, W and I are short because record lists are written as
// {P("News"), W(0, 0, 32, 16), I(kKindClock)}.

#include <cstdint>
#include <string_view>

#include "playbill/prg_item.h"

namespace vantorel::test {

// A program record with the defaults the user gets, named `name`.
tagPrgItem P(std::string_view name = {});
// A window record with the defaults the user gets.
tagPrgItem W(std::int16_t left = 0, std::int16_t top = 0, std::uint16_t width = 16, std::uint16_t height = 16);
// An item record of `kind` showing `media`.
tagPrgItem I(std::uint16_t kind = kKindImageText, std::string_view media = {});

}  // namespace vantorel::test
