#pragma once
// Rich text (RTF) into a QTextDocument, and back.
//
// The reader takes what the editor and the common word processors write: groups; \rtf1 \ansi
// \ansicpgN \deffN; the font table with \fcharsetN, the colour table; the character properties
// \f \fs \cf \cb \highlight \b \i \ul \ulnone \strike \plain; the paragraph properties \pard \ql
// \qc \qr \qj \li \ri \fi \sb \sa; \par \line \tab and the special characters; \uN with \ucN
// fallbacks; \'hh and plain bytes in the code page of the current font (rtf_code_page.h).
// Ignorable destinations ({\*...}), pictures, objects, style sheets, headers, footers and the
// other destinations that hold no body text are skipped whole; any other control word is ignored.
//
// Sizes: font sizes become point sizes; paragraph indents and spacing (in twips) become pixels
// at 96 dots an inch (twips / 15), the resolution the renderer lays text out at.
//
// Broken input: a document must start with "{\rtf"; groups nested deeper than kRtfMaxDepth and
// \binN running past the end fail with their cause. A document whose closing braces are missing
// ends where the bytes end; what follows the brace that closes the document is ignored, and so is
// a closing brace with no group open.
//
// Threads: a QTextDocument belongs to the thread that makes it; the functions themselves keep no
// state. A QGuiApplication must exist (fonts).

#include <QTextDocument>

#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

inline constexpr int kRtfMaxDepth = 200;

Expected<std::unique_ptr<QTextDocument>> ReadRtf(std::string_view rtf);

// `document` as RTF that ReadRtf reads back to the same text and properties: every character
// outside ASCII as \uN with a '?' fallback, the fonts and colours it uses in its tables.
std::string WriteRtf(const QTextDocument& document);

}  // namespace vantorel
