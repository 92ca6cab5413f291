#pragma once
// The properties of a program: name, loop count, play time, the background picture and how it is
// shown, and the program's time window (whether it applies, its days, Sunday first, and its start
// and end). Every change is reported as the whole changed record.

#include <array>

#include <string>

#include "ui/record_properties.h"

class QAction;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTimeEdit;
class QToolButton;

namespace vantorel {

class CProgramProperties : public CRecordProperties {
  Q_OBJECT
public:
  // What changed; repeated changes of one field are one undo step.
  enum Field { kName = 1, kLoopCount, kPlayTime, kShowMode, kTimeWindow, kDays, kStart, kEnd };

  explicit CProgramProperties(QWidget* parent);

  // The buttons beside the background picture run these commands (and follow their state).
  void SetBackgroundActions(QAction* choose, QAction* clear);
  void Show(const tagPrgItem& record) override;

private:
  void FillChoices() override;
  // Reports the shown record with `change` applied to its program part.
  template <typename Change>
  void EditProgram(int field, Change change) {
    Edit(field, [&change](tagPrgItem& record) { change(record.program); });
  }
  void EnableTimeWindow(bool on);
  void ShowBackgroundPicture(const std::string& file);
  CFieldEdit* m_name = nullptr;
  QSpinBox* m_loops = nullptr;
  QSpinBox* m_playTime = nullptr;
  QLineEdit* m_background = nullptr;
  // The background picture, small; decoded again only when another file is shown.
  QLabel* m_backgroundPicture = nullptr;
  std::string m_shownBackground;
  QToolButton* m_chooseBackground = nullptr;
  QToolButton* m_clearBackground = nullptr;
  QComboBox* m_showMode = nullptr;
  QCheckBox* m_timeWindow = nullptr;
  std::array<QCheckBox*, 7> m_days{};
  QTimeEdit* m_start = nullptr;
  QTimeEdit* m_end = nullptr;
};

}  // namespace vantorel
