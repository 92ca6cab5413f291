#pragma once
// What a video, animation or office document item shows: its file, how a video or animation is
// placed in the window, the first frame or page as the sign shows it, and what the file holds
// (size, frames and duration, or pages). A video can be converted for the sign here, in the
// background with a progress bar and a cancel button: for a screen that plays videos itself it is
// re-encoded for the window into the screen's media folder (the conversion that sending reuses);
// for other screens it becomes an animation file for the window. Without the converter program
// the first video shown for a screen that plays videos says so.

#include <QImage>
#include <QSize>

#include <filesystem>
#include <string>

#include "screen/screen_data.h"
#include "ui/record_properties.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vantorel {

class CBackgroundTask;

// Whether the panel shows items of `kind`: videos, animations and office documents.
inline bool IsMediaItemKind(std::uint16_t kind) {
  return kind == kKindVideo || kind == kKindAnimation || kind == kKindDocument;
}

struct MediaContext {
  tagScreenInfo screen;
  QSize window{0, 0};
  std::filesystem::path folder;  // the work folder: relative media paths and the screen's media folder
};

class CMediaItemProperties : public CRecordProperties {
  Q_OBJECT
public:
  enum Field { kFile = 20, kPlacement };

  explicit CMediaItemProperties(QWidget* parent);
  ~CMediaItemProperties() override;

  void SetContext(MediaContext context);
  void Show(const tagPrgItem& record) override;
  void Retranslate() override;
  // Takes `file` when it can be shown as the item's kind; otherwise says why and changes nothing.
  // What the file chooser calls; tests call it directly.
  bool ChooseFile(const std::string& file);
  // Converts the item's video for the sign in the background (see above); `animationFile` is
  // where the animation file goes for screens that do not play videos. False when a conversion
  // runs already or the item is not a video.
  bool StartConversion(const std::filesystem::path& animationFile);
  void CancelConversion();
  bool IsConverting() const;
  // The last conversion's outcome as the panel shows it.
  QString ConversionOutcome() const;
  // The first frame or page as the panel shows it (one pixel per LED); null when there is none.
  QImage FirstFrame() const { return m_firstFrame; }
  QString Facts() const;

Q_SIGNALS:
  void conversionFinished(bool ok);

private:
  void FillChoices() override;
  // The first frame and the facts of the shown item, again when its file or window changed.
  void Describe();
  void ShowProblem(const QString& text);
  void AskAnimationFile();
  std::filesystem::path MediaFile() const;

  MediaContext m_context;
  QLineEdit* m_file = nullptr;
  QToolButton* m_choose = nullptr;
  QLabel* m_problem = nullptr;
  QComboBox* m_placement = nullptr;
  QLabel* m_placementLabel = nullptr;
  QLabel* m_preview = nullptr;
  QLabel* m_facts = nullptr;
  QPushButton* m_convert = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_cancel = nullptr;
  QLabel* m_outcome = nullptr;
  CBackgroundTask* m_task = nullptr;
  QImage m_firstFrame;
  std::string m_described;      // what Describe last looked at
  QString m_describedProblem;  // and why it could not be shown
  std::string m_outcomeFile;  // the file the conversion outcome speaks of
  bool m_toldNoConverter = false;
};

}  // namespace vantorel
