#include "render/richtext/rich_text_item.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/text_ids.h"
#include "platform/legacy_text.h"
#include "render/richtext/rtf_reader.h"

namespace vantorel {
namespace {

constexpr int kDefaultPixelHeight = 16;
constexpr std::size_t kLengthBytes = 4;

}  // namespace

QFont FontOfLogFont(const tagLogFont& logFont) {
  QFont font = QGuiApplication::font();
  const std::string face = ToUtf8(logFont.faceName.view());
  if (!face.empty()) font.setFamilies({QString::fromStdString(face)});
  const long long height = std::llabs(static_cast<long long>(logFont.height));
  font.setPixelSize(height > 0 ? static_cast<int>(std::min<long long>(height, 4096)) : kDefaultPixelHeight);
  if (logFont.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  return font;
}

std::unique_ptr<QTextDocument> PlainTextDocument(std::string_view bytes, const QFont& font) {
  QString text = QString::fromStdString(ToUtf8(bytes));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  auto document = std::make_unique<QTextDocument>();
  document->setDefaultFont(font);
  document->setPlainText(text);
  return document;
}

Expected<std::unique_ptr<QTextDocument>> ImageTextDocument(const RichTextBlock* block) {
  if (block == nullptr) return std::make_unique<QTextDocument>();
  const auto declared = block->DeclaredSize(kKindImageText);
  if (!declared || *declared > block->HeldSize()) return std::make_unique<QTextDocument>();
  const auto stored = block->StoredBytes(kKindImageText).subspan(kLengthBytes);
  const std::string_view rtf(reinterpret_cast<const char*>(stored.data()), stored.size());
  if (rtf.find_first_not_of(std::string_view(" \t\r\n\0", 5)) == std::string_view::npos) {
    return std::make_unique<QTextDocument>();
  }
  Expected<std::unique_ptr<QTextDocument>> document = ReadRtf(rtf);
  if (!document) return document.status().WithText(kTextRichTextUnreadable);
  return document;
}

}  // namespace vantorel
