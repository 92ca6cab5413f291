#pragma once
// "Font setting": the character set and the font sizes the controller of one screen has (the
// screen definition's FONTLIB, ASCSIZEM and EXTSIZEM). "Auto detect" asks the controller on a
// worker thread and shows what it reports; OK hands the settings back to be stored in the screen
// list.

#include <QDialog>

#include <array>
#include <cstdint>

#include "render/font_style.h"
#include "send/controller_operations.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace vantorel {

class CBackgroundTask;

class CSetFontlibDlg : public QDialog {
  Q_OBJECT
public:
  CSetFontlibDlg(const SettingsScreen& target, const QString& screenName, QWidget* parent = nullptr,
                 ChannelOptions options = {});
  ~CSetFontlibDlg() override;

  // What the fields show; the size bits beyond the eight sizes are kept as the screen had them.
  FontSettings Settings() const;
  void ShowSettings(const FontSettings& settings);

  QComboBox* CharacterSet() const { return m_characterSet; }
  QCheckBox* AsciiSize(int index) const { return m_ascii[static_cast<std::size_t>(index)]; }
  QCheckBox* ExtendedSize(int index) const { return m_extended[static_cast<std::size_t>(index)]; }
  QPushButton* AutoDetectButton() const { return m_detect; }
  QLabel* ResultLabel() const { return m_result; }
  bool IsRunning() const;

Q_SIGNALS:
  void detectFinished();

private:
  using SizeBoxes = std::array<QCheckBox*, kFontSizeCount>;
  QWidget* SizeGroup(int titleId, SizeBoxes& boxes);
  void AutoDetect();

  SettingsScreen m_target;
  ChannelOptions m_options;
  FontSettings m_shown;
  CBackgroundTask* m_task = nullptr;
  std::shared_ptr<FontDetection> m_detection;
  QComboBox* m_characterSet = nullptr;
  SizeBoxes m_ascii{};
  SizeBoxes m_extended{};
  QPushButton* m_detect = nullptr;
  QLabel* m_result = nullptr;
};

}  // namespace vantorel
