#pragma once
// The part editor: the rectangles of a screen that carry no LEDs, as rows of four editable cells
// beside a drawing of the canvas. OK gives the special string "p:" with every row.

#include <QDialog>
#include <QImage>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "screen/part_rows.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantorel {

class IAppPrompts;

class CSpecialPartDlg : public QDialog {
  Q_OBJECT
public:
  // `defaultPartsFile` is "default.parts" of the program folder (the four-corner defaults).
  CSpecialPartDlg(int screenWidth, int screenHeight, std::string_view special, std::filesystem::path defaultPartsFile,
                  IAppPrompts& prompts, QWidget* parent = nullptr);

  // What OK wrote: "p:" and every row's cells, each row ended by ";".
  const std::string& Special() const { return m_special; }
  const std::vector<PartRow>& Rows() const { return m_rows; }
  // The canvas at one dot per pixel: black, parts light grey (192), the selected part darker (168).
  QImage Drawing() const;

  QTableWidget* Table() const { return m_table; }
  QLabel* SizeLine() const { return m_sizeLine; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* DeleteButton() const { return m_delete; }
  QPushButton* ImportButton() const { return m_import; }
  QPushButton* ExportButton() const { return m_export; }
  QPushButton* CornersButton() const { return m_corners; }

  void accept() override;

private:
  void ShowRows(std::vector<PartRow> rows);
  void CellEdited(int row, int column);
  void UpdateNumbers();
  void UpdateCanvas();
  void AddRow();
  void DeleteRow();
  void ImportRows();
  void ExportRows();
  void DefaultRows();

  int m_width;
  int m_height;
  std::filesystem::path m_defaultParts;
  IAppPrompts& m_prompts;
  std::vector<PartRow> m_rows;
  std::string m_special;
  QLabel* m_sizeLine;
  QLabel* m_canvas;
  QTableWidget* m_table;
  QPushButton* m_add;
  QPushButton* m_delete;
  QPushButton* m_import;
  QPushButton* m_export;
  QPushButton* m_corners;
};

}  // namespace vantorel
