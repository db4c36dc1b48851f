// Figures for reading and writing the quick-reply file: an ordinary file of some
// hundred records, and 10 MiB files of records, of junk and of nothing but line ends.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "replies/quick_replies.h"

namespace {

std::string Records(std::size_t size) {
  std::string file;
  for (std::int32_t i = 0; file.size() < size; ++i)
    file += "您好，这是第" + tvx::ToText(i) + "条快捷回复，请稍候[.*?]无图片\r\n";
  return file;
}

std::string Junk(std::size_t size) {
  std::mt19937 random(3);
  std::string junk(size, ' ');
  static constexpr char kAlphabet[] = "[.*?]\r\n\x81\xB0\xFF" "a";
  for (char& c : junk) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
  return junk;
}

void Parse(benchmark::State& state, const std::string& content) {
  std::size_t rows = 0;
  for (auto _ : state) {
    const auto parsed = tvx::ParseQuickReplies(content);
    rows = parsed.size();
    benchmark::DoNotOptimize(parsed.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(content.size()));
}

constexpr std::size_t kTenMiB = 10u << 20;

void BM_ParseHundredRecords(benchmark::State& state) { Parse(state, Records(6000)); }
void BM_ParseTenMiBOfRecords(benchmark::State& state) { Parse(state, Records(kTenMiB)); }
void BM_ParseTenMiBOfJunk(benchmark::State& state) { Parse(state, Junk(kTenMiB)); }
void BM_ParseTenMiBOfLineEnds(benchmark::State& state) {
  std::string ends;
  while (ends.size() < kTenMiB) ends += "\r\n";
  Parse(state, ends);
}
void BM_ParseOneLineOfSeparators(benchmark::State& state) {
  std::string line;
  while (line.size() < kTenMiB) line += "[.*?]";
  Parse(state, line);
}

void BM_SerializeTenMiBOfRecords(benchmark::State& state) {
  const auto rows = tvx::ParseQuickReplies(Records(kTenMiB));
  std::size_t size = 0;
  for (auto _ : state) {
    const tvx::Text bytes = tvx::SerializeQuickReplies(rows);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}

BENCHMARK(BM_ParseHundredRecords);
BENCHMARK(BM_ParseTenMiBOfRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseTenMiBOfJunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseTenMiBOfLineEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseOneLineOfSeparators)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeTenMiBOfRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
