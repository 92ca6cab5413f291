#pragma once
// The item record of a program file: 16 bytes whose first byte is the item type code, which is
// also the type of the item's data block. Bytes 2-3 hold the index of that block (kNoBlock when
// the item has none) and byte 15 the border of the item's window.

#include <array>
#include <cstdint>

namespace vantorel {

using ItemRecordBytes = std::array<std::uint8_t, 16>;

inline constexpr std::uint16_t kNoBlock = 0xFFFF;

// Item type codes, and block types.
inline constexpr std::uint8_t kCodePicturePages = 1;      // pages drawn for the screen's planes
inline constexpr std::uint8_t kCodeProgramName = 2;       // block only: the program's name
inline constexpr std::uint8_t kCodeCellText = 3;          // formatted text the controller draws
inline constexpr std::uint8_t kCodeAnimationFrames = 4;   // an animation, frame by frame
inline constexpr std::uint8_t kCodeClock = 5;
inline constexpr std::uint8_t kCodeSensor = 6;            // temperature or humidity
inline constexpr std::uint8_t kCodeGifAnimation = 7;      // an animation passed on as a GIF file
inline constexpr std::uint8_t kCodePictureFile = 8;       // pages as a full-colour GIF file
inline constexpr std::uint8_t kCodeTimeCounter = 9;
inline constexpr std::uint8_t kCodeVideoAnimation = 11;   // a video as an animation file
inline constexpr std::uint8_t kCodeWorkCounter = 13;
inline constexpr std::uint8_t kCodeVideoFile = 16;        // a video passed on as a video file

}  // namespace vantorel
