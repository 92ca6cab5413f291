#pragma once
// The pieces the property editors are built from: a line edit for a record's text field, number
// boxes with the limits of a record field, and the texts of labels and buttons that a language
// switch sets again. Editors report every change at once (a record field changed by several key
// presses in a row is one undo step in the document), so nothing typed is left behind when the
// selection moves on.

#include <QColor>
#include <QLineEdit>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/text_ids.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vantorel {

class CDotFont;
struct tagScreenInfo;

// A line edit for a text field of a record: what is typed is cut to the field's width, measured in
// the legacy code page as the record measures it.
class CFieldEdit : public QLineEdit {
  Q_OBJECT
public:
  CFieldEdit(std::size_t maxBytes, QWidget* parent);

  // Shows `text` without reporting it; the cursor stays where it is when the text is unchanged.
  void SetFieldText(std::string_view text);

Q_SIGNALS:
  void fieldEdited(const std::string& text);

private:
  std::size_t m_maxBytes;
};

// The names of the ways a picture is placed (a picture item's or a background's SHOWMODE).
inline constexpr int kPlacementModeTexts[] = {kTextPlaceCenter, kTextPlaceZoom, kTextPlaceStretch, kTextPlaceTile};

// A number box named `name` for the values `min`..`max` of a record field.
QSpinBox* NumberBox(const char* name, int min, int max, QWidget* parent);
// Shows `value` without reporting it.
void SetQuietly(QSpinBox* box, int value);

// Refills `combo` with the texts of `textIds`, each entry holding its position as its data.
void FillChoices(QComboBox* combo, std::span<const int> textIds);
// Selects the entry of `combo` whose data is `value`; a value without an entry gets one of its own,
// "Other (%d)", so that a record is shown as it is. Nothing is reported.
void ShowChoice(QComboBox* combo, int value);

// Refills `sizes` with the dot-font sizes the screen's controller has (data: the nominal height),
// largest last, every size when the screen names none; refills `faces` with the faces of `library`
// among them (data: the face bits). Nothing is reported.
void FillScreenSizes(QComboBox* sizes, const tagScreenInfo& screen);
void FillScreenFaces(QComboBox* faces, const CDotFont* library, const tagScreenInfo& screen);

// The serial ports a screen may use ("COM1" ...; data: the port index) and the baud rates (data:
// the rate).
void FillSerialPorts(QComboBox* ports);
void FillBaudRates(QComboBox* rates);

// A stored colour (red in the low byte) as Qt shows it, and back.
QColor ShownColour(std::uint32_t stored);
std::uint32_t StoredColourOf(const QColor& colour);
// A colour button showing the stored colour `stored`: a swatch and its name.
void ShowColourButton(QPushButton* button, std::uint32_t stored);

// Labels and buttons with texts from the text table.
class CWidgetTexts {
public:
  QLabel* Label(int textId, QWidget* parent);
  void Add(QAbstractButton* button, int textId);
  // Every text again (after a language switch).
  void Retranslate() const;

private:
  std::vector<std::pair<QLabel*, int>> m_labels;
  std::vector<std::pair<QAbstractButton*, int>> m_buttons;
};

}  // namespace vantorel
