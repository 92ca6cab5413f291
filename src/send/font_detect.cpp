#include "send/font_detect.h"

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_reader.h"
#include "screen/screen_data.h"

namespace vantorel {

Expected<FontSettings> FontSettingsOfRunningInfo(std::span<const std::uint8_t> answer) {
  ByteReader in(answer);
  in.Skip(1);  // selector
  FontSettings settings;
  settings.characterSet = in.U8();
  in.Skip(1);
  settings.asciiSizes = in.U16Be();
  settings.extendedSizes = in.U16Be();
  if (!in.ok()) return Status::Failure(kTextFailed, "running information: " + in.Where());
  return settings;
}

void ApplyFontSettings(const FontSettings& settings, tagScreenInfo& screen) {
  screen.fontLib = settings.characterSet;
  screen.ascSizeM = settings.asciiSizes;
  screen.extSizeM = settings.extendedSizes;
}

std::string FontSettingsText(const FontSettings& settings) {
  return FormatText("Character set %u, ASCII font sizes 0x%04X, extended font sizes 0x%04X",
                    unsigned{settings.characterSet}, unsigned{settings.asciiSizes}, unsigned{settings.extendedSizes});
}

}  // namespace vantorel
