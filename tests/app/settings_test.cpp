#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "app/options.h"
#include "app/password_store.h"
#include "app/serial_ports.h"
#include "app/user_settings.h"
#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::TempFolder;

TEST(Options, DefaultsWhenTheFileIsMissingOrBroken) {
  TempFolder folder;
  const AppOptions defaults = ReadOptions(folder / "Vantorel.ini");
  EXPECT_EQ(defaults, AppOptions{});
  EXPECT_EQ(defaults.previewShow, 1);
  EXPECT_EQ(defaults.previewAlign, 1);
  EXPECT_EQ(defaults.shutdownTime, 5888);
  EXPECT_EQ(defaults.defaultTextMode, 1);
  EXPECT_EQ(defaults.defaultTextSize, -1);
  EXPECT_EQ(defaults.defaultEffect, 32768);
  EXPECT_EQ(defaults.defaultClockFormat, 1);

  // A hand-written file in the classic form, with a value that is not a number.
  ASSERT_TRUE(WriteFileAtomically(folder / "Vantorel.ini",
                                  "[OPTION]\r\nAuto Shutdown=1\r\nShutdown Time=abc\r\n[CUSTOM]\r\n"
                                  "Default Effect=7\r\nExtended ASCII Name=Latin-1\r\n"));
  const AppOptions read = ReadOptions(folder / "Vantorel.ini");
  EXPECT_EQ(read.autoShutdown, 1);
  EXPECT_EQ(read.shutdownTime, 5888);
  EXPECT_EQ(read.defaultEffect, 7);
  EXPECT_EQ(read.extendedAsciiName, "Latin-1");
  EXPECT_EQ(ExtendedAsciiName(read), "Latin-1");
  EXPECT_EQ(ExtendedAsciiName(defaults), "Extended ASCII");
}

TEST(Options, EveryKeyIsWrittenAndReadBack) {
  TempFolder folder;
  AppOptions options;
  int value = 2;
  for (int* field : {&options.previewShow, &options.previewTopmost, &options.previewAlign, &options.previewZoom,
                     &options.minimizeToTray, &options.ledtoolPassword, &options.autoShutdown,
                     &options.shutdownTime, &options.defaultTextMode, &options.defaultTextSize,
                     &options.defaultEffect, &options.defaultClockFormat, &options.oneButtonSend,
                     &options.packProgramFiles, &options.convertVideo, &options.removeFontSmooth,
                     &options.runschBlank}) {
    *field = value++;
  }
  options.extendedAsciiName = "Kyrillisch ÄÖÜ";
  ASSERT_TRUE(WriteOptions(folder / "Vantorel.ini", options));
  EXPECT_EQ(ReadOptions(folder / "Vantorel.ini"), options);

  // The keys land in their sections under their names.
  QSettings ini(QString::fromStdString((folder / "Vantorel.ini").string()), QSettings::IniFormat);
  EXPECT_EQ(ini.value("ENV/Minimize to System Tray").toInt(), 6);
  EXPECT_EQ(ini.value("OPTION/Shutdown Time").toInt(), 9);
  EXPECT_EQ(ini.value("CUSTOM/Runsch Blank").toInt(), 18);

  ASSERT_TRUE(WriteLedtoolPasswordOption(folder / "Vantorel.ini", 0));
  options.ledtoolPassword = 0;
  EXPECT_EQ(ReadOptions(folder / "Vantorel.ini"), options);
}

TEST(Options, BrandingAndCaption) {
  TempFolder folder;
  EXPECT_EQ(MainWindowCaption(ReadBranding(folder / "Vantorel.cfg")), "Vantorel");
  ASSERT_TRUE(WriteFileAtomically(folder / "Vantorel.cfg",
                                  "[OPTION]\nApp title=Sign Studio\nAbout image=logo.png\nAbout title=About it\n"));
  const Branding branding = ReadBranding(folder / "Vantorel.cfg");
  EXPECT_EQ(branding.appTitle, "Sign Studio");
  EXPECT_EQ(branding.aboutImage, "logo.png");
  EXPECT_EQ(branding.aboutTitle, "About it");
  EXPECT_EQ(MainWindowCaption(branding), "Sign Studio");
}

