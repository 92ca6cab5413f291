#pragma once
// How a failure reads for a user: its text, then what exactly went wrong.
//   "Failed: No space left on device — /home/ana/.local/share/OrvikSoft/bin/work/av0001.ldt"

#include <string>

#include "platform/status.h"

namespace vantorel {

// The failure's text (kTextFailed when it names none), a colon and its detail; empty for success.
// "Failed: No such file or directory — /a/b.txt". A detail fills the text's printf placeholder when
// it has one, and follows a text that ends a sentence after a blank: "Fail to load language
// resource! /a/lang1031.lng".
std::string StatusMessage(const Status& status);
// The title of the message box that shows `status`: its own, else `fallback`.
TextId StatusTitle(const Status& status, TextId fallback);

}  // namespace vantorel
