#pragma once
// The desktop's own paint program, text editor and calculator, started from the Tools menu. Each
// is looked for among the usual programs of Linux desktops; a kind with none installed has no
// menu entry.

#include <QString>

#include <array>

namespace vantorel {

enum class UtilityKind { Paint, TextEditor, Calculator };
inline constexpr std::array<UtilityKind, 3> kUtilityKinds = {UtilityKind::Paint, UtilityKind::TextEditor,
                                                             UtilityKind::Calculator};

// The command of the menu entry.
int UtilityCommand(UtilityKind kind);
// The installed program of that kind (its full path), or an empty string.
QString FindUtility(UtilityKind kind);
bool StartUtility(UtilityKind kind);

}  // namespace vantorel