TEST(SerialPorts, ClassicNumberingUnlessTheSettingsFileSaysOtherwise) {
  TempFolder folder;
  const CSerialPortTable classic = CSerialPortTable::FromSettingsFile(folder / "Vantorel.ini");
  EXPECT_EQ(classic.DevicePath(0), "/dev/ttyS0");
  EXPECT_EQ(classic.DevicePath(98), "/dev/ttyS98");
  EXPECT_EQ(classic.DevicePath(99), "");
  EXPECT_EQ(classic.DevicePath(-1), "");
  ASSERT_TRUE(WriteFileAtomically(folder / "Vantorel.ini",
                                  "[ENV]\r\nPreview Show=1\r\n[serial]\r\ncom3 = /dev/ttyUSB0\r\nCOM4=\r\nCOM100=/dev/pts/9\r\n"));
  const CSerialPortTable mapped = CSerialPortTable::FromSettingsFile(folder / "Vantorel.ini");
  EXPECT_EQ(mapped.DevicePath(2), "/dev/ttyUSB0");
  EXPECT_EQ(mapped.DevicePath(3), "/dev/ttyS3");  // an empty value keeps the classic device
  EXPECT_EQ(mapped.DevicePath(0), "/dev/ttyS0");
}

// The per-user store of these tests lives in a temporary folder.
class UserSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(m_folder.Path().string()));
  }
  TempFolder m_folder;
};

TEST_F(UserSettingsTest, SharedSettingsAndLanguage) {
  CUserSettings settings;
  const SharedSettings shared = settings.ReadShared();
  EXPECT_EQ(shared.autoPort, 1);
  EXPECT_EQ(shared.serialPort, 1);
  EXPECT_EQ(shared.openFilePreview, 0);
  EXPECT_EQ(shared.previewPages, 0);
  EXPECT_FALSE(settings.Language());
  settings.SetLanguage(1031);
  EXPECT_EQ(CUserSettings().Language(), 1031);
  EXPECT_TRUE(std::filesystem::exists(m_folder / "OrvikSoft" / "Vantorel.conf"));
}

TEST_F(UserSettingsTest, PasswordBlocksDefaultsShortBlocksAndStartup) {
  {
    CUserSettings settings;
    settings.WriteBinary("SetScrPass", std::vector<std::uint8_t>(35, 0x11));  // one byte short
    const PasswordBlocks blocks = LoadPasswordBlocks(settings);
    EXPECT_TRUE(CheckPassword("50731", blocks.administrator));
    EXPECT_TRUE(CheckPassword("61427", blocks.advanced));
    EXPECT_FALSE(blocks.HasStartupPassword());
  }
  // Both defaults were written back at once.
  CUserSettings settings;
  const auto admin = settings.ReadBinary("SetScrPass");
  ASSERT_TRUE(admin);
  EXPECT_EQ(admin->size(), 36u);
  EXPECT_TRUE(settings.ReadBinary("SetScrPass1"));
  EXPECT_FALSE(settings.ReadBinary("SoftwarePass"));

  // A stored password survives; a startup password is read as it is.
  StorePasswordBlock(settings, PasswordKind::Administrator, EncodePassword("admin!", true));
  StorePasswordBlock(settings, PasswordKind::Startup, EncodePassword("boot", true));
  const PasswordBlocks blocks = LoadPasswordBlocks(settings);
  EXPECT_TRUE(CheckPassword("admin!", blocks.Get(PasswordKind::Administrator)));
  EXPECT_TRUE(blocks.HasStartupPassword());
  EXPECT_TRUE(CheckPassword("boot", blocks.Get(PasswordKind::Startup)));

  // Removing the startup password stores the all-zero block: no prompt at the next start.
  StorePasswordBlock(settings, PasswordKind::Startup, PasswordBlock{});
  EXPECT_FALSE(LoadPasswordBlocks(settings).HasStartupPassword());
}

}  // namespace
}  // namespace vantorel
