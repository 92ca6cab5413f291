#include "character_forms.h"

#include <QChar>
#include <QList>
#include <QString>

namespace vantorel::fontbuild {

bool IsBlankCharacter(char32_t codePoint) {
  switch (codePoint) {
    case 0x115F: case 0x1160:  // Hangul choseong and jungseong fillers
    case 0x3164:               // Hangul filler
    case 0xFFA0:               // half-width Hangul filler
    case 0x180E:               // Mongolian vowel separator
      return true;
    default:
      break;
  }
  const QChar::Category category = QChar::category(codePoint);
  return category == QChar::Separator_Space || category == QChar::Separator_Line ||
         category == QChar::Separator_Paragraph || category == QChar::Other_Control ||
         category == QChar::Other_Format || category == QChar::Other_NotAssigned ||
         category == QChar::Other_PrivateUse;
}

std::optional<char32_t> StandardForm(char32_t codePoint) {
  const bool compatibility =
      (codePoint >= 0xF900 && codePoint <= 0xFAFF) || (codePoint >= 0x2F800 && codePoint <= 0x2FA1F);
  if (!compatibility || QChar::decompositionTag(codePoint) != QChar::Canonical) return std::nullopt;
  const QString standard = QChar::decomposition(codePoint);
  const auto codes = standard.toUcs4();
  if (codes.size() != 1) return std::nullopt;
  return static_cast<char32_t>(codes.front());
}

}  // namespace vantorel::fontbuild
