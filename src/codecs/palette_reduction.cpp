#include "codecs/palette_reduction.h"

#include <algorithm>
#include <unordered_map>

#include "codecs/picture.h"

namespace vantorel {
namespace {

constexpr int kBits = 5;
constexpr int kLevels = 1 << kBits;
constexpr int kBins = kLevels * kLevels * kLevels;

int BinOf(const uchar* rgb) { return ((rgb[0] >> 3) << 10) | ((rgb[1] >> 3) << 5) | (rgb[2] >> 3); }

// A box of the histogram: the bins whose channel values lie within [low, high] on every channel.
struct Box {
  std::array<int, 3> low{};
  std::array<int, 3> high{};
  long long pixels = 0;
};

int Channel(int bin, int channel) { return (bin >> (10 - 5 * channel)) & (kLevels - 1); }

// Shrinks a box to the bins that hold pixels and counts them.
void Fit(Box& box, const std::vector<long long>& histogram) {
  std::array<int, 3> low{kLevels, kLevels, kLevels};
  std::array<int, 3> high{-1, -1, -1};
  box.pixels = 0;
  for (int r = box.low[0]; r <= box.high[0]; ++r) {
    for (int g = box.low[1]; g <= box.high[1]; ++g) {
      for (int b = box.low[2]; b <= box.high[2]; ++b) {
        const long long count = histogram[static_cast<std::size_t>((r << 10) | (g << 5) | b)];
        if (count == 0) continue;
        box.pixels += count;
        low = {std::min(low[0], r), std::min(low[1], g), std::min(low[2], b)};
        high = {std::max(high[0], r), std::max(high[1], g), std::max(high[2], b)};
      }
    }
  }
  if (box.pixels > 0) {
    box.low = low;
    box.high = high;
  }
}

int LongestSide(const Box& box) {
  int longest = 0;
  for (int c = 1; c < 3; ++c) {
    if (box.high[c] - box.low[c] > box.high[longest] - box.low[longest]) longest = c;
  }
  return longest;
}

// Splits `box` at the median of its longest side; false when it is a single bin.
bool Split(Box& box, Box& other, const std::vector<long long>& histogram) {
  const int side = LongestSide(box);
  if (box.high[side] == box.low[side]) return false;
  std::vector<long long> slices(kLevels, 0);
  for (int r = box.low[0]; r <= box.high[0]; ++r) {
    for (int g = box.low[1]; g <= box.high[1]; ++g) {
      for (int b = box.low[2]; b <= box.high[2]; ++b) {
        const int v[3] = {r, g, b};
        slices[static_cast<std::size_t>(v[side])] += histogram[static_cast<std::size_t>((r << 10) | (g << 5) | b)];
      }
    }
  }
  long long seen = 0;
  int cut = box.low[side];
  for (; cut < box.high[side]; ++cut) {
    seen += slices[static_cast<std::size_t>(cut)];
    if (seen * 2 >= box.pixels) break;
  }
  other = box;
  box.high[side] = cut;
  other.low[side] = cut + 1;
  Fit(box, histogram);
  Fit(other, histogram);
  return true;
}

// The mean colour of the pixels in a box, from the sums of their full 8-bit values.
std::array<std::uint8_t, 3> MeanColour(const Box& box, const std::vector<long long>& histogram,
                                       const std::vector<std::array<long long, 3>>& sums) {
  std::array<long long, 3> total{};
  long long count = 0;
  for (int r = box.low[0]; r <= box.high[0]; ++r) {
    for (int g = box.low[1]; g <= box.high[1]; ++g) {
      for (int b = box.low[2]; b <= box.high[2]; ++b) {
        const auto bin = static_cast<std::size_t>((r << 10) | (g << 5) | b);
        count += histogram[bin];
        for (int c = 0; c < 3; ++c) total[static_cast<std::size_t>(c)] += sums[bin][static_cast<std::size_t>(c)];
      }
    }
  }
  if (count == 0) return {0, 0, 0};
  return {static_cast<std::uint8_t>(total[0] / count), static_cast<std::uint8_t>(total[1] / count),
          static_cast<std::uint8_t>(total[2] / count)};
}

// Exact palette when the picture has few enough colours.
bool ExactPalette(const QImage& picture, int maxColours, IndexedPicture& out) {
  std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
  for (int y = 0; y < picture.height(); ++y) {
    const uchar* line = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x, line += 3) {
      const std::uint32_t key = (std::uint32_t{line[0]} << 16) | (std::uint32_t{line[1]} << 8) | line[2];
      auto found = indexOf.find(key);
      if (found == indexOf.end()) {
        if (static_cast<int>(indexOf.size()) == maxColours) return false;
        found = indexOf.emplace(key, static_cast<std::uint8_t>(indexOf.size())).first;
        out.palette.push_back({line[0], line[1], line[2]});
      }
      out.indexes.push_back(found->second);
    }
  }
  return true;
}

}  // namespace

IndexedPicture ReducePalette(const QImage& source, int maxColours) {
  maxColours = std::clamp(maxColours, 1, 256);
  const QImage picture = ToPicture(source);
  IndexedPicture out;
  out.width = picture.width();
  out.height = picture.height();
  out.indexes.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  if (ExactPalette(picture, maxColours, out)) return out;
  out.palette.clear();
  out.indexes.clear();

  std::vector<long long> histogram(kBins, 0);
  std::vector<std::array<long long, 3>> sums(kBins, {0, 0, 0});
  for (int y = 0; y < picture.height(); ++y) {
    const uchar* line = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x, line += 3) {
      const auto bin = static_cast<std::size_t>(BinOf(line));
      ++histogram[bin];
      for (std::size_t c = 0; c < 3; ++c) sums[bin][c] += line[c];
    }
  }
  std::vector<Box> boxes(1);
  boxes[0].high = {kLevels - 1, kLevels - 1, kLevels - 1};
  Fit(boxes[0], histogram);
  while (static_cast<int>(boxes.size()) < maxColours) {
    // Split the most populous box that can still be split.
    std::size_t best = boxes.size();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const Box& box = boxes[i];
      const bool splittable = box.low != box.high;
      if (splittable && (best == boxes.size() || box.pixels > boxes[best].pixels)) best = i;
    }
    if (best == boxes.size()) break;
    Box other;
    if (!Split(boxes[best], other, histogram)) break;
    boxes.push_back(other);
  }
  for (const Box& box : boxes) out.palette.push_back(MeanColour(box, histogram, sums));

  // Every bin maps to the nearest palette colour, once; pixels then look their bin up.
  std::vector<std::uint8_t> nearest(kBins, 0);
  for (int bin = 0; bin < kBins; ++bin) {
    if (histogram[static_cast<std::size_t>(bin)] == 0) continue;
    const int centre[3] = {Channel(bin, 0) * 8 + 4, Channel(bin, 1) * 8 + 4, Channel(bin, 2) * 8 + 4};
    int bestIndex = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < out.palette.size(); ++i) {
      int distance = 0;
      for (std::size_t c = 0; c < 3; ++c) {
        const int d = centre[c] - out.palette[i][c];
        distance += d * d;
      }
      if (distance < bestDistance) {
        bestDistance = distance;
        bestIndex = static_cast<int>(i);
      }
    }
    nearest[static_cast<std::size_t>(bin)] = static_cast<std::uint8_t>(bestIndex);
  }
  for (int y = 0; y < picture.height(); ++y) {
    const uchar* line = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x, line += 3) out.indexes.push_back(nearest[static_cast<std::size_t>(BinOf(line))]);
  }
  return out;
}

}  // namespace vantorel
