#pragma once
// The mapping files of a cross-shaped sign: the "*.map" files of the library folder of the
// screen's size, with the picture of the wiring of the chosen one. Sending a file to the
// controller needs the controller communication; until the program has it the send button is
// shown but cannot be pressed.

#include <QDialog>

#include <filesystem>

#include "screen/screen_data.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vantorel {

class CCrossCfgDlg : public QDialog {
  Q_OBJECT
public:
  // For screen `index` of `list`, with the library in `programFolder`.
  CCrossCfgDlg(const CScreenData& list, int index, const std::filesystem::path& programFolder, QWidget* parent = nullptr);

  // With an empty library folder a file chooser opens first; choosing nothing closes the dialog.
  int exec() override;

  std::filesystem::path Folder() const { return m_folder; }
  // The chosen mapping file; empty when none is.
  std::filesystem::path ChosenFile() const;
  QLabel* TitleLine() const { return m_title; }
  QListWidget* Files() const { return m_files; }
  QLabel* Picture() const { return m_picture; }
  QPushButton* SendButton() const { return m_send; }

private:
  void AddFile(const std::filesystem::path& file);
  void ShowPicture();

  std::filesystem::path m_folder;
  QLabel* m_title;
  QListWidget* m_files;
  QLabel* m_picture;
  QPushButton* m_send;
};

}  // namespace vantorel
