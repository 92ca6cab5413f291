#include "screen/manager_password_gate.h"

#include <utility>

namespace vantorel {

ManagerPassword PasswordFor(ManagerAction action) {
  switch (action) {
    case ManagerAction::Add:
    case ManagerAction::Edit:
    case ManagerAction::Remove:
    case ManagerAction::Import:
      return ManagerPassword::Administrator;
    case ManagerAction::CrossMapping:
      return ManagerPassword::Advanced;
    case ManagerAction::MoveUp:
    case ManagerAction::MoveDown:
    case ManagerAction::Export:
      break;
  }
  return ManagerPassword::None;
}

CManagerPasswordGate::CManagerPasswordGate(AskPassword ask) : m_ask(std::move(ask)) {}

bool CManagerPasswordGate::IsUnlocked(ManagerPassword password) const {
  switch (password) {
    case ManagerPassword::Administrator: return m_administratorRight;
    case ManagerPassword::Advanced: return m_advancedRight;
    case ManagerPassword::None: break;
  }
  return true;
}

CManagerPasswordGate::Decision CManagerPasswordGate::Allow(ManagerAction action) {
  const ManagerPassword password = PasswordFor(action);
  if (IsUnlocked(password)) return {true, Status::Ok()};
  switch (m_ask ? m_ask(password) : PasswordAnswer::Cancelled) {
    case PasswordAnswer::Right:
      (password == ManagerPassword::Administrator ? m_administratorRight : m_advancedRight) = true;
      return {true, Status::Ok()};
    case PasswordAnswer::Wrong:
      return {false, Status::Failure(kTextPasswordIncorrect).WithTitle(kTextPrompt)};
    case PasswordAnswer::Cancelled:
      break;
  }
  return {false, Status::Ok()};
}

}  // namespace vantorel
