#include "ui/media_item_properties.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <memory>

#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_ids.h"
#include "codecs/video_media_info.h"
#include "render/item_pages.h"
#include "render/led_look.h"
#include "render/media/animation_picture.h"
#include "render/media/controller_animation.h"
#include "render/media/conversion_log.h"
#include "render/media/laf_convert.h"
#include "render/media/media_kind.h"
#include "render/media/video_converter.h"
#include "screen/controller_types.h"
#include "ui/background_task.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kPreviewWidth = 240;  // pixels the first frame may take in the panel

int FilterTextOf(std::uint16_t kind) {
  if (kind == kKindVideo) return kTextAllMediaFilter;
  if (kind == kKindAnimation) return kTextAnimationFilter;
  return kTextDocumentFilter;
}

QString Seconds(std::int64_t ms) { return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1); }

// "160 x 120, 25 frames, 1.0 s" for a video or animation; what cannot be read says why.
QString MovingFacts(std::uint16_t kind, const std::filesystem::path& file) {
  if (kind == kKindVideo && MediaKindOf(file) == kMediaVideo) {
    const Expected<VideoMediaInfo> info = ReadVideoMediaInfo(file);
    if (!info) return QString::fromStdString(StatusMessage(info.status()));
    return FormattedText(kTextMovieFacts, FormatText("%d x %d, %lld, %s s", info->width, info->height,
                                                     static_cast<long long>(info->frameCount),
                                                     Seconds(info->durationMs).toStdString().c_str()));
  }
  // A Flash movie shows the animation file of the same name.
  CAnimationPicture animation;
  const Status opened = animation.Open(MediaKindOf(file) == kMediaFlash ? FlashStandIn(file) : file);
  if (!opened) return QString::fromStdString(StatusMessage(opened));
  std::int64_t duration = 0;
  for (int i = 0; i < animation.FrameCount(); ++i) duration += animation.FrameDelay(i);
  const QSize size = animation.Size();
  const int frames = animation.FrameCount();
  return FormattedText(kTextMovieFacts, FormatText("%d x %d, %d, %s s", size.width(), size.height(), frames,
                                                   Seconds(duration).toStdString().c_str()));
}

// What a finished animation file means for sending.
QString AnimationOutcome(const std::filesystem::path& file, int frames) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(file, error);
  const std::string made = FormatText("%d, %llu KB", frames, static_cast<unsigned long long>((bytes + 1023) / 1024));
  return FormattedText(bytes <= kEmbedLimit ? kTextAnimationEmbedded : kTextAnimationOwnFile, made);
}

}  // namespace

CMediaItemProperties::CMediaItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_file = new QLineEdit(this);
  m_file->setObjectName(QStringLiteral("MediaFile"));
  m_file->setReadOnly(true);
  m_choose = new QToolButton(this);
  m_choose->setObjectName(QStringLiteral("ChooseMedia"));
  m_choose->setText(QStringLiteral("..."));
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("MediaProblem"));
  m_problem->setWordWrap(true);
  m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
  m_problem->hide();
  m_placement = new QComboBox(this);
  m_placement->setObjectName(QStringLiteral("MediaPlacement"));
  m_preview = new QLabel(this);
  m_preview->setObjectName(QStringLiteral("MediaFirstFrame"));
  m_facts = new QLabel(this);
  m_facts->setObjectName(QStringLiteral("MediaFacts"));
  m_facts->setWordWrap(true);
  m_convert = new QPushButton(this);
  m_convert->setObjectName(QStringLiteral("ConvertVideo"));
  m_texts.Add(m_convert, kTextConvertForSign);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("ConversionProgress"));
  m_progress->setRange(0, 100);
  m_progress->hide();
  m_cancel = new QPushButton(this);
  m_cancel->setObjectName(QStringLiteral("CancelConversion"));
  m_texts.Add(m_cancel, kTextCancel);
  m_cancel->hide();
  m_outcome = new QLabel(this);
  m_outcome->setObjectName(QStringLiteral("ConversionOutcome"));
  m_outcome->setWordWrap(true);
  m_task = new CBackgroundTask(this);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(m_choose);
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(m_progress, 1);
  progressRow->addWidget(m_cancel);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextMediaFile, this), fileRow);
  form->addRow(m_problem);
  m_placementLabel = m_texts.Label(kTextDisplayMode, this);
  form->addRow(m_placementLabel, m_placement);
  form->addRow(m_preview);
  form->addRow(m_facts);
  form->addRow(m_convert);
  form->addRow(progressRow);
  form->addRow(m_outcome);
  FillChoices();

  connect(m_choose, &QToolButton::clicked, this, [this] {
    const QString folder = QFileInfo(m_file->text()).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, Text(kTextMediaFile), m_file->text().isEmpty() ? QString() : folder,
                                                      FileDialogFilter(FilterTextOf(m_record.item.actType)));
    if (!file.isEmpty()) ChooseFile(file.toStdString());
  });
  connect(m_placement, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<std::uint16_t>(m_placement->itemData(index).toInt());
    Edit(kPlacement, [mode](tagPrgItem& record) { record.item.showMode = mode; });
  });
  connect(m_convert, &QPushButton::clicked, this, &CMediaItemProperties::AskAnimationFile);
  connect(m_cancel, &QPushButton::clicked, this, &CMediaItemProperties::CancelConversion);
  connect(m_task, &CBackgroundTask::progressed, m_progress, &QProgressBar::setValue);
}

