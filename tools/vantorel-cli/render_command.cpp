// "render": the pages of one item as PNG files, as the sign will show them: one picture pixel per
// LED, or magnified (--zoom), or magnified with round LEDs on the sign's black face (--led). A
// moving item (video, animation) gives its frames instead, with how long each stays in
// "delays.txt".

#include <QImage>
#include <QString>

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "app/status_text.h"
#include "app/text_format.h"
#include "platform/atomic_file.h"
#include "cli_command.h"
#include "gui_application.h"
#include "playbill_session.h"
#include "record_address.h"
#include "render/font_library.h"
#include "render/item_pages.h"
#include "render/led_look.h"
#include "render/media/item_frames.h"

namespace vantorel::cli {
namespace {

struct RenderOptions {
  int program = 1;
  int window = 1;
  int item = 1;
  int zoom = 0;
  bool led = false;
  std::string at;  // the moment clocks and counters show, "YYYY-MM-DD hh:mm:ss"
  std::string folder;
};

DateTime MomentOf(const RenderOptions& options) {
  if (options.at.empty()) return CurrentLocalTime();
  const std::optional<DateTime> moment = ParseDateTime(options.at);
  if (!moment) throw CliError("--at: not a date and time of the form YYYY-MM-DD hh:mm:ss: " + options.at);
  return *moment;
}

QImage PageImage(const CLedBitmap& page, const RenderOptions& options) {
  if (options.led) return MagnifiedPicture(page, options.zoom > 0 ? options.zoom : 8, LedLook::kRoundDots);
  if (options.zoom > 1) return MagnifiedPicture(page, options.zoom, LedLook::kSquares);
  return page.Image();
}

void WritePicture(const CLedBitmap& page, const RenderOptions& options, const std::filesystem::path& file) {
  if (!PageImage(page, options).save(QString::fromStdString(file.string()), "PNG")) {
    throw CliError("cannot write " + file.string());
  }
  std::cout << file.string() << '\n';
}

// Every frame as frame-0001.png, frame-0002.png ..., and "delays.txt": a line a frame with its
// file name and how long it stays in ms.
void WriteFrames(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                 const RenderOptions& options, const std::filesystem::path& folder, const std::string& address) {
  std::ostringstream delays;
  int count = 0;
  const Status drawn = ForEachItemFrame(item, windowSize, settings, [&](const CLedBitmap& frame, int delayMs) {
    const std::string name = FormatText("frame-%04d.png", ++count);
    WritePicture(frame, options, folder / name);
    delays << name << ' ' << delayMs << '\n';
    return true;
  });
  if (!drawn) throw CliError("item " + address + ": " + StatusMessage(drawn));
  const std::filesystem::path list = folder / "delays.txt";
  if (Status written = WriteFileAtomically(list, delays.str()); !written) {
    throw CliError("cannot write " + list.string() + ": " + StatusMessage(written));
  }
  std::cout << list.string() << '\n';
}

void Render(const CliContext& context, int screen, const RenderOptions& options) {
  const DateTime moment = MomentOf(options);
  MakeGuiApplication();
  auto doc = OpenScreenPlaybill(context, screen);
  const std::string address = FormatText("%d.%d.%d", options.program, options.window, options.item);
  const PrgList& list = doc->Records();
  const tagPrgItem& item = list[static_cast<std::size_t>(RecordAt(*doc, address))];
  const tagWindowPart& window = list[static_cast<std::size_t>(RecordAt(*doc, FormatText("%d.%d", options.program,
                                                                                        options.window)))].window;
  // "Text mode" cells and faces are drawn with the font library of the playbill's screen.
  const std::unique_ptr<CTwFont> fonts = MakeFontLibrary(doc->CurrentScreen());
  const ItemRenderSettings settings{doc->CurrentScreen().color, doc->WorkFolder(), fonts.get(), false, moment};
  const QSize windowSize(window.width, window.height);
  const std::filesystem::path folder(options.folder);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw CliError(FormatText("cannot make the folder %s: %s", folder.c_str(), error.message().c_str()));
  if (IsMovingItemKind(item.item.actType)) {
    WriteFrames(item.item, windowSize, settings, options, folder, address);
    return;
  }
  const Expected<std::vector<CLedBitmap>> pages = RenderItemPages(item.item, windowSize, settings);
  if (!pages) throw CliError("item " + address + ": " + StatusMessage(pages.status()));
  for (std::size_t i = 0; i < pages->size(); ++i) {
    WritePicture((*pages)[i], options, folder / FormatText("page-%03zu.png", i + 1));
  }
}

const CliCommandGroup kRenderCommand(
    60, "render", "Draw the pages of an item as PNG files, as the sign shows them",
    [](CLI::App& group, CliContext& context) {
      group.require_subcommand(0);  // a command of its own, without subcommands
      auto screen = AddScreenOption(group);
      auto options = std::make_shared<RenderOptions>();
      group.add_option("--program", options->program, "Program number, 1-based (default: 1)")->check(CLI::PositiveNumber);
      group.add_option("--window", options->window, "Window number in the program, 1-based (default: 1)")
          ->check(CLI::PositiveNumber);
      group.add_option("--item", options->item, "Item number in the window, 1-based (default: 1)")->check(CLI::PositiveNumber);
      group.add_option("--zoom", options->zoom, "Magnify every LED this many times (1..64)")->check(CLI::Range(1, 64));
      group.add_option("--at", options->at, "Moment that clocks and counters show, \"YYYY-MM-DD hh:mm:ss\" (default: now)");
      group.add_flag("--led", options->led, "Round LEDs on black, as the sign looks (zoom 8 unless --zoom)");
      group.add_option("OUTDIR", options->folder, "Folder for page-001.png, page-002.png, ... (frames: frame-0001.png ... and delays.txt)")->required();
      group.callback([&context, screen, options] { Render(context, *screen, *options); });
    });

}  // namespace
}  // namespace vantorel::cli
