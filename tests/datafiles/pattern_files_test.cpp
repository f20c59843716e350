#include "datafiles/pattern_files.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "numeric/fatal_error.h"
#include "support/run_tarnix.h"

namespace tarnix {
namespace {

using tarnix_test::WorkDir;

struct Point {
  double angle, intensity, sigma;
};

std::vector<Point> ReadPoints(const std::string& content) {
  WorkDir dir;
  dir.Write("data.txt", content);
  Pattern pattern;
  ReadSourceData(pattern, dir.File("data.txt").c_str());
  EXPECT_EQ(pattern.angle.size(), pattern.count + 2u);
  EXPECT_EQ(pattern.intensity.size(), pattern.count + 2u);
  EXPECT_EQ(pattern.sigma.size(), pattern.count + 2u);
  std::vector<Point> points;
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    points.push_back({pattern.angle[i], pattern.intensity[i], pattern.sigma[i]});
  }
  return points;
}

TEST(PatternFilesTest, LineRule) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<Point> expected;
  };
  const std::string long_line = "30 400" + std::string(300, ' ') + "7\n";
  const Case cases[] = {
      {"empty file", "", {}},
      {"headers, then angle and intensity",
       "Cu scan\n2theta counts\n20 100\n20.5 400\n",
       {{20, 100, 10}, {20.5, 400, 20}}},
      {"third number kept as error, even zero or negative",
       "20 100 3\n21 100 0\n22 100 -2\n",
       {{20, 100, 3}, {21, 100, 0}, {22, 100, -2}}},
      {"word after two numbers", "20 100 counts\n", {{20, 100, 10}}},
      {"text after the third number", "20 100 5 7 word\n", {{20, 100, 5}}},
      {"angle zero is not a point", "0 0\n0 100 1\n20 9\n", {{20, 9, 3}}},
      {"lone number is not a point", "20\n21 16\n", {{21, 16, 4}}},
      {"negative angle and negative intensity", "-5 -4\n", {{-5, -4, 2}}},
      {"commas make one value", "20,100\n20, 100\n21 1\n", {{21, 1, 1}}},
      {"CR LF line ends", "20 100\r\n\r\n21 400\r\n", {{20, 100, 10}, {21, 400, 20}}},
      {"last line without line end", "20 100\n21 400", {{20, 100, 10}, {21, 400, 20}}},
      {"three-character last line without line end", "20 100\n1 4", {{20, 100, 10}, {1, 4, 2}}},
      {"blank lines", "\n\n20 100\n   \n\n21 1\n", {{20, 100, 10}, {21, 1, 1}}},
      {"line over 255 characters is read in pieces", long_line, {{30, 400, 20}}},
      {"exponents", "2.5e1 1e2 1.5E0\n", {{25, 100, 1.5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Point> points = ReadPoints(c.content);
    ASSERT_EQ(points.size(), c.expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_EQ(points[i].angle, c.expected[i].angle) << i;
      EXPECT_EQ(points[i].intensity, c.expected[i].intensity) << i;
      EXPECT_EQ(points[i].sigma, c.expected[i].sigma) << i;
    }
  }
}

TEST(PatternFilesTest, NotANumberAndInfinityAreReadAsTheLibraryConvertsThem) {
  const std::vector<Point> points = ReadPoints("nan 5\n20 inf\n21 1 -nan\n");
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(std::isnan(points[0].angle));
  EXPECT_TRUE(std::isinf(points[1].intensity));
  EXPECT_TRUE(std::isinf(points[1].sigma));
  EXPECT_TRUE(std::isnan(points[2].sigma));
}

TEST(PatternFilesTest, MissingFileEndsTheRun) {
  WorkDir dir;
  Pattern pattern;
  try {
    ReadSourceData(pattern, dir.File("data.txt").c_str());
    FAIL() << "no fatal error";
  } catch (const FatalErrorException& e) {
    EXPECT_STREQ(e.what(), "Could not open the source data file ?");
  }
}

TEST(PatternFilesTest, ADirectoryInPlaceOfTheFileEndsTheRunInsteadOfLooping) {
  WorkDir dir;
  std::filesystem::create_directory(dir.File("data.txt"));
  Pattern pattern;
  EXPECT_THROW(ReadSourceData(pattern, dir.File("data.txt").c_str()), FatalErrorException);
}

TEST(PatternFilesTest, WritesFixedColumnsAndWidensLongValues) {
  WorkDir dir;
  Pattern pattern;
  pattern.count = 3;
  pattern.angle = {20, 20.00006, 123456789.5, 0, 0};
  pattern.intensity = {1234.56789, -0.00004, 2.5, 7, 7};
  pattern.sigma = {35.1, 0, -1.25, 7, 7};
  WriteDestinationData(pattern, dir.File("tarnix.txt").c_str());
  EXPECT_EQ(dir.Read("tarnix.txt"),
            "   20.0000  1234.5679    35.1000\n"
            "   20.0001    -0.0000     0.0000\n"
            "123456789.5000     2.5000    -1.2500\n");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"tarnix.txt"});  // no temporary file left
}

}  // namespace
}  // namespace tarnix