CMediaItemProperties::~CMediaItemProperties() = default;

void CMediaItemProperties::FillChoices() { vantorel::FillChoices(m_placement, kPlacementModeTexts); }

void CMediaItemProperties::Retranslate() {
  m_described.clear();
  CRecordProperties::Retranslate();
}

void CMediaItemProperties::SetContext(MediaContext context) { m_context = std::move(context); }

std::filesystem::path CMediaItemProperties::MediaFile() const {
  return ItemMediaPath(m_record.item.media.view(), m_context.folder);
}

void CMediaItemProperties::ShowProblem(const QString& text) {
  m_problem->setText(text);
  m_problem->setVisible(!text.isEmpty());
}

bool CMediaItemProperties::ChooseFile(const std::string& file) {
  const std::filesystem::path path = std::filesystem::absolute(file);
  tagPrgItem chosen = m_record;
  chosen.item.media = path.string();
  // What the sign would show tells whether the file can be used.
  const Expected<std::vector<CLedBitmap>> pages =
      RenderItemPages(chosen.item, m_context.window.isEmpty() ? QSize(8, 8) : m_context.window,
                      ItemRenderSettings{m_context.screen.color, m_context.folder, nullptr, false, {}});
  // A document is taken without the office suite: the panel then says what it needs.
  if (!pages && pages.status().text() != kTextLibreOfficeNeeded) {
    ShowProblem(QString::fromStdString(StatusMessage(pages.status())));
    return false;
  }
  ShowProblem({});
  Edit(kFile, [&path](tagPrgItem& record) { record.item.media = path.string(); });
  return true;
}

void CMediaItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  const std::uint16_t kind = record.item.actType;
  m_file->setText(QString::fromStdString(record.item.media.str()));
  ShowProblem({});
  const bool placed = kind != kKindDocument;
  m_placement->setVisible(placed);
  m_placementLabel->setVisible(placed);
  ShowChoice(m_placement, record.item.showMode);
  m_convert->setVisible(kind == kKindVideo);
  m_convert->setEnabled(!IsConverting() && !record.item.media.view().empty());
  // What a conversion said belongs to its file.
  if (record.item.media.str() != m_outcomeFile && !IsConverting()) {
    m_outcome->clear();
    m_outcomeFile = record.item.media.str();
  }
  // Without the converter a screen that plays videos gets them as they are: said once.
  if (kind == kKindVideo && m_context.screen.type == kControllerClass7 && !m_toldNoConverter &&
      !VideoConverterAvailable()) {
    m_toldNoConverter = true;
    m_outcome->setText(Text(kTextNoVideoConverter));
  }
  Describe();
}

QString CMediaItemProperties::Facts() const { return m_facts->text(); }

void CMediaItemProperties::Describe() {
  const tagItemPart& item = m_record.item;
  const std::filesystem::path file = MediaFile();
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file, error).time_since_epoch().count();
  const std::string key = FormatText("%u/%u/%u/%dx%d/%u/%lld/", static_cast<unsigned>(item.actType),
                                     static_cast<unsigned>(item.showMode), static_cast<unsigned>(item.showType),
                                     m_context.window.width(), m_context.window.height(),
                                     static_cast<unsigned>(m_context.screen.color), static_cast<long long>(time)) +
                          file.string();
  if (key == m_described) {
    ShowProblem(m_describedProblem);
    return;
  }
  m_described = key;
  m_describedProblem.clear();
  m_firstFrame = {};
  m_preview->clear();
  m_facts->clear();
  if (item.media.view().empty() || m_context.window.isEmpty()) return;
  const Expected<std::vector<CLedBitmap>> pages = RenderItemPages(
      item, m_context.window, ItemRenderSettings{m_context.screen.color, m_context.folder, nullptr, false, {}});
  if (!pages) {
    // A document that cannot be shown (no office suite, a damaged file) says so instead of a page.
    m_describedProblem = QString::fromStdString(StatusMessage(pages.status()));
    ShowProblem(m_describedProblem);
    return;
  }
  if (!pages->empty()) {
    m_firstFrame = pages->front().Image();
    const int zoom = std::max(1, std::min(8, kPreviewWidth / std::max(1, m_context.window.width())));
    m_preview->setPixmap(QPixmap::fromImage(MagnifiedPicture(pages->front(), zoom, LedLook::kSquares)));
  }
  if (item.actType == kKindDocument) {
    m_facts->setText(FormattedText(kTextDocumentPages, std::to_string(pages->size())));
  } else {
    m_facts->setText(MovingFacts(item.actType, file));
  }
}

