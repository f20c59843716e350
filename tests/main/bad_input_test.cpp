// Input that no stage can correct meaningfully: every case must end with exit status 1, the three-line
// report naming the point or parameter, and no new tarnix.txt (an earlier one stays as it was).
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "support/run_tarnix.h"

namespace tarnix_test {
namespace {

// n points from 30 degrees in steps of 0.02, with their lines changed by `edit` (line index -> text).
std::string Pattern(int n, std::vector<std::pair<int, std::string>> edits = {}) {
  std::vector<std::string> lines;
  char line[64];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%.2f %.1f\n", 30 + 0.02 * i, 100 + 50 * std::sin(0.3 * i));
    lines.push_back(line);
  }
  for (const auto& [index, text] : edits) lines[index] = text + "\n";
  std::string text;
  for (const std::string& l : lines) text += l;
  return text;
}

TEST(BadInputTest, RefusedWithAMessageAndNoResult) {
  struct Case {
    const char* name;
    std::string instr;  // empty: no instr.txt (the defaults)
    std::string data;
    std::string message;  // the report's middle line; a regular expression when `pattern` is set
    bool pattern = false;
  };
  const std::string huge = Pattern(50, {{0, "30 1e306"}, {1, "30.02 1e306"}, {2, "30.04 1e306"}});
  const Case cases[] = {
      {"empty data file", "", "", "Stage 1 needs at least 3 data points; data.txt holds 0."},
      {"one point", "", "30 100\n", "Stage 1 needs at least 3 data points; data.txt holds 1."},
      {"two points", "", "30 100\n31 100\n", "Stage 1 needs at least 3 data points; data.txt holds 2."},
      {"binary garbage", "",
       std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0\xff\xfe\n\x01\x02\x03\n\0\0\0\n",
                   22),
       "Stage 1 needs at least 3 data points; data.txt holds 0."},
      {"angle not a number", "", Pattern(20, {{2, "nan 100"}}),
       "Data point 3 has an angle that is not a finite number (nan)."},
      {"infinite angle", "", Pattern(20, {{19, "inf 100"}}),
       "Data point 20 has an angle that is not a finite number (inf)."},
      {"negative angle", "", Pattern(20, {{0, "-5 100"}}),
       "Data point 1 lies at -5 degrees 2-theta; the angles must lie strictly between 0 and 180 degrees."},
      {"angle of 180 degrees", "", Pattern(20, {{19, "180 100"}}),
       "Data point 20 lies at 180 degrees 2-theta; the angles must lie strictly between 0 and 180 degrees."},
      {"angles out of order", "", Pattern(20, {{2, "29.99 100"}}),
       "Data point 3 (29.99 degrees 2-theta) does not lie above data point 2 (30.02 degrees); the angles "
       "must "
       "increase strictly."},
      {"repeated angle", "", Pattern(20, {{2, "30.02 100"}}),
       "Data point 3 (30.02 degrees 2-theta) does not lie above data point 2 (30.02 degrees); the angles "
       "must "
       "increase strictly."},
      {"infinite intensity", "", Pattern(20, {{1, "30.02 inf"}}),
       "Data point 2 (30.02 degrees 2-theta) has an intensity that is not a finite number (inf)."},
      {"error not a number", "", Pattern(20, {{1, "30.02 100 nan"}}),
       "Data point 2 (30.02 degrees 2-theta) has a standard error that is not a finite number (nan)."},
      {"goniometer radius 0 with slits", "0\n0\n\n\n0\n0\n0\n0.04\n0.2\n", Pattern(20),
       "Stage 5 cannot run: the source X-ray relative width (lines 8 and 7 of instr.txt) is not a finite "
       "number "
       "(inf)."},
      {"goniometer radius 0 with transparency", "0\n0\n\n\n0\n0\n0\n\n\n\n0.3\n", Pattern(20),
       "Stage 3 cannot run: the penetration depth / gonio.radius (lines 11 and 7 of instr.txt) is not a "
       "finite "
       "number (inf)."},
      {"negative sample width", "0\n0\n\n\n0\n\n\n\n\n-20\n", Pattern(20),
       "Stage 4 cannot run: the equatorial angle (line 6 of instr.txt) and the sample width (line 10) must "
       "both "
       "be positive; their ratio comes out as -0.161443."},
      {"infinite axial divergence", "\n\n\n\ninf\n", Pattern(20),
       "Stage 1 cannot run: the axial divergence angle (line 5 of instr.txt) is not a finite number (inf)."},
      {"spectral stage with nothing to extend by", "0\n0.5\n0\n0\n0\n0\n", Pattern(20),
       "Stage 1 cannot run: its extension width beyond the last point is 0, too small to extend the pattern. "
       "With "
       "a K_alpha_2 shift of 0 (line 3 of instr.txt) the K_alpha_1 width and the extra K_alpha_2 width "
       "(lines 1 "
       "and 4) must not add up to 0."},
      {"extension width lost to rounding", "1e-300\n0\n0\n0\n0\n0\n", Pattern(20),
       "Stage 1 cannot run: its extension width beyond the last point is 3.2e-299, too small to extend the "
       "pattern. With a K_alpha_2 shift of 0 (line 3 of instr.txt) the K_alpha_1 width and the extra "
       "K_alpha_2 "
       "width (lines 1 and 4) must not add up to 0."},
      {"penetration depth beyond any grid", "\n\n\n\n\n\n\n\n\n\n1e300\n", Pattern(20),
       R"(Stage 3 would need a grid of \d\.\d+e\+\d+ points, more than the 67108864 allowed: .*)", true},
      {"two angles a billionth of a degree apart", "", Pattern(20, {{1, "30.000000001 100"}}),
       R"(Stage 1 would need a grid of [0-9.e+]+ points, more than the 67108864 allowed: the smallest spacing of the )"
       R"(data on its scale is [0-9.e+-]+, between data points 1 and 2 \(30 and 30\.000000001 degrees 2-theta\), )"
       R"(and the pattern is extended by 0\.02672 beyond its last point\.)",
       true},
      {"angles the spectral scale rounds together", "", "179.7 1\n179.8 1\n179.9 1\n179.900000000001 1\n",
       "Stage 1 cannot separate data points 3 and 4 (179.9 and 179.900000000001 degrees 2-theta): its scale "
       "maps "
       "them to the same value. Remove one of them or space them further apart."},
      {"intensities that overflow the transform", "", huge,
       R"(Stage 1 produced (an intensity|a standard error) that is not a finite number at data point \d+ )"
       R"(\([0-9.]+ degrees 2-theta\); no result was written\.)",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    if (!c.instr.empty()) dir.Write("instr.txt", c.instr);
    dir.Write("data.txt", c.data);
    dir.Write("tarnix.txt", "an earlier result\n");
    const RunResult result = dir.Run("1\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    const std::vector<std::string> lines = Lines(result.err);
    ASSERT_GE(lines.size(), 3u) << result.err;
    const std::size_t n = lines.size();
    EXPECT_EQ(lines[n - 3], "Tarnix run-time error...");
    if (c.pattern) {
      EXPECT_TRUE(std::regex_match(lines[n - 2], std::regex(c.message))) << lines[n - 2];
    } else {
      EXPECT_EQ(lines[n - 2], c.message);
    }
    EXPECT_EQ(lines[n - 1], "...now exiting to system...");
    EXPECT_EQ(dir.Read("tarnix.txt"), "an earlier result\n");
    std::vector<std::string> files = {"data.txt", "tarnix.txt"};
    if (!c.instr.empty()) files.insert(files.begin() + 1, "instr.txt");
    EXPECT_EQ(dir.List(), files);  // nothing left behind
  }
}

TEST(BadInputTest, DirectoryInPlaceOfTheDataFile) {
  WorkDir dir;
  std::filesystem::create_directory(dir.File("data.txt"));
  const RunResult result = dir.Run("1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, FatalReport("Could not read the source data file data.txt"));
  EXPECT_FALSE(dir.Exists("tarnix.txt"));
}

}  // namespace
}  // namespace tarnix_test
