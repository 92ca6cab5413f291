#pragma once
// "Send instant message": a text shown at once on the signs of the ticked screens, over whatever
// they play, with its loop count, size, style, speed, stay time and colour. "Send" sends it to
// each ticked screen on a worker thread, shows each screen's result beside it and then the
// summary ("Send instant message to 2 screen(s), 1 successful, 1 failed.").

#include <QDialog>

#include <cstdint>

#include "screen/screen_data.h"
#include "send/controller_operations.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace vantorel {

class CScreenResultList;

class CBarNotifyDlg : public QDialog {
  Q_OBJECT
public:
  CBarNotifyDlg(const CScreenData& screens, QWidget* parent = nullptr, ChannelOptions options = {});
  ~CBarNotifyDlg() override;

  QTreeWidget* Screens() const;
  QPlainTextEdit* Content() const { return m_content; }
  QSpinBox* Loops() const { return m_loops; }
  QComboBox* Size() const { return m_size; }
  QCheckBox* Bold() const { return m_bold; }
  QCheckBox* Italic() const { return m_italic; }
  QCheckBox* Underline() const { return m_underline; }
  QSpinBox* Speed() const { return m_speed; }
  QSpinBox* Stay() const { return m_stay; }
  QPushButton* ColourButton() const { return m_colourButton; }
  QPushButton* SendButton() const { return m_send; }
  void SetColour(std::uint32_t stored);
  bool IsRunning() const;
  // The message the fields describe (the screen's size is filled per screen when sending).
  InstantMessage Message() const;
  QString ResultsText() const;

Q_SIGNALS:
  // The message went (or failed) to every ticked screen and the summary was shown.
  void sendFinished();

private:
  void Send();
  void ChooseColour();

  CScreenResultList* m_screens = nullptr;
  QPlainTextEdit* m_content = nullptr;
  QSpinBox* m_loops = nullptr;
  QComboBox* m_size = nullptr;
  QCheckBox* m_bold = nullptr;
  QCheckBox* m_italic = nullptr;
  QCheckBox* m_underline = nullptr;
  QSpinBox* m_speed = nullptr;
  QSpinBox* m_stay = nullptr;
  QPushButton* m_colourButton = nullptr;
  QPushButton* m_send = nullptr;
  std::uint32_t m_colour = 0x0000FF;  // red (red in the low byte)
};

}  // namespace vantorel
