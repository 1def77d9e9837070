// The readout core against the obvious ways of doing the same, in one run:
// snprintf("%.15G") with the separator put in afterwards and strtod, and
// std::ostringstream at precision 15.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "readout/readout.h"

namespace {

using namespace pinvale;

constexpr NumberFormat kFormat{u'.'};
constexpr CursorPoint kPoint{333, 201};
constexpr char16_t kScale[] = u"110";

// The UTF-16 scale text as ASCII for the C library, the separator made a full stop.
std::string AsciiScale(TextView text, char16_t separator) {
  std::string ascii;
  for (char16_t c : text) ascii += c == separator ? '.' : static_cast<char>(c);
  return ascii;
}

void AppendPrintf(std::u16string& out, double value, char16_t separator) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%.15G", value);
  for (int i = 0; i < length; ++i) out += text[i] == '.' ? separator : static_cast<char16_t>(text[i]);
}

void BM_Readout(benchmark::State& state) {
  for (auto _ : state) {
    auto readout = MakeReadout(kPoint, kScale, kFormat);
    benchmark::DoNotOptimize(readout);
  }
}
BENCHMARK(BM_Readout);

void BM_Readout_SnprintfStrtod(benchmark::State& state) {
  for (auto _ : state) {
    const double factor = std::strtod(AsciiScale(kScale, kFormat.decimalSeparator).c_str(), nullptr) / 100.0;
    std::u16string out;
    AppendPrintf(out, kPoint.x * factor, kFormat.decimalSeparator);
    out += u" & ";
    AppendPrintf(out, kPoint.y * factor, kFormat.decimalSeparator);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_Readout_SnprintfStrtod);

void BM_Readout_Ostringstream(benchmark::State& state) {
  for (auto _ : state) {
    std::istringstream in(AsciiScale(kScale, kFormat.decimalSeparator));
    double percentage = 0;
    in >> percentage;
    const double factor = percentage / 100.0;
    std::ostringstream out;
    out.precision(15);
    out << kPoint.x * factor << " & " << kPoint.y * factor;
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_Readout_Ostringstream);

const double kProduct = 333 * 1.1;

void BM_NumberText(benchmark::State& state) {
  for (auto _ : state) {
    auto text = FormatNumber(kProduct, kFormat);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_NumberText);

void BM_NumberText_Snprintf(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string out;
    AppendPrintf(out, kProduct, kFormat.decimalSeparator);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_NumberText_Snprintf);

void BM_NumberText_Ostringstream(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream out;
    out.precision(15);
    out << kProduct;
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_NumberText_Ostringstream);

void BM_ScaleParsing(benchmark::State& state) {
  for (auto _ : state) {
    auto value = ParseNumber(kScale, kFormat);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ScaleParsing);

void BM_ScaleParsing_Strtod(benchmark::State& state) {
  for (auto _ : state) {
    double value = std::strtod(AsciiScale(kScale, kFormat.decimalSeparator).c_str(), nullptr);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ScaleParsing_Strtod);

}  // namespace

BENCHMARK_MAIN();
