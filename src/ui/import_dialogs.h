#pragma once
// Importing a playbill file: choosing the file (with the screen it was made for shown as it is
// chosen, and the choice of several target screens), and choosing those screens.

#include <QDialog>

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "screen/screen_data.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vantorel {

// Model, colour mode, width and height of a screen, each in a label of its own.
class CScreenSummary {
public:
  explicit CScreenSummary(QWidget* parent);
  void Show(const tagScreenInfo* screen);  // null: empty labels
  std::array<QLabel*, 4> Labels() const { return m_labels; }

private:
  std::array<QLabel*, 4> m_labels{};
};

// The file to import, "To multiple screens".
class CImportPlaybillDlg : public QDialog {
  Q_OBJECT
public:
  explicit CImportPlaybillDlg(QWidget* parent = nullptr);
  std::filesystem::path File() const;
  bool ToMultipleScreens() const;
  // The screen the chosen file was made for; nullopt when it cannot be read.
  const std::optional<tagScreenInfo>& FileScreen() const { return m_fileScreen; }
  QLineEdit* FileField() const { return m_file; }

private:
  void FileChanged();

  QLineEdit* m_file;
  QCheckBox* m_multiple;
  CScreenSummary m_summary;
  std::optional<tagScreenInfo> m_fileScreen;
  QPushButton* m_ok = nullptr;
};

// The screens a file goes to: OK needs at least one, and all must suit the file.
class CImportScreensDlg : public QDialog {
  Q_OBJECT
public:
  CImportScreensDlg(const tagScreenInfo& fileScreen, const CScreenData& screens, QWidget* parent = nullptr);
  std::vector<int> Chosen() const;
  QListWidget* List() const { return m_list; }
  void accept() override;

private:
  tagScreenInfo m_fileScreen;
  const CScreenData& m_screens;
  QListWidget* m_list;
  CScreenSummary m_screenSummary;
};

}  // namespace vantorel
