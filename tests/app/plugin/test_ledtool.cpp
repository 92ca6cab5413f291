// A tool plug-in for the tests of the tool menu. Compile definitions choose what it exports:
//   TOOL_TYPES=n      Ledtool_GetTypeCount and Ledtool_GetTypeAndName with n tools named
//                     "<TOOL_PREFIX> <k>", of type 100 + k
//   TOOL_RUNNABLE     Ledtool_Create, the setters, Ledtool_DoModal and Ledtool_Destroy
//   TOOL_SEARCH       Ledtool_SearchCard and Ledtool_SearchCardEx
//   TOOL_WIZARD       Ledtool_SearchCardEx is the screen setting wizard: it leaves one screen (ID 9,
//                     64 x 64, "Found") in "screen.cf_" of the data folder and reports 1
// Every run appends what the tool was told to "tool-calls.txt" in the data folder it was given.

#include <cstdio>
#include <fstream>
#include <string>

#include "app/ledtool_api.h"

#ifndef TOOL_PREFIX
#define TOOL_PREFIX "Tool"
#endif

namespace {

struct Tool {
  int language = 0;
  std::string dataFolder;
  int type = -1;
  std::string name;
  std::string admin;
  std::string advanced;
};

[[maybe_unused]] void Record(const Tool& tool, const char* what) {
  std::ofstream out(tool.dataFolder + "/tool-calls.txt", std::ios::app);
  out << what << " lang=" << tool.language << " type=" << tool.type << " name=" << tool.name
      << " admin=" << tool.admin << " advanced=" << tool.advanced << '\n';
}

}  // namespace

extern "C" {

#ifdef TOOL_TYPES
__attribute__((visibility("default"))) int Ledtool_GetTypeCount() { return TOOL_TYPES; }

__attribute__((visibility("default"))) int Ledtool_GetTypeAndName(int languageId, int index, char* name, int size) {
  std::snprintf(name, static_cast<std::size_t>(size), "%s %d%s", TOOL_PREFIX, index, languageId == 1031 ? " (de)" : "");
  return 100 + index;
}
#endif

#ifdef TOOL_RUNNABLE
__attribute__((visibility("default"))) LedtoolHandle Ledtool_Create() { return new Tool; }
__attribute__((visibility("default"))) void Ledtool_SetLanguage(LedtoolHandle h, int id) { static_cast<Tool*>(h)->language = id; }
__attribute__((visibility("default"))) void Ledtool_SetDataPath(LedtoolHandle h, const char* path) {
  static_cast<Tool*>(h)->dataFolder = path;
}
__attribute__((visibility("default"))) void Ledtool_SetCardType(LedtoolHandle h, int type) { static_cast<Tool*>(h)->type = type; }
__attribute__((visibility("default"))) void Ledtool_SetCardName(LedtoolHandle h, const char* name) {
  static_cast<Tool*>(h)->name = name;
}
__attribute__((visibility("default"))) void Ledtool_SetPassword(LedtoolHandle h, const char* admin, const char* advanced) {
  static_cast<Tool*>(h)->admin = admin;
  static_cast<Tool*>(h)->advanced = advanced;
}
__attribute__((visibility("default"))) int Ledtool_DoModal(LedtoolHandle h, void*) {
  Record(*static_cast<Tool*>(h), "modal");
  return 1;
}
__attribute__((visibility("default"))) void Ledtool_Destroy(LedtoolHandle h) { delete static_cast<Tool*>(h); }
#endif

#ifdef TOOL_SEARCH
__attribute__((visibility("default"))) int Ledtool_SearchCard(LedtoolHandle h, void*) {
  Record(*static_cast<Tool*>(h), "search");
  return 0;
}
__attribute__((visibility("default"))) int Ledtool_SearchCardEx(LedtoolHandle h, void*) {
  Record(*static_cast<Tool*>(h), "search-ex");
#ifdef TOOL_WIZARD
  std::ofstream(static_cast<Tool*>(h)->dataFolder + "/screen.cf_")
      << "[SCREEN]\r\nSCRNAME=Found\r\nTYPE=6\r\nCOLOR=119\r\nWIDTH=64\r\nHEIGHT=64\r\nNUMBER=9\r\nMODEL=19205\r\n"
         "[/SCREEN]\r\n\r\n";
  return 1;
#else
  return 3;
#endif
}
#endif
}
