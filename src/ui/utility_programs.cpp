#include "ui/utility_programs.h"

#include <QProcess>
#include <QStandardPaths>

#include <span>

namespace vantorel {
namespace {

constexpr const char* kPaintPrograms[] = {"kolourpaint", "pinta", "mtpaint", "gpaint", "gimp"};
constexpr const char* kTextEditors[] = {"gnome-text-editor", "gedit", "kwrite", "kate", "mousepad",
                                        "xed", "pluma", "featherpad", "leafpad"};
constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"};

std::span<const char* const> Candidates(UtilityKind kind) {
  switch (kind) {
    case UtilityKind::Paint: return kPaintPrograms;
    case UtilityKind::TextEditor: return kTextEditors;
    case UtilityKind::Calculator: return kCalculators;
  }
  return {};
}

}  // namespace

int UtilityCommand(UtilityKind kind) {
  switch (kind) {
    case UtilityKind::Paint: return 32791;
    case UtilityKind::TextEditor: return 32792;
    case UtilityKind::Calculator: return 32793;
  }
  return 0;
}

QString FindUtility(UtilityKind kind) {
  for (const char* name : Candidates(kind)) {
    if (QString path = QStandardPaths::findExecutable(QString::fromLatin1(name)); !path.isEmpty()) return path;
  }
  return {};
}

bool StartUtility(UtilityKind kind) {
  const QString program = FindUtility(kind);
  return !program.isEmpty() && QProcess::startDetached(program, {});
}

}  // namespace vantorel
