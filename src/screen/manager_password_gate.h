#pragma once
// The passwords that guard the screen manager. Changing the screen list needs the administrator
// password, changing a sign's cross mapping the advanced password; each is asked before its first
// use in one opening of the manager and, once right, not again until the manager closes. Moving
// screens and exporting need none. One gate lives exactly as long as one opening of the manager.

#include <functional>
#include <optional>

#include "app/text_ids.h"
#include "platform/status.h"

namespace vantorel {

enum class ManagerAction { Add, Edit, Remove, Import, MoveUp, MoveDown, Export, CrossMapping };
enum class ManagerPassword { None, Administrator, Advanced };
enum class PasswordAnswer { Right, Wrong, Cancelled };


ManagerPassword PasswordFor(ManagerAction action);

class CManagerPasswordGate {
public:
  // Asks the user for `password` and checks the typed text against its stored block.
  using AskPassword = std::function<PasswordAnswer(ManagerPassword password)>;

  struct Decision {
    bool allowed = false;
    Status message;  // "Password incorrect" after a wrong password
  };

  explicit CManagerPasswordGate(AskPassword ask);

  Decision Allow(ManagerAction action);
  bool IsUnlocked(ManagerPassword password) const;

private:
  AskPassword m_ask;
  bool m_administratorRight = false;
  bool m_advancedRight = false;
};

}  // namespace vantorel
