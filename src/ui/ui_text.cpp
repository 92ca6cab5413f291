#include "ui/ui_text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

#include "app/text_format.h"
#include "app/text_table.h"

namespace vantorel {

QString Text(int id) { return QString::fromStdString(LoadText(id)); }

QString FormattedText(int id, const std::string& argument) {
  return QString::fromStdString(FormatText(LoadText(id).c_str(), argument.c_str()));
}

QString CommandLabel(int commandId) { return Text(commandId).section(QLatin1Char('\n'), 0, 0); }

QString CommandTip(int commandId) { return Text(commandId).section(QLatin1Char('\n'), 1); }

QString CommandCaption(int commandId) {
  QString caption = CommandLabel(commandId);
  caption.remove(QLatin1Char('&'));
  if (caption.endsWith(QStringLiteral("..."))) caption.chop(3);
  return caption;
}

QString FileDialogFilter(int id) {
  const QStringList parts = Text(id).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString name = parts[i];
    if (const qsizetype open = name.indexOf(QLatin1Char('(')); open > 0) name = name.left(open).trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

void ShowMessage(QWidget* parent, const QString& text, int captionId, QMessageBox::Icon icon) {
  QMessageBox box(icon, Text(captionId), text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(Text(kTextOk));
  box.exec();
}

int AskChoice(QWidget* parent, const QString& text, int captionId, QMessageBox::Icon icon, const std::vector<int>& choiceIds) {
  QMessageBox box(icon, Text(captionId), text, QMessageBox::NoButton, parent);
  std::vector<QAbstractButton*> buttons;
  for (const int id : choiceIds) buttons.push_back(box.addButton(Text(id), QMessageBox::ActionRole));
  if (!buttons.empty()) box.setEscapeButton(buttons.back());
  box.exec();
  const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  return chosen == buttons.end() ? static_cast<int>(buttons.size()) - 1 : static_cast<int>(chosen - buttons.begin());
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(Text(kTextOk));
  buttons->button(QDialogButtonBox::Cancel)->setText(Text(kTextCancel));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace vantorel
