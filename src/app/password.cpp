#include "app/password.h"

#include <algorithm>

namespace vantorel {
namespace {

// Our own key table: blocks made with another table never verify.
constexpr std::array<std::uint8_t, 32> kKeyTable = {
    0x5A, 0x17, 0xC3, 0x8E, 0x21, 0xF4, 0x6B, 0x90, 0x3D, 0xA8, 0x72, 0x0F, 0xE5, 0x4C, 0xB1, 0x66,
    0x09, 0xDA, 0x35, 0x7E, 0xC8, 0x13, 0x9F, 0x54, 0xEB, 0x2A, 0x87, 0x40, 0xBD, 0x1C, 0x63, 0xF6,
};

// The C library's rand(): the generator every stored block was made with.
class CrtRandom {
public:
  explicit CrtRandom(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next() {
    m_state = m_state * 214013u + 2531011u;
    return (m_state >> 16) & 0x7FFFu;
  }

private:
  std::uint32_t m_state;
};

}  // namespace

PasswordBlock EncodePassword(std::string_view text, bool newBlock, std::uint8_t keyByte) {
  text = text.substr(0, std::min(text.size(), kMaxPasswordLength));
  const std::size_t length = text.size();
  PasswordBlock block{};

  std::uint32_t c = 0;
  if (newBlock) {
    std::uint32_t seed = 0;
    for (std::size_t i = 0; i < 4 && i < length; ++i) seed |= std::uint32_t{static_cast<std::uint8_t>(text[i])} << (8 * i);
    c = CrtRandom(seed).Next() % 32;
    keyByte = static_cast<std::uint8_t>(c + 32);
  } else {
    c = keyByte % 32u;
  }
  block[32] = keyByte;
  block[33] = static_cast<std::uint8_t>(length);

  std::uint32_t tableSum = 0;  // S1 seeds the filler
  std::uint16_t byteSum = 0;   // S2 goes into the checksum
  for (std::size_t i = 0; i < length; ++i) {
    block[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) ^ kKeyTable[c]);
    tableSum += kKeyTable[c] + block[i];
    byteSum = static_cast<std::uint16_t>(byteSum + block[i]);
    c = (c + 1) % 32;
  }
  CrtRandom filler(tableSum);
  for (std::size_t i = length; i < kMaxPasswordLength; ++i) {
    block[i] = static_cast<std::uint8_t>(filler.Next() & 0xFFu);
    byteSum = static_cast<std::uint16_t>(byteSum + block[i]);
  }
  const auto checksum = static_cast<std::uint16_t>(block[33] + block[32] + byteSum);
  block[34] = static_cast<std::uint8_t>(checksum & 0xFFu);
  block[35] = static_cast<std::uint8_t>(checksum >> 8);
  return block;
}

bool CheckPassword(std::string_view typed, const PasswordBlock& stored) {
  return EncodePassword(typed, false, stored[32]) == stored;
}

std::string DecodePassword(const PasswordBlock& stored) {
  // A damaged block must never lead outside the table or past the 32 text bytes.
  const std::size_t length = std::min<std::size_t>(stored[33], kMaxPasswordLength);
  const std::size_t offset = stored[32] % 32u;  // (K - 32) mod 32
  std::string text(length, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    text[i] = static_cast<char>(stored[i] ^ kKeyTable[(offset + i) % 32]);
  }
  return text;
}

bool IsEmptyPasswordBlock(const PasswordBlock& block) {
  return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace vantorel
