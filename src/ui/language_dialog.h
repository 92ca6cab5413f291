#pragma once
// The language chooser: "Auto", the languages with a file in the language folder, English.

#include <QDialog>

#include <filesystem>

class QListWidget;

namespace vantorel {

class CSelectLangDlg : public QDialog {
  Q_OBJECT
public:
  explicit CSelectLangDlg(const std::filesystem::path& languageFolder, QWidget* parent = nullptr);
  // The chosen language ID (0 for "Auto").
  int LanguageId() const;
  QListWidget* List() const { return m_list; }

private:
  QListWidget* m_list;
};

}  // namespace vantorel
