#include "ui/part_editor_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

#include "app/text_table.h"
#include "screen/ascii_text.h"
#include "ui/ui_text.h"
#include "ui/vantorel_app.h"

namespace vantorel {
namespace {

constexpr int kNumberColumn = 0;
constexpr int kColumnTexts[] = {kTextRowNumber, kTextX, kTextY, kTextWidth, kTextHeight};
constexpr int kCanvasBox = 320;  // the drawing is scaled to fit a square of this side
const QColor kPartGrey(192, 192, 192);
const QColor kSelectedGrey(168, 168, 168);

std::string* Cell(PartRow& row, int column) {
  switch (column) {
    case 1: return &row.x;
    case 2: return &row.y;
    case 3: return &row.width;
    case 4: return &row.height;
    default: return nullptr;
  }
}

QTableWidgetItem* NumberItem() {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

CSpecialPartDlg::CSpecialPartDlg(int screenWidth, int screenHeight, std::string_view special,
                                 std::filesystem::path defaultPartsFile, IAppPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      m_width(screenWidth),
      m_height(screenHeight),
      m_defaultParts(std::move(defaultPartsFile)),
      m_prompts(prompts),
      m_sizeLine(new QLabel(QString::fromStdString(PartEditorSizeText(screenWidth, screenHeight)), this)),
      m_canvas(new QLabel(this)),
      m_table(new QTableWidget(0, static_cast<int>(std::size(kColumnTexts)), this)),
      m_add(new QPushButton(Text(kTextAddPart), this)),
      m_delete(new QPushButton(Text(kTextDeletePart), this)),
      m_import(new QPushButton(Text(kTextImportParts), this)),
      m_export(new QPushButton(Text(kTextExportParts), this)),
      m_corners(new QPushButton(Text(kTextFourCorners), this)) {
  setWindowTitle(Text(kTextPartsTitle));
  QStringList headers;
  for (const int id : kColumnTexts) headers << Text(id);
  m_table->setHorizontalHeaderLabels(headers);
  m_table->verticalHeader()->hide();
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_canvas->setFixedSize(kCanvasBox, kCanvasBox);
  m_canvas->setAlignment(Qt::AlignCenter);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {m_add, m_delete, m_import, m_export, m_corners}) buttons->addWidget(button);
  buttons->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(m_sizeLine);
  left->addWidget(m_canvas);
  left->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addWidget(m_table, 1);
  columns->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(OkCancelButtons(this));
  resize(820, 420);

  connect(m_table, &QTableWidget::cellChanged, this, &CSpecialPartDlg::CellEdited);
  connect(m_table, &QTableWidget::itemSelectionChanged, this, &CSpecialPartDlg::UpdateCanvas);
  connect(m_add, &QPushButton::clicked, this, &CSpecialPartDlg::AddRow);
  connect(m_delete, &QPushButton::clicked, this, &CSpecialPartDlg::DeleteRow);
  connect(m_import, &QPushButton::clicked, this, &CSpecialPartDlg::ImportRows);
  connect(m_export, &QPushButton::clicked, this, &CSpecialPartDlg::ExportRows);
  connect(m_corners, &QPushButton::clicked, this, &CSpecialPartDlg::DefaultRows);
  ShowRows(PartRowsOf(special));
}

void CSpecialPartDlg::ShowRows(std::vector<PartRow> rows) {
  m_rows = std::move(rows);
  {
    const QSignalBlocker block(m_table);
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
      m_table->setItem(row, kNumberColumn, NumberItem());
      for (int column = 1; column < m_table->columnCount(); ++column) {
        m_table->setItem(row, column, new QTableWidgetItem(QString::fromStdString(*Cell(m_rows[static_cast<std::size_t>(row)], column))));
      }
    }
  }
  UpdateNumbers();
  UpdateCanvas();
}

void CSpecialPartDlg::CellEdited(int row, int column) {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
  std::string* cell = Cell(m_rows[static_cast<std::size_t>(row)], column);
  if (!cell) return;
  *cell = m_table->item(row, column)->text().toStdString();
  UpdateNumbers();
  UpdateCanvas();
}

void CSpecialPartDlg::UpdateNumbers() {
  const QSignalBlocker block(m_table);
  for (int row = 0; row < m_table->rowCount(); ++row) {
    const PartRow& part = m_rows[static_cast<std::size_t>(row)];
    m_table->item(row, kNumberColumn)->setText(QString::fromStdString(PartRowNumberText(row + 1, part, m_width, m_height)));
  }
}

QImage CSpecialPartDlg::Drawing() const {
  QImage image(std::max(1, m_width), std::max(1, m_height), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  const int selected = m_table->currentRow();
  for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
    const PartRow& part = m_rows[static_cast<std::size_t>(row)];
    const QRect rect(DecimalValue(part.x), DecimalValue(part.y), DecimalValue(part.width), DecimalValue(part.height));
    if (rect.width() > 0 && rect.height() > 0) painter.fillRect(rect, row == selected ? kSelectedGrey : kPartGrey);
  }
  return image;
}

void CSpecialPartDlg::UpdateCanvas() {
  const QImage drawn = Drawing().scaled(QSize(kCanvasBox, kCanvasBox), Qt::KeepAspectRatio, Qt::FastTransformation);
  m_canvas->setPixmap(QPixmap::fromImage(drawn));
}

void CSpecialPartDlg::AddRow() {
  std::vector<PartRow> rows = m_rows;
  if (!AddPartRow(rows)) return;  // the row limit: nothing to say
  ShowRows(std::move(rows));
  m_table->setCurrentCell(m_table->rowCount() - 1, 1);
}

void CSpecialPartDlg::DeleteRow() {
  const int row = m_table->currentRow();
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
  std::vector<PartRow> rows = m_rows;
  rows.erase(rows.begin() + row);
  ShowRows(std::move(rows));
  if (!m_rows.empty()) m_table->setCurrentCell(std::min(row, static_cast<int>(m_rows.size()) - 1), 1);
}

void CSpecialPartDlg::ImportRows() {
  const QString file = QFileDialog::getOpenFileName(this, Text(kTextImportParts).remove(QStringLiteral("...")), QString(),
                                                    FileDialogFilter(kTextPartFileFilter));
  if (file.isEmpty()) return;
  Expected<std::vector<PartRow>> rows = ImportPartRows(file.toStdString());
  if (!rows) {
    ShowStatus(m_prompts, this, rows.status(), kTextPrompt);
    return;
  }
  ShowRows(std::move(*rows));
}

void CSpecialPartDlg::ExportRows() {
  const QString chosen = QFileDialog::getSaveFileName(this, Text(kTextExportParts).remove(QStringLiteral("...")), QString(),
                                                      FileDialogFilter(kTextPartFileFilter));
  if (chosen.isEmpty()) return;
  std::filesystem::path file = chosen.toStdString();
  if (!file.has_extension()) file += ".txt";
  if (const Status written = ExportPartRows(file, m_rows); !written) ShowStatus(m_prompts, this, written, kTextPrompt);
}

void CSpecialPartDlg::DefaultRows() {
  Expected<std::vector<PartRow>> rows = DefaultPartRows(m_width, m_height, m_defaultParts);
  if (!rows) {
    ShowStatus(m_prompts, this, rows.status(), kTextPrompt, QMessageBox::Information);
    return;
  }
  ShowRows(std::move(*rows));
}

void CSpecialPartDlg::accept() {
  m_special = PartRowsText(m_rows);
  QDialog::accept();
}

}  // namespace vantorel