void CMediaItemProperties::AskAnimationFile() {
  std::filesystem::path target;
  if (m_context.screen.type != kControllerClass7 || MediaKindOf(MediaFile()) != kMediaVideo) {
    std::filesystem::path suggested = MediaFile();
    suggested.replace_extension(".laf");
    const QString file = QFileDialog::getSaveFileName(this, Text(kTextSaveAnimationAs),
                                                      QString::fromStdString(suggested.string()),
                                                      QStringLiteral("*.laf"));
    if (file.isEmpty()) return;
    target = file.toStdString();
  }
  StartConversion(target);
}

bool CMediaItemProperties::IsConverting() const { return m_task->IsRunning(); }

QString CMediaItemProperties::ConversionOutcome() const { return m_outcome->text(); }

void CMediaItemProperties::CancelConversion() { m_task->Cancel(); }

bool CMediaItemProperties::StartConversion(const std::filesystem::path& animationFile) {
  if (IsConverting() || m_record.item.actType != kKindVideo || m_record.item.media.view().empty()) return false;
  const std::filesystem::path source = MediaFile();
  const tagItemPart item = m_record.item;
  const MediaContext context = m_context;
  auto outcome = std::make_shared<QString>();
  CBackgroundTask::Work work;
  if (context.screen.type == kControllerClass7 && MediaKindOf(source) == kMediaVideo) {
    // Re-encoded for the window into the media folder, where sending finds it again.
    work = [source, item, context, outcome](const std::atomic<bool>& cancel, const std::function<void(int)>& progress) {
      const std::filesystem::path folder = ScreenMediaFolder(context.folder, context.screen.number);
      Expected<CConversionLog> log = CConversionLog::Load(folder);
      if (!log) return log.status();
      const VideoConversionRequest request{source, context.window.width(), context.window.height(), item.showMode, folder};
      const Expected<VideoConversionPlan> plan = PlanVideoConversion(request, *log);
      if (!plan) return plan.status();
      if (plan->kind == VideoPlanKind::kNone) {
        *outcome = FormattedText(kTextVideoNotConverted, Text(plan->reason).toStdString());
        return Status::Ok();
      }
      if (plan->kind == VideoPlanKind::kReuse) {
        *outcome = FormattedText(kTextVideoAlreadyConverted, plan->output.string());
        return log->Save();
      }
      std::error_code error;
      std::filesystem::create_directories(folder, error);
      if (error) return Status::SystemError(error.value(), folder);
      VideoConversionJob job{request, *plan, &cancel, progress, {}};
      const Expected<std::filesystem::path> converted = ConvertVideo(job, *log);
      if (!converted) return converted.status();
      *outcome = FormattedText(kTextVideoConvertedFor, converted->string());
      return log->Save();
    };
  } else {
    work = [source, item, context, animationFile, outcome](const std::atomic<bool>& cancel,
                                                            const std::function<void(int)>& progress) -> Status {
      const Expected<int> frames =
          ConvertToLaf(animationFile, context.window.width(), context.window.height(), context.screen.color,
                       item.showMode, source, kMergeUpToMs, progress, &cancel);
      if (!frames) return frames.status();
      *outcome = AnimationOutcome(animationFile, *frames);
      return Status::Ok();
    };
  }
  m_outcome->clear();
  m_progress->setValue(0);
  m_progress->show();
  m_cancel->show();
  m_convert->setEnabled(false);
  connect(
      m_task, &CBackgroundTask::finished, this,
      [this, outcome](bool ok, bool cancelled, const QString& message) {
        m_progress->hide();
        m_cancel->hide();
        m_convert->setEnabled(true);
        if (cancelled) {
          m_outcome->setText(Text(kTextConversionCancelled));
        } else {
          m_outcome->setText(ok ? *outcome : message);
        }
        Q_EMIT conversionFinished(ok && !cancelled);
      },
      Qt::SingleShotConnection);
  return m_task->Start(std::move(work));
}

}  // namespace vantorel
