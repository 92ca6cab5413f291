#pragma once
// What the clock, temperature/humidity, time counter and work counter items show: each kind's own
// settings beside the text colour and the dot-font size (one of the screen's sizes) the faces are
// drawn with. Rows a kind does not use are hidden.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "render/dot_font.h"
#include "render/faces/date_time.h"
#include "screen/screen_data.h"
#include "ui/record_properties.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QFormLayout;
class QPushButton;
class QSpinBox;

namespace vantorel {

class CFieldEdit;

// What the editor needs beside the record: the screen (its font sizes), the current font library
// (its faces, and its code page for the date-format samples) and the moment the samples show.
struct FaceContext {
  tagScreenInfo screen;
  std::shared_ptr<CTwFont> fontLibrary;
  DateTime now;
};

// The placeholders a time counter's template may hold, as the list to insert them offers them.
inline constexpr const char* kCounterPlaceholders[] = {"{!d}", "{!h+}", "{!h}", "{!h2}", "{!m}", "{!m2}", "{!s}", "{!s2}"};

// The kinds this editor shows: clock, temperature/humidity, time counter and work counter.
constexpr bool IsFaceKind(std::uint16_t kind) {
  return kind == kKindClock || kind == kKindSensor || kind == kKindTimeCounter || kind == kKindWorkCounter;
}

class CFaceItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field {
    kDateFormat = 80,
    kText,
    kTimeDifference,
    kColour,
    kSize,
    kFace,
    kBlink,
    kSensorMode,
    kTarget,
    kCountUp,
    kHoursPerDay,
    kCountHours,
    kWorkStartHour,
    kBaseValue,
    // Each check box is a field of its own: one undo step a box.
    kFirstStyleBit = 100,
    kFirstWorkingDay = 120
  };
  // The clock style bits the check boxes set, in the order they are shown.
  static constexpr std::array<std::uint16_t, 12> kStyleBits = {1u << 0, 1u << 1, 1u << 2,  1u << 3, 1u << 4, 1u << 5,
                                                               1u << 6, 1u << 7, 1u << 8, 1u << 9, 1u << 10, 1u << 14};
  static constexpr int kBlinkBit = 1 << 8;       // VWASTEXT: blink the colon
  static constexpr int kFaceBits = 0x70;         // VWASTEXT: the face
  static constexpr int kHoursPerDayChoices[] = {8, 12, 16, 24};

  explicit CFaceItemProperties(QWidget* parent);

  void SetContext(FaceContext context);
  void Show(const tagPrgItem& record) override;
  // What the colour dialog calls; tests call it directly.
  void ChooseColour(const QColor& colour);
  // Puts `placeholder` into the template at the cursor and stores the template.
  void InsertPlaceholder(const std::string& placeholder);

private:
  void FillChoices() override;
  void FillSizes();
  void ShowRows(std::uint16_t kind);
  void EditStyleBit(std::size_t box, bool on);

  FaceContext m_context;
  QFormLayout* m_form = nullptr;
  std::array<QCheckBox*, kStyleBits.size()> m_styleBoxes{};
  QWidget* m_styleGrid = nullptr;
  QComboBox* m_dateFormat = nullptr;
  CFieldEdit* m_prefix = nullptr;
  CFieldEdit* m_template = nullptr;
  QComboBox* m_placeholders = nullptr;
  QSpinBox* m_timeDifference = nullptr;
  QComboBox* m_sensorMode = nullptr;
  QDateTimeEdit* m_target = nullptr;
  QComboBox* m_countUp = nullptr;
  QDateEdit* m_start = nullptr;
  std::array<QCheckBox*, 7> m_dayBoxes{};
  QWidget* m_dayGrid = nullptr;
  QComboBox* m_hoursPerDay = nullptr;
  QComboBox* m_countHours = nullptr;
  QSpinBox* m_workStartHour = nullptr;
  QSpinBox* m_baseValue = nullptr;
  QPushButton* m_colour = nullptr;
  QComboBox* m_size = nullptr;
  QComboBox* m_face = nullptr;
  QCheckBox* m_blink = nullptr;
};

}  // namespace vantorel
