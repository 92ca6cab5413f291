#pragma once
// The documents of the items drawn as rich text: a plain text file (kind 2) and the "Image mode"
// text (kind 8).
//
// Threads: a document belongs to the thread that makes it; a QGuiApplication must exist.

#include <QFont>
#include <QTextDocument>

#include <memory>
#include <string_view>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "playbill/rich_text_block.h"

namespace vantorel {

// The outline font of an item's LOGFONT: a negative height is the character height in pixels, a
// positive one the cell height (taken as the same), 0 is 16 pixels; the weight as it stands
// (400 normal, 700 bold); the face name (legacy code page or UTF-8), the system's sans-serif
// font when there is none.
QFont FontOfLogFont(const tagLogFont& logFont);

// The characters of a text file (UTF-8, or the legacy code page when not valid UTF-8) in `font`;
// CR LF, CR and LF end paragraphs.
std::unique_ptr<QTextDocument> PlainTextDocument(std::string_view bytes, const QFont& font);

// The rich text of a kind-8 block: the document after its 32-bit length. No block, a block whose
// declared size exceeds what it holds, and a document of nothing but blanks and zero bytes are
// empty text; a document that cannot be read fails with kTextRichTextUnreadable and the cause.
Expected<std::unique_ptr<QTextDocument>> ImageTextDocument(const RichTextBlock* block);

}  // namespace vantorel
