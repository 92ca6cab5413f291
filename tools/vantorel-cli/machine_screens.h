#pragma once
// The machine's screen list as every command reads it: "screen.cfg" in the data folder, made with
// the default screen when missing. What the user must know about the file (a damaged file kept
// aside, screens that could not be read) goes to standard error; the command goes on.

#include <iostream>

#include "app/status_text.h"
#include "cli_command.h"
#include "screen/screen_data.h"

namespace vantorel::cli {

inline void PrintNotice(const Status& notice) {
  if (!notice.ok()) std::cerr << "warning: " << StatusMessage(notice) << '\n';
}

inline void LoadMachineScreens(const CliContext& context, CScreenData& list) {
  PrintNotice(list.Load(context.folders.ScreenFile(), true));
}

}  // namespace vantorel::cli
