#pragma once
// "Time & Temperature": the controller clock, temperature adjustment and version of the chosen
// screens. Every button runs its operation on each ticked screen, one after another on a worker
// thread (the editor stays usable), and shows each screen's result beside it ("Successful" and
// what was read, "Failed", or the channel's error text).

#include <QDialog>

#include <vector>

#include "screen/screen_data.h"
#include "send/controller_operations.h"

class QCheckBox;
class QDateTimeEdit;
class QPushButton;
class QSpinBox;
class QComboBox;
class QTreeWidget;

namespace vantorel {

class CScreenResultList;

class CSetBoardTimeDlg : public QDialog {
  Q_OBJECT
public:
  // `options`: how channels are made (the screens' own settings by default).
  CSetBoardTimeDlg(const CScreenData& screens, QWidget* parent = nullptr, ChannelOptions options = {});
  ~CSetBoardTimeDlg() override;

  QTreeWidget* Screens() const;
  QCheckBox* ComputerTime() const { return m_computerTime; }
  QDateTimeEdit* Moment() const { return m_moment; }
  QSpinBox* Adjustment() const { return m_adjust; }
  QComboBox* AdjustmentUnit() const { return m_unit; }
  QPushButton* SetClockButton() const { return m_setClock; }
  QPushButton* ReadClockButton() const { return m_readClock; }
  QPushButton* SetAdjustButton() const { return m_setAdjust; }
  QPushButton* ReadTemperatureButton() const { return m_readTemperature; }
  QPushButton* ReadVersionButton() const { return m_readVersion; }
  bool IsRunning() const;
  // The text of the list: one line per screen, its name and its result.
  QString ResultsText() const;

Q_SIGNALS:
  // The operation of a button has run on every ticked screen.
  void operationFinished();

private:
  void SetButtonsEnabled(bool enabled);

  CScreenResultList* m_screens = nullptr;
  QCheckBox* m_computerTime = nullptr;
  QDateTimeEdit* m_moment = nullptr;
  QSpinBox* m_adjust = nullptr;
  QComboBox* m_unit = nullptr;
  QPushButton* m_setClock = nullptr;
  QPushButton* m_readClock = nullptr;
  QPushButton* m_setAdjust = nullptr;
  QPushButton* m_readTemperature = nullptr;
  QPushButton* m_readVersion = nullptr;
  std::vector<QPushButton*> m_buttons;
};

}  // namespace vantorel
