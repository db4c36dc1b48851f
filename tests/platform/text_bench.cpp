// Figures for the primitives on the largest texts the program meets: a quick-reply
// file of some hundred records and a remark of some kilobytes.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/codepage.h"
#include "platform/text.h"

namespace {

std::string ReplyFile(int records) {
  std::string file;
  for (int i = 0; i < records; ++i) {
    file += "您好，这是第" + tvx::ToText(std::int32_t{i}) + "条快捷回复，请稍候[.*?]无图片\r\n";
  }
  return file;
}

void BM_SplitReplyFile(benchmark::State& state) {
  const std::string file = ReplyFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (const auto& line : tvx::SplitText(file, "\r\n")) {
      benchmark::DoNotOptimize(tvx::FindText(line, "[.*?]"));
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_SplitReplyFile)->Arg(100)->Arg(1000);

void BM_FindLastText(benchmark::State& state) {
  const std::string file = ReplyFile(1000);
  for (auto _ : state) benchmark::DoNotOptimize(tvx::FindLastText(file, "[.*?]"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_FindLastText);

void BM_Cp936ToUtf8(benchmark::State& state) {
  const std::string text = ReplyFile(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tvx::Cp936ToUtf8(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Cp936ToUtf8)->Arg(1)->Arg(1000);

void BM_Utf8ToCp936(benchmark::State& state) {
  const std::string utf8 = tvx::Cp936ToUtf8(ReplyFile(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(tvx::Utf8ToCp936(utf8));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(utf8.size()));
}
BENCHMARK(BM_Utf8ToCp936)->Arg(1)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
