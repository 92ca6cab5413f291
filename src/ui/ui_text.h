#pragma once
// Numbered texts as the widgets need them. A command's text is "Label\nStatus tip": the menu shows
// the label, the status bar and tool tips the tip.

#include <QMessageBox>
#include <QString>

#include <string>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace vantorel {

QString Text(int id);
QString FormattedText(int id, const std::string& argument);
QString CommandLabel(int commandId);
QString CommandTip(int commandId);
// The label without its '&' and trailing "...", as a dialog caption.
QString CommandCaption(int commandId);
// A filter of the form "Name (*.a;*.b)|*.a;*.b|...||" as a file-dialog filter.
QString FileDialogFilter(int id);

// A message box captioned by text `captionId` ("Prompt", "Warning", "Error").
void ShowMessage(QWidget* parent, const QString& text, int captionId, QMessageBox::Icon icon);

// A message box with one button per text of `choiceIds`; the index of the button pressed (closing
// the box counts as the last one, the one that changes nothing).
int AskChoice(QWidget* parent, const QString& text, int captionId, QMessageBox::Icon icon, const std::vector<int>& choiceIds);

// OK and Cancel buttons labelled from the text table, wired to accept and reject `dialog`.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

}  // namespace vantorel
