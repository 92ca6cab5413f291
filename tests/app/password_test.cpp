#include "app/password.h"
#include "app/password_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantorel {
namespace {

// The C library generator the filler and key byte come from, written out independently.
std::uint32_t Rand(std::uint32_t& state) {
  state = state * 214013u + 2531011u;
  return (state >> 16) & 0x7FFF;
}

std::uint16_t Checksum(const PasswordBlock& block) { return static_cast<std::uint16_t>(block[34] | block[35] << 8); }

TEST(Password, BlockLayoutKeyByteAndChecksum) {
  for (const std::string& text : std::vector<std::string>{"50731", "61427", "73085", "a", "abcd", std::string(32, 'x'), ""}) {
    SCOPED_TRACE(text);
    const PasswordBlock block = EncodePassword(text, true);
    std::uint32_t seed = 0;
    for (std::size_t i = 0; i < 4 && i < text.size(); ++i) seed |= std::uint32_t{static_cast<std::uint8_t>(text[i])} << (8 * i);
    EXPECT_EQ(block[32], Rand(seed) % 32 + 32);
    EXPECT_EQ(block[33], text.size());
    unsigned sum = block[32] + block[33];
    for (int i = 0; i < 32; ++i) sum += block[i];
    EXPECT_EQ(Checksum(block), sum % 65536);
    EXPECT_TRUE(CheckPassword(text, block));
    EXPECT_EQ(DecodePassword(block), text);
  }
}

TEST(Password, FillerFollowsTheGeneratorSeededByTheTableSum) {
  const std::string text = "61427";
  const PasswordBlock block = EncodePassword(text, true);
  // The key bytes used are password XOR block; S1 sums them with the stored bytes.
  std::uint32_t s1 = 0;
  for (std::size_t i = 0; i < text.size(); ++i) s1 += (block[i] ^ static_cast<std::uint8_t>(text[i])) + block[i];
  for (std::size_t i = text.size(); i < 32; ++i) EXPECT_EQ(block[i], Rand(s1) & 0xFF) << i;
}

TEST(Password, VerificationRules) {
  const PasswordBlock admin = EncodePassword(kDefaultAdminPassword, true);
  const PasswordBlock advanced = EncodePassword(kDefaultAdvancedPassword, true);
  EXPECT_TRUE(CheckPassword("50731", admin));
  EXPECT_TRUE(CheckPassword("61427", advanced));
  EXPECT_FALSE(CheckPassword("61427", admin));
  EXPECT_FALSE(CheckPassword("5073", admin));
  EXPECT_FALSE(CheckPassword("507310", admin));
  EXPECT_FALSE(CheckPassword("", admin));

  // Only the first 32 characters count: a 40-character password records length 32.
  const std::string longPassword = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
  const PasswordBlock cut = EncodePassword(longPassword, true);
  EXPECT_EQ(cut[33], 32);
  EXPECT_EQ(cut, EncodePassword(longPassword.substr(0, 32), true));
  EXPECT_TRUE(CheckPassword(longPassword.substr(0, 32), cut));

  // A block made with another key table does not verify: change the password bytes the way a
  // different table would, with a checksum that matches them.
  PasswordBlock foreign = admin;
  unsigned sum = foreign[32] + foreign[33];
  for (int i = 0; i < 32; ++i) sum += i < 5 ? (foreign[i] ^= 0x5A) : foreign[i];
  foreign[34] = static_cast<std::uint8_t>(sum & 0xFF);
  foreign[35] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
  EXPECT_FALSE(CheckPassword("50731", foreign));

  // A different key byte (the table read from another position) gives another block.
  EXPECT_NE(EncodePassword("50731", false, static_cast<std::uint8_t>(admin[32] == 63 ? 32 : admin[32] + 1)), admin);
}

TEST(Password, DecodingADamagedBlockStaysInside) {
  PasswordBlock block{};
  for (int key : {0, 31, 32, 63, 64, 200, 255}) {
    for (int length : {0, 5, 32, 33, 255}) {
      block.fill(0xA5);
      block[32] = static_cast<std::uint8_t>(key);
      block[33] = static_cast<std::uint8_t>(length);
      EXPECT_EQ(DecodePassword(block).size(), std::min(length, 32));
    }
  }
}

TEST(PasswordChange, ConfirmRulesAndMessages) {
  struct Case {
    PasswordKind kind;
    const char* oldText;
    const char* newText;
    const char* repeated;
    bool canConfirm;
  };
  const Case enableCases[] = {
      {PasswordKind::Administrator, "", "1", "1", false},   {PasswordKind::Administrator, "x", "", "1", false},
      {PasswordKind::Administrator, "x", "1", "", false},   {PasswordKind::Administrator, "x", "1", "2", true},
      {PasswordKind::Advanced, "x", "", "", false},         {PasswordKind::Startup, "x", "", "", true},
      {PasswordKind::Startup, "", "1", "1", false},
  };
  for (const auto& c : enableCases) {
    EXPECT_EQ(CanConfirmPasswordChange(c.kind, c.oldText, c.newText, c.repeated), c.canConfirm)
        << c.oldText << '|' << c.newText << '|' << c.repeated;
  }

  const PasswordBlock admin = EncodePassword("50731", true);
  auto change = ChangePassword(admin, "50731", "abc", "abd");
  EXPECT_EQ(change.refusal.text(), 224);
  EXPECT_EQ(change.focus, PasswordChange::Focus::NewPassword);
  change = ChangePassword(admin, "wrong", "abc", "abc");
  EXPECT_EQ(change.refusal.text(), 225);
  EXPECT_EQ(change.focus, PasswordChange::Focus::OldPassword);
  change = ChangePassword(admin, "50731", "abc", "abc");
  EXPECT_TRUE(change.refusal.ok());
  EXPECT_TRUE(CheckPassword("abc", change.newBlock));
}

TEST(PasswordChange, StartupPasswordFirstTimeAndRemoval) {
  const PasswordBlock none{};
  const PasswordBlock current = BlockToChange(PasswordKind::Startup, none);
  EXPECT_TRUE(CheckPassword(kInitialStartupPassword, current));
  EXPECT_EQ(ChangePassword(current, "50731", "s3cret", "s3cret").refusal.text(), 225);
  const auto set = ChangePassword(current, "73085", "s3cret", "s3cret");
  ASSERT_TRUE(set.refusal.ok());
  EXPECT_TRUE(CheckPassword("s3cret", set.newBlock));

  // Once set, "73085" no longer opens it; an empty new password removes the prompt.
  const PasswordBlock stored = BlockToChange(PasswordKind::Startup, set.newBlock);
  EXPECT_EQ(ChangePassword(stored, "73085", "", "").refusal.text(), 225);
  const auto removed = ChangePassword(stored, "s3cret", "", "");
  EXPECT_TRUE(removed.refusal.ok());
  EXPECT_TRUE(IsEmptyPasswordBlock(removed.newBlock));
}

}  // namespace
}  // namespace vantorel
