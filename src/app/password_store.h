#pragma once
// The three password blocks of the user, their stored values in the per-user settings, and the
// rules of the change-password dialogs.

#include <string_view>

#include "platform/status.h"
#include "app/password.h"

namespace vantorel {

class CUserSettings;

enum class PasswordKind { Administrator, Advanced, Startup };

struct PasswordBlocks {
  PasswordBlock administrator{};
  PasswordBlock advanced{};
  PasswordBlock startup{};  // all zero: no startup password

  const PasswordBlock& Get(PasswordKind kind) const;
  PasswordBlock& Get(PasswordKind kind);
  bool HasStartupPassword() const { return !IsEmptyPasswordBlock(startup); }
};

// Reads the blocks. A missing or short administrator or advanced block is replaced by the block of
// its default password and written back at once; a missing or short startup block means none.
PasswordBlocks LoadPasswordBlocks(CUserSettings& settings);
// Stores `block` as the value of `kind` at once.
void StorePasswordBlock(CUserSettings& settings, PasswordKind kind, const PasswordBlock& block);

// Commands that open the change-password dialogs.
inline constexpr int kChangeAdminPasswordCommand = 32825;
inline constexpr int kChangeAdvancedPasswordCommand = 32883;
inline constexpr int kChangeStartupPasswordCommand = 32918;

// The block the old password is checked against: without a startup password, the block of the
// initial startup password.
PasswordBlock BlockToChange(PasswordKind kind, const PasswordBlock& stored);

// Whether the dialog's OK may be pressed: the old password is given and, except for the startup
// password (where an empty new password removes the prompt), both new entries are given.
bool CanConfirmPasswordChange(PasswordKind kind, std::string_view oldPassword, std::string_view newPassword,
                              std::string_view repeatedPassword);

struct PasswordChange {
  enum class Focus { None, OldPassword, NewPassword };
  Status refusal;  // success when accepted, else the text to show ("Prompt" caption)
  Focus focus = Focus::None;
  PasswordBlock newBlock{};  // all zero for an empty new password
};

PasswordChange ChangePassword(const PasswordBlock& current, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view repeatedPassword);

}  // namespace vantorel
