#include "datafiles/instrument_file.h"

#include <cmath>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "support/run_tarnix.h"

namespace tarnix {
namespace {

using tarnix_test::WorkDir;

// The eleven input fields in file order.
std::vector<double> Fields(const InstrumentParameters& p) {
  return {p.kalpha1_width,        p.kalpha2_fraction, p.kalpha2_shift,    p.kalpha2_extra_width,
          p.axial_divergence,     p.equatorial_angle, p.gonio_radius,     p.source_width,
          p.receiving_slit_width, p.sample_width,     p.penetration_depth};
}

const std::vector<double> kDefaults = {0, 0.5, 0.00248, 6e-05, 2.5, 1.0, 185.0, 0, 0, 20.0, 0};

std::vector<double> DefaultsWith(std::vector<std::pair<int, double>> changes) {
  std::vector<double> values = kDefaults;
  for (const auto& [line, value] : changes) values[line - 1] = value;
  return values;
}

InstrumentParameters ReadFrom(const WorkDir& dir, const std::string* content) {
  if (content != nullptr) dir.Write("instr.txt", *content);
  InstrumentParameters params;
  ReadInstrumentFile(params, dir.File("instr.txt").c_str());
  return params;
}

TEST(InstrumentFileTest, LineRule) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<double> expected;
  };
  const std::string eleven_empty(11, '\n');
  std::string eleven_empty_crlf;
  for (int i = 0; i < 11; ++i) eleven_empty_crlf += "\r\n";
  const std::string long_line = "7" + std::string(254, ' ') + "3.5\n";  // 255 characters, then the rest
  // 254 characters: with LF the line end fits the buffer; with CR LF only the CR does.
  const std::string line_254 = "7" + std::string(253, ' ');
  const Case cases[] = {
      {"empty file", "", kDefaults},
      {"eleven empty lines", eleven_empty, kDefaults},
      {"eleven empty CR LF lines", eleven_empty_crlf, kDefaults},
      {"first four lines only", "1e-4\n0.341\n0.0025\n2.4e-5\n",
       DefaultsWith({{1, 1e-4}, {2, 0.341}, {3, 0.0025}, {4, 2.4e-5}})},
      {"one character and LF", "5\n", DefaultsWith({{1, 5}})},
      {"one character and CR LF", "5\r\n", DefaultsWith({{1, 5}})},
      {"CR LF throughout", "\r\n0.25\r\n\r\n\r\n1\r\n", DefaultsWith({{2, 0.25}, {5, 1}})},
      {"last line of one character without line end", "\n\n\n\n5", kDefaults},
      {"last line of three characters without line end", "\n\n\n\n2.5", DefaultsWith({{5, 2.5}})},
      {"two characters and LF", "\n12\n", DefaultsWith({{2, 12}})},
      {"number followed by a word", "\n\n\n\n2.5 degrees\n", DefaultsWith({{5, 2.5}})},
      {"three blanks set zero", "\n   \n", DefaultsWith({{2, 0}})},
      {"a word sets zero", "\n\n\n\nnone\n", DefaultsWith({{5, 0}})},
      {"comma stops the number", "\n0,5\n", DefaultsWith({{2, 0}})},
      {"explicit zero", "\n\n\n\n\n\n\n0\n", DefaultsWith({{8, 0}})},
      {"line over 255 characters is two lines", long_line + "9\n", DefaultsWith({{1, 7}, {2, 3.5}, {3, 9}})},
      {"line of 254 characters and LF", line_254 + "\n9\n", DefaultsWith({{1, 7}, {2, 9}})},
      {"line of 254 characters and CR LF", line_254 + "\r\n9\r\n", DefaultsWith({{1, 7}, {2, 9}})},
      {"line of 255 characters and CR LF", line_254 + " \r\n9\r\n", DefaultsWith({{1, 7}, {3, 9}})},
      {"lines after the eleventh are ignored", eleven_empty + "42\n", kDefaults},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    const InstrumentParameters p = ReadFrom(dir, &c.content);
    const std::vector<double> fields = Fields(p);
    for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i], c.expected[i]) << "line " << i + 1;
  }
}

TEST(InstrumentFileTest, MissingFileGivesDefaultsAndTheirDerivedValues) {
  WorkDir dir;
  const InstrumentParameters p = ReadFrom(dir, nullptr);
  EXPECT_EQ(Fields(p), kDefaults);
  EXPECT_DOUBLE_EQ(p.sample_width_ratio, 20.0 / 185.0);
  EXPECT_DOUBLE_EQ(p.flat_ratio, (M_PI / 180) / (20.0 / 185.0));  // 0.161443
  EXPECT_NEAR(p.flat_ratio, 0.161443, 5e-7);
  EXPECT_DOUBLE_EQ(p.critical_angle, 2 * std::asin(p.flat_ratio) * 180 / M_PI);  // 18.58 degrees
  EXPECT_NEAR(p.critical_angle, 18.5813, 1e-4);
  EXPECT_EQ(p.penetration_ratio, 0.0);
  EXPECT_EQ(p.source_width_deg, 0.0);
  EXPECT_EQ(p.receiving_slit_width_deg, 0.0);
}

TEST(InstrumentFileTest, DerivedValues) {
  WorkDir dir;
  // Source 0.04, receiving slit 0.2, sample 2 (so that the beam never overfills it), penetration 0.37.
  const std::string content = "\n\n\n\n\n\n185\n0.04\n0.2\n2\n0.37\n";
  const InstrumentParameters p = ReadFrom(dir, &content);
  EXPECT_DOUBLE_EQ(p.receiving_slit_width_deg, 0.2 / 185 * 180 / M_PI);  // 0.0619414 degrees
  EXPECT_NEAR(p.receiving_slit_width_deg, 0.0619414, 1e-7);
  EXPECT_DOUBLE_EQ(p.source_width_deg, 0.04 / 185 * 180 / M_PI);
  EXPECT_DOUBLE_EQ(p.penetration_ratio, 0.002);
  EXPECT_NEAR(p.flat_ratio, 1.614, 1e-3);
  EXPECT_EQ(p.critical_angle, 180.0);  // flat ratio above 1
}

TEST(InstrumentFileTest, ZeroRadiusMakesRatiosInfiniteOrUndefined) {
  WorkDir dir;
  const std::string content = "\n\n\n\n\n\n0\n0\n0.2\n";
  const InstrumentParameters p = ReadFrom(dir, &content);
  EXPECT_TRUE(std::isinf(p.receiving_slit_width_deg));
  EXPECT_TRUE(std::isnan(p.source_width_deg));
  EXPECT_TRUE(std::isinf(p.sample_width_ratio));
}

}  // namespace
}  // namespace tarnix
