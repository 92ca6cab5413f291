#include "app/password_store.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/text_ids.h"
#include "app/user_settings.h"

namespace vantorel {
namespace {

const char* ValueName(PasswordKind kind) {
  switch (kind) {
    case PasswordKind::Administrator: return "SetScrPass";
    case PasswordKind::Advanced: return "SetScrPass1";
    case PasswordKind::Startup: return "SoftwarePass";
  }
  return "";
}

std::optional<PasswordBlock> ReadBlock(const CUserSettings& settings, PasswordKind kind) {
  const auto bytes = settings.ReadBinary(ValueName(kind));
  if (!bytes || bytes->size() < kPasswordBlockSize) return std::nullopt;
  PasswordBlock block;
  std::copy_n(bytes->begin(), kPasswordBlockSize, block.begin());
  return block;
}

}  // namespace

const PasswordBlock& PasswordBlocks::Get(PasswordKind kind) const {
  switch (kind) {
    case PasswordKind::Administrator: return administrator;
    case PasswordKind::Advanced: return advanced;
    case PasswordKind::Startup: break;
  }
  return startup;
}

PasswordBlock& PasswordBlocks::Get(PasswordKind kind) {
  return const_cast<PasswordBlock&>(static_cast<const PasswordBlocks&>(*this).Get(kind));
}

PasswordBlocks LoadPasswordBlocks(CUserSettings& settings) {
  PasswordBlocks blocks;
  const struct {
    PasswordKind kind;
    const char* defaultPassword;
  } withDefaults[] = {{PasswordKind::Administrator, kDefaultAdminPassword},
                      {PasswordKind::Advanced, kDefaultAdvancedPassword}};
  for (const auto& entry : withDefaults) {
    if (const auto stored = ReadBlock(settings, entry.kind)) {
      blocks.Get(entry.kind) = *stored;
    } else {
      blocks.Get(entry.kind) = EncodePassword(entry.defaultPassword, true);
      StorePasswordBlock(settings, entry.kind, blocks.Get(entry.kind));
    }
  }
  if (const auto stored = ReadBlock(settings, PasswordKind::Startup)) blocks.startup = *stored;
  return blocks;
}

void StorePasswordBlock(CUserSettings& settings, PasswordKind kind, const PasswordBlock& block) {
  settings.WriteBinary(ValueName(kind), std::vector<std::uint8_t>(block.begin(), block.end()));
}

PasswordBlock BlockToChange(PasswordKind kind, const PasswordBlock& stored) {
  if (kind == PasswordKind::Startup && IsEmptyPasswordBlock(stored)) return EncodePassword(kInitialStartupPassword, true);
  return stored;
}

bool CanConfirmPasswordChange(PasswordKind kind, std::string_view oldPassword, std::string_view newPassword,
                              std::string_view repeatedPassword) {
  if (oldPassword.empty()) return false;
  return kind == PasswordKind::Startup || (!newPassword.empty() && !repeatedPassword.empty());
}

PasswordChange ChangePassword(const PasswordBlock& current, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view repeatedPassword) {
  PasswordChange change;
  if (newPassword != repeatedPassword) {
    change.refusal = Status::Failure(kTextNewPasswordsDiffer).WithTitle(kTextPrompt);
    change.focus = PasswordChange::Focus::NewPassword;
  } else if (!CheckPassword(oldPassword, current)) {
    change.refusal = Status::Failure(kTextOldPasswordIncorrect).WithTitle(kTextPrompt);
    change.focus = PasswordChange::Focus::OldPassword;
  } else if (!newPassword.empty()) {
    change.newBlock = EncodePassword(newPassword, true);
  }
  return change;
}

}  // namespace vantorel
