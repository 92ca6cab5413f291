#include "screen/controller_types.h"

#include <gtest/gtest.h>

#include <vector>

#include "screen/colour_modes.h"
#include "screen/comm_types.h"

namespace vantorel {
namespace {

TEST(ControllerTypesTest, TableInChooserOrder) {
  const struct {
    const char* name;
    std::uint16_t code;
    std::uint16_t controllerClass;
    std::uint16_t maxColour;
    std::vector<std::uint16_t> modes;
    int maxSize;
    int nameTextId;
  } expected[] = {
      {"Korvan-N5A", 14880, 6, 0x77, {0x77, 0x73, 0x71, 7, 3, 1}, 1024, 241},
      {"Korvan-N3A", 14864, 6, 0x77, {0x77, 0x73, 0x71, 7, 3, 1}, 1024, 238},
      {"Korvan-N3B", 14865, 6, 7, {1, 3, 7}, 1024, 240},
      {"Korvan-M7", 19207, 7, 0x77, {0x77, 0x73, 0x71}, 2048, 235},
      {"Korvan-M6", 19206, 7, 0x77, {0x77, 0x73, 0x71}, 2048, 232},
      {"Korvan-M5", 19205, 6, 0x77, {0x77, 0x73, 0x71, 7, 3, 1}, 1024, 411},
      {"Korvan-M4", 19204, 6, 7, {1, 3, 7}, 2048, 417},
      {"Korvan-M3", 19203, 6, 3, {1, 3}, 1024, 421},
      {"Korvan-M2", 19202, 6, 3, {1, 3}, 1024, 497},
      {"Korvan-M1", 19201, 6, 3, {1, 3}, 512, 498},
  };
  const auto types = ControllerTypes();
  ASSERT_EQ(types.size(), std::size(expected));
  for (std::size_t i = 0; i < types.size(); ++i) {
    const auto& e = expected[i];
    EXPECT_STREQ(types[i].name, e.name);
    EXPECT_EQ(types[i].code, e.code);
    EXPECT_EQ(ControllerTypeIndex(e.code), static_cast<int>(i));
    EXPECT_EQ(ControllerClassOf(e.code), e.controllerClass) << e.name;
    EXPECT_EQ(MaxColourOf(e.code), e.maxColour) << e.name;
    const auto modes = ColourModesOf(e.code);
    EXPECT_EQ(std::vector<std::uint16_t>(modes.begin(), modes.end()), e.modes) << e.name;
    const std::vector<int> sizes = SizeChoices(e.code);
    EXPECT_EQ(sizes.front(), 8);
    EXPECT_EQ(sizes[1], 12);
    EXPECT_EQ(sizes.back(), e.maxSize) << e.name;
    EXPECT_EQ(sizes.size(), static_cast<std::size_t>((e.maxSize - 8) / 4 + 1));
    EXPECT_EQ(FindControllerType(e.code).nameTextId, e.nameTextId);
    EXPECT_EQ(ModelName(e.code), e.name);
    EXPECT_EQ(FindModelByName(e.name), e.code);
  }
}

TEST(ControllerTypesTest, UnknownModelFallback) {
  for (const std::uint16_t code : std::vector<std::uint16_t>{0, 1, 0x4B00, 0x4B08, 0xFFFF}) {
    EXPECT_FALSE(IsKnownModel(code));
    EXPECT_EQ(ControllerTypeIndex(code), -1);
    EXPECT_EQ(ModelName(code), "Unknow");
    EXPECT_EQ(FindControllerType(code).nameTextId, 239);
    EXPECT_EQ(ControllerClassOf(code), 6);
    EXPECT_EQ(MaxColourOf(code), 3);
    EXPECT_EQ(SizeChoices(code), std::vector<int>{8});
    EXPECT_TRUE(OffersColourMode(code, 1));
    EXPECT_TRUE(OffersColourMode(code, 3));
    EXPECT_FALSE(OffersColourMode(code, 7));
    EXPECT_EQ(PixelLimit(code, 1), 0);
    EXPECT_TRUE(FitsPixelLimit(code, 1, 65535, 65535));
  }
  EXPECT_EQ(FindModelByName("korvan-m5"), kModelM5);
  EXPECT_EQ(FindModelByName("Korvan-M8"), std::nullopt);
  EXPECT_EQ(FindModelByName(""), std::nullopt);
}

TEST(ControllerTypesTest, PixelLimitWithColourFactor) {
  const struct {
    std::uint16_t model;
    std::uint16_t colour;
    std::int64_t limit;
  } cases[] = {
      {kModelN5A, 0x77, 131072},     {kModelN5A, 7, 131072},       {kModelN5A, 0x73, 2 * 131072},
      {kModelN5A, 3, 2 * 131072},    {kModelN5A, 1, 3 * 131072},   {kModelN5A, 0x71, 3 * 131072},
      {kModelN3A, 1, 3 * 51200},     {kModelN3B, 3, 2 * 409600},   {kModelM7, 1, 307200},
      {kModelM6, 0x77, 307200},      {kModelM5, 1, 65536},         {kModelM4, 7, 524288},
      {kModelM3, 3, 32768},          {kModelM2, 1, 16384},         {kModelM1, 1, 8192},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PixelLimit(c.model, c.colour), c.limit) << c.model << " " << c.colour;
  }
  EXPECT_TRUE(FitsPixelLimit(kModelM5, 0x77, 256, 256));   // exactly the limit
  EXPECT_FALSE(FitsPixelLimit(kModelM5, 0x77, 256, 260));
  EXPECT_TRUE(FitsPixelLimit(kModelN5A, 1, 1024, 384));    // 3 x 131072
  EXPECT_FALSE(FitsPixelLimit(kModelN5A, 7, 1024, 384));
}

TEST(ColourModesTest, NamesLevelsAndFactors) {
  const struct {
    std::uint16_t code;
    const char* name;
    int textId;
    int greyLevels;
    int factor;
  } cases[] = {
      {1, "Mono", 185, 2, 3},
      {3, "RG color", 186, 2, 2},
      {7, "RGB color", 187, 2, 1},
      {0x71, "Mono(256 grayscale)", 513, 256, 3},
      {0x73, "RG color(256 grayscale)", 514, 256, 2},
      {0x77, "Full color", 162, 256, 1},
      {0, "Full color", 162, 2, 3},
      {0x31, "0x31", 0, 16, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColourModeName(c.code), c.name);
    EXPECT_EQ(ColourModeNameTextId(c.code), c.textId);
    EXPECT_EQ(GreyLevels(c.code), c.greyLevels) << c.code;
    EXPECT_EQ(ColourFactor(c.code), c.factor) << c.code;
  }
  EXPECT_EQ(ParseColourMode("full color"), 0x77);
  EXPECT_EQ(ParseColourMode("RG color(256 grayscale)"), 0x73);
  EXPECT_EQ(ParseColourMode("0x71"), 0x71);
  EXPECT_EQ(ParseColourMode("7"), 7);
  EXPECT_EQ(ParseColourMode("0x"), std::nullopt);
  EXPECT_EQ(ParseColourMode("70000"), std::nullopt);
  EXPECT_EQ(ParseColourMode("grey"), std::nullopt);
  EXPECT_EQ(ParseColourMode("7x"), std::nullopt);
}

TEST(CommTypesTest, ChooserOrderAndTexts) {
  const struct {
    std::uint8_t value;
    const char* listText;
    int chooserTextId;
  } expected[] = {{0, "RS232/485", 202}, {2, "Network", 203}, {3, "OvServer(Net)", 204},
                  {4, "OvServer(GPRS)", 209}, {1, "GPRS DTU", 210}};
  const auto types = CommTypes();
  ASSERT_EQ(types.size(), std::size(expected));
  for (std::size_t i = 0; i < types.size(); ++i) {
    EXPECT_EQ(types[i].value, expected[i].value);
    EXPECT_STREQ(types[i].listText, expected[i].listText);
    EXPECT_EQ(types[i].chooserTextId, expected[i].chooserTextId);
    EXPECT_EQ(CommTypeListText(expected[i].value), expected[i].listText);
  }
  EXPECT_EQ(FindCommType(5), nullptr);
  EXPECT_EQ(CommTypeListText(5), "");
  EXPECT_EQ(InitialSubMode(kCommNetwork, 7), 1);
  EXPECT_EQ(InitialSubMode(kCommNetwork, 6), 0);
  EXPECT_EQ(InitialSubMode(kCommServerNet, 7), 0);
}

TEST(CommTypesTest, ParameterText) {
  tagCommInfo comm;
  comm.portIndex = 2;
  comm.baudRate = 9600;
  comm.gprsId.Assign("unit-9");
  comm.domain.Assign("relay.example");
  comm.ipAddr = 0x0A000105;
  comm.idCode = 0xFFFFFFFF;
  comm.ipPort = 5200;
  const struct {
    std::uint8_t type;
    std::uint8_t subMode;
    const char* text;
  } cases[] = {
      {0, 0, "COM3: 9600,N,8,1"},
      {0, 1, "COM3: 9600,N,8,1"},
      {1, 0, "unit-9"},
      {2, 0, "10.0.1.5 : 5200 [255.255.255.255]"},
      {2, 1, "unit-9"},
      {3, 0, "10.0.1.5 : 5200 [unit-9]"},
      {3, 1, "relay.example : 5200 [unit-9]"},
      {4, 1, "relay.example : 5200 [unit-9]"},
      {9, 0, ""},
  };
  for (const auto& c : cases) {
    comm.commType = c.type;
    comm.subMode = c.subMode;
    EXPECT_EQ(CommParameterText(comm), c.text) << int{c.type};
  }
}

TEST(CommTypesTest, DottedQuads) {
  EXPECT_EQ(FormatDottedQuad(0xC0A801DE), "192.168.1.222");
  EXPECT_EQ(FormatDottedQuad(0), "0.0.0.0");
  EXPECT_EQ(ParseDottedQuad("192.168.1.222"), 0xC0A801DEu);
  EXPECT_EQ(ParseDottedQuad("255.255.255.255"), 0xFFFFFFFFu);
  for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.256", "1..3.4", "a.b.c.d", "1.2.3.4 ", "-1.2.3.4",
                          "0001.2.3.4"}) {
    EXPECT_EQ(ParseDottedQuad(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace vantorel
