#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "suite/OutsideLibraries.h"

using namespace tolmar::suite;

namespace {

const QString kProgramFolder = QStringLiteral(TOLMAR_PROGRAM_DIR "/");

std::uint32_t U32(const QByteArray& bytes, int at) {
  return static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint8_t>(bytes[at + 2]) << 16) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24);
}

// Reads a 24-bit BMP and decodes the Code 39 symbol on its middle row, on
// its own: runs of dark and light pixels, wide runs at least twice as wide
// as the narrowest.
QString DecodeCode39Bmp(const QByteArray& bmp) {
  if (bmp.size() < 54 || !bmp.startsWith("BM") || U32(bmp, 14) != 40)
    return QStringLiteral("<not a BMP>");
  const int width = static_cast<int>(U32(bmp, 18));
  const int height = static_cast<int>(U32(bmp, 22));
  const int bits = static_cast<std::uint8_t>(bmp[28]);
  const int offset = static_cast<int>(U32(bmp, 10));
  const int rowSize = (width * 3 + 3) & ~3;
  if (bits != 24 || width <= 0 || height <= 0 || bmp.size() < offset + rowSize * height)
    return QStringLiteral("<bad header>");
  const int row = offset + rowSize * (height / 2);
  std::vector<std::pair<bool, int>> runs;
  for (int x = 0; x < width; ++x) {
    const bool dark = static_cast<std::uint8_t>(bmp[row + 3 * x]) < 128;
    if (runs.empty() || runs.back().first != dark)
      runs.emplace_back(dark, 1);
    else
      ++runs.back().second;
  }
  if (runs.size() < 3 || runs.front().first || runs.back().first)
    return QStringLiteral("<no quiet zone>");
  runs.erase(runs.begin());
  runs.pop_back();
  int narrowest = width;
  for (const auto& run : runs) narrowest = std::min(narrowest, run.second);
  static const std::map<QString, QChar> kPatterns{
      {"000110100", '0'}, {"100100001", '1'}, {"001100001", '2'}, {"101100000", '3'},
      {"000110001", '4'}, {"100110000", '5'}, {"001110000", '6'}, {"000100101", '7'},
      {"100100100", '8'}, {"001100100", '9'}, {"010000101", '-'}, {"010010100", '*'}};
  QString text;
  for (std::size_t i = 0; i + 9 <= runs.size(); i += 10) {
    QString pattern;
    for (std::size_t j = 0; j < 9; ++j)
      pattern += runs[i + j].second >= 2 * narrowest ? QLatin1Char('1') : QLatin1Char('0');
    const auto it = kPatterns.find(pattern);
    text += it == kPatterns.end() ? QLatin1Char('?') : it->second;
  }
  return text;
}

class BarCodeLibraryTest : public ::testing::TestWithParam<int> {};

TEST_P(BarCodeLibraryTest, WritesAReadableCode39Picture) {
  const BarCodeLibrary library(kProgramFolder);
  ASSERT_TRUE(library.IsAvailable());
  QTemporaryDir temp;
  const QString path = temp.filePath(QStringLiteral("BC0001.bmp"));
  ASSERT_TRUE(library.CreateBarCode(GetParam(), path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(DecodeCode39Bmp(file.readAll()),
            QLatin1Char('*') + QString::number(GetParam()) + QLatin1Char('*'));
}

INSTANTIATE_TEST_SUITE_P(Values, BarCodeLibraryTest,
                         ::testing::Values(0, 7, 1234567890, -42, 2147483647));

TEST(BarCodeLibraryFailureTest, UnwritablePathFailsAndMissingLibraryIsUnavailable) {
  const BarCodeLibrary library(kProgramFolder);
  EXPECT_FALSE(library.CreateBarCode(5, QStringLiteral("/nonexistent-folder/x.bmp")));
  QTemporaryDir empty;
  const BarCodeLibrary missing(empty.path() + QLatin1Char('/'));
  EXPECT_FALSE(missing.IsAvailable());
  EXPECT_FALSE(missing.CreateBarCode(5, empty.filePath(QStringLiteral("x.bmp"))));
}

}  // namespace
