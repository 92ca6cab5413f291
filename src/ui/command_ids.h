#pragma once
// Command numbers of the editor. A command's text in the text table has the same number:
// "Label\nStatus tip".

namespace vantorel {

inline constexpr int kCmdUndo = 5300;
inline constexpr int kCmdRedo = 5301;
inline constexpr int kCmdAddPicture = 5114;
inline constexpr int kCmdMakeData = 5650;
inline constexpr int kCmdBoardTime = 5803;
inline constexpr int kCmdInstantMessage = 5810;
inline constexpr int kCmdFontSetting = 5818;
inline constexpr int kCmdCommSetting = 5831;
inline constexpr int kCmdAutoTask = 5850;
inline constexpr int kCmdNewProgram = 32777;
inline constexpr int kCmdDeleteProgram = 32778;
inline constexpr int kCmdAddItem = 32779;
inline constexpr int kCmdDeleteItem = 32780;
inline constexpr int kCmdMoveProgramUp = 32781;
inline constexpr int kCmdMoveProgramDown = 32782;
inline constexpr int kCmdSetBackground = 32783;
inline constexpr int kCmdClearBackground = 32784;
inline constexpr int kCmdExportPlaybill = 32785;
inline constexpr int kCmdImportPlaybill = 32786;
inline constexpr int kCmdOptions = 32787;
inline constexpr int kCmdLanguage = 32788;
inline constexpr int kCmdZoomIn = 32789;
inline constexpr int kCmdZoomOut = 32790;
inline constexpr int kCmdChangeAdminPassword = 32825;
inline constexpr int kCmdScreenManager = 32860;
inline constexpr int kCmdChangeAdvancedPassword = 32883;
inline constexpr int kCmdEditSchedule = 32917;
inline constexpr int kCmdChangeStartupPassword = 32918;
inline constexpr int kCmdFirstLayout = 32933;  // + layout 0..3
inline constexpr int kCmdFileOpen = 57601;
inline constexpr int kCmdFileSave = 57603;
inline constexpr int kCmdFileSaveAs = 57604;
inline constexpr int kCmdAbout = 57664;
inline constexpr int kCmdExit = 57665;
inline constexpr int kCmdViewToolBar = 59392;
inline constexpr int kCmdViewStatusBar = 59393;

// Menu titles.

}  // namespace vantorel
