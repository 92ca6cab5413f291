#pragma once
// The user's options, kept in the settings file "Vantorel.ini" in the sections ENV, OPTION and
// CUSTOM, and the read-only branding file "Vantorel.cfg" beside the program.

#include <filesystem>
#include <string>

#include "platform/status.h"

namespace vantorel {

struct AppOptions {
  // [ENV]
  int previewShow = 1;
  int previewTopmost = 0;
  int previewAlign = 1;  // one of five placements, 0..4
  int previewZoom = 0;
  int minimizeToTray = 0;
  int ledtoolPassword = 0;  // offer "Change Ledtool advance password" in the tool menu
  // [OPTION]
  int autoShutdown = 0;
  int shutdownTime = 0x1700;  // hour*256+minute: 23:00
  // [CUSTOM]
  int defaultTextMode = 1;  // 0: new text items are kind 6 (text mode), 1: kind 8 (image mode)
  int defaultTextSize = -1;  // -1: not set
  int defaultEffect = 0x8000;  // random
  int defaultClockFormat = 1;
  std::string extendedAsciiName;  // empty: the built-in name of the extended-ASCII font library
  int oneButtonSend = 0;
  int packProgramFiles = 0;
  int convertVideo = 0;
  int removeFontSmooth = 0;
  int runschBlank = 0;

  friend bool operator==(const AppOptions&, const AppOptions&) = default;
};

// Missing or unreadable keys keep their defaults.
AppOptions ReadOptions(const std::filesystem::path& settingsFile);
// Writes every key; the file's other sections, keys and comments stay. A file that exists but
// cannot be read is left as it is and the failure says why.
Status WriteOptions(const std::filesystem::path& settingsFile, const AppOptions& options);
// Writes only ENV / "Ledtool password" (done when the main window closes).
Status WriteLedtoolPasswordOption(const std::filesystem::path& settingsFile, int value);

// The name shown for the extended-ASCII font library.
std::string ExtendedAsciiName(const AppOptions& options);

struct Branding {
  std::string appTitle;    // main window caption; empty: the program's own name
  std::string aboutImage;  // picture of the About box
  std::string aboutTitle;  // caption of the About box
};

Branding ReadBranding(const std::filesystem::path& brandingFile);
// "App title" of the branding, else the program's name.
std::string MainWindowCaption(const Branding& branding);

}  // namespace vantorel
