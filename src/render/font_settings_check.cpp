#include "render/font_settings_check.h"

#include "app/text_format.h"
#include "app/text_table.h"
#include "render/font_missing_sizes.h"
#include "render/font_style.h"

namespace vantorel {
namespace {


void AppendSizeLines(std::string& message, std::uint16_t sizes) {
  for (int s = 0; s < kFontSizeCount; ++s) {
    if ((sizes & (1u << s)) == 0) continue;
    message += FormatText(LoadText(kTextMissingSizeLine).c_str(), IndexToSize(s), LoadText(kTextDotSuffix).c_str());
    message += '\n';
  }
}

}  // namespace

MissingSizes MissingSizesForCodePage(const std::filesystem::path& folder, int codePage, std::uint16_t ascMask,
                                     std::uint16_t dbMask) {
  const char* doubleByteBase = nullptr;
  switch (codePage) {
    case kCodePageGb2312: doubleByteBase = "gb"; break;
    case kCodePageBig5: doubleByteBase = "big"; break;
    case kCodePageShiftJis: doubleByteBase = "sjis"; break;
    case kCodePageKsc5601: doubleByteBase = "ksc"; break;
    case kCodePageAsciiEx: {
      const std::uint16_t missing = MissingAsciiExSizes(folder, ascMask);
      return {missing, missing};
    }
    case kCodePageAscii: return {MissingAsciiSizes(folder, ascMask, 0), dbMask};
    default: return {ascMask, dbMask};
  }
  return {MissingAsciiSizes(folder, ascMask, 0), MissingFontSizes(folder, dbMask, doubleByteBase, 0)};
}

std::string MissingSizesMessage(const MissingSizes& missing) {
  std::string message = LoadText(kTextAsciiSizesHeading) + '\n';
  AppendSizeLines(message, missing.ascii);
  message += LoadText(kTextExtendSizesHeading) + '\n';
  AppendSizeLines(message, missing.doubleByte);
  return message;
}

bool CheckFontLibrarySettings(const std::filesystem::path& folder, int codePage, std::uint16_t ascMask,
                              std::uint16_t dbMask, const std::function<bool(const std::string&)>& confirm,
                              std::string& errorMessage) {
  errorMessage.clear();
  int question = 0;
  if (ascMask == 0 && dbMask == 0) {
    question = kTextNoSizeValid;
  } else if (ascMask == 0) {
    question = kTextNoAsciiSizeValid;
  } else if (dbMask == 0 && codePage != kCodePageAscii) {
    question = kTextNoExtendSizeValid;
  }
  if (question != 0 && !confirm(LoadText(question))) return false;

  const MissingSizes missing = MissingSizesForCodePage(folder, codePage, ascMask, dbMask);
  if (missing.ascii == 0 && missing.doubleByte == 0) return true;
  errorMessage = MissingSizesMessage(missing);
  return false;
}

}  // namespace vantorel
