// Full removal and shared release on a large generated installation, with
// the registry calls they make per key deleted, at the base size and with the
// installation doubled and doubled again (the fitted complexity should be
// linear); the time of a preview against that of the run it previews; and
// the bytes of change log per change of a removal with thousands of
// shortcuts.
#include <algorithm>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/program_run.h"
#include "platform/memory/memory_registry.h"
#include "tests/support/portable/ascii_code_page.h"
#include "tests/support/portable/disk_log_file.h"
#include "tests/support/portable/stream_standard_output.h"
#include "tests/support/fault_injection.h"
#include "tests/support/journal_lines.h"
#include "tests/support/scope_check.h"
#include "tools/bench/large_installation.h"

namespace tw::bench {
namespace {

// One run on a fresh installation of the size: without a log, as the setup
// runs it; with one, as a deployment tool does (quiet, change log on the
// drives). The registry calls it made, the journal's included.
std::uint64_t CountedRun(const InstallationSize& size, std::uint32_t productCtr, const char* commandLine, bool logged,
                         std::size_t* keysBefore, std::size_t* keysDeleted, benchmark::State* timed,
                         std::uintmax_t* logBytes = nullptr) {
  if (timed) timed->PauseTiming();
  auto platform = std::make_unique<test::TestPlatform>();
  BuildInstallation(*platform, size, productCtr);
  *keysBefore = test::CaptureRegistry(platform->registry).size();
  test::FaultSchedule counting;
  test::FaultyRegistry registry(platform->registry, counting);
  const Platform view = platform->View().With(registry);
  DiskLogFile log(platform->files);
  StreamStandardOutput output(platform->standardOutput);
  if (timed) timed->ResumeTiming();

  if (logged) {
    RunProgram(view, log, output, std::string("/quiet /log:C:\\bench.log ") + commandLine, test::TestPlatform::kInstance);
  } else {
    UninstallApp(view, commandLine, test::TestPlatform::kInstance).RunUninstall();
  }

  if (timed) timed->PauseTiming();
  if (logBytes) *logBytes = std::filesystem::file_size(platform->Host("C:\\bench.log"));
  // A shared release adds the ledger's keys and may delete none.
  const std::size_t keysAfter = test::CaptureRegistry(platform->registry).size();
  *keysDeleted = *keysBefore > keysAfter ? *keysBefore - keysAfter : 0;
  platform.reset();
  if (timed) timed->ResumeTiming();
  return counting.Calls();
}

void RunAndCount(benchmark::State& state, std::uint32_t productCtr, const char* commandLine, bool logged = false) {
  const InstallationSize size = InstallationSize{}.Doubled(static_cast<int>(state.range(0)));
  std::uint64_t calls = 0;
  std::size_t keysDeleted = 0;
  std::size_t keysBefore = 0;
  std::uintmax_t logBytes = 0;
  for (auto _ : state) {
    calls = CountedRun(size, productCtr, commandLine, logged, &keysBefore, &keysDeleted, &state, logged ? &logBytes : nullptr);
  }
  state.SetComplexityN(static_cast<benchmark::IterationCount>(keysBefore));
  state.counters["keys"] = static_cast<double>(keysBefore);
  state.counters["registry_calls"] = static_cast<double>(calls);
  state.counters["keys_deleted"] = static_cast<double>(keysDeleted);
  state.counters["calls_per_key_deleted"] = keysDeleted ? static_cast<double>(calls) / keysDeleted : 0.0;
  if (logged) {
    // The same run without the log, for the journal's share of the calls.
    const std::uint64_t unlogged = CountedRun(size, productCtr, commandLine, false, &keysBefore, &keysDeleted, nullptr);
    state.counters["calls_vs_unlogged"] = static_cast<double>(calls) / static_cast<double>(unlogged);
    state.counters["log_bytes"] = static_cast<double>(logBytes);
  }
}

constexpr const char* kFullRemoval = "ProdTWC C L0_00 C:\\Uninst\\uninst.exe C:\\Uninst\\twc.log";
constexpr const char* kSharedRelease = "ProdTWDLite X L0_00 C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log";

void BM_FullRemoval(benchmark::State& state) { RunAndCount(state, 1, kFullRemoval); }
void BM_SharedRelease(benchmark::State& state) { RunAndCount(state, 2, kSharedRelease); }
void BM_FullRemovalLogged(benchmark::State& state) { RunAndCount(state, 1, kFullRemoval, true); }
void BM_SharedReleaseLogged(benchmark::State& state) { RunAndCount(state, 2, kSharedRelease, true); }

// Seconds of one program run with the switches on a fresh installation.
double TimedProgram(const InstallationSize& size, std::uint32_t productCtr, const std::string& commandLine) {
  auto platform = std::make_unique<test::TestPlatform>();
  BuildInstallation(*platform, size, productCtr);
  DiskLogFile log(platform->files);
  StreamStandardOutput output(platform->standardOutput);
  const auto start = std::chrono::steady_clock::now();
  RunProgram(platform->View(), log, output, commandLine, test::TestPlatform::kInstance);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A preview against the run it previews (quiet, with its change log), each on
// a fresh copy of the same installation, in one process: the preview should
// cost no more than 1.5 times the run.
void PreviewAgainstRun(benchmark::State& state, std::uint32_t productCtr, const char* commandLine) {
  const InstallationSize size = InstallationSize{}.Doubled(static_cast<int>(state.range(0)));
  // The fastest of each over the iterations: a shared release takes a few
  // milliseconds, where one scheduling delay on a busy machine counts.
  double preview = 1e9;
  double run = 1e9;
  for (auto _ : state) {
    preview = std::min(preview, TimedProgram(size, productCtr, std::string("/preview ") + commandLine));
    run = std::min(run, TimedProgram(size, productCtr, std::string("/quiet /log:C:\\bench.log ") + commandLine));
  }
  state.counters["preview_ms"] = preview * 1000;
  state.counters["run_ms"] = run * 1000;
  state.counters["preview_vs_run"] = preview / run;
}

void BM_PreviewVsRunFull(benchmark::State& state) { PreviewAgainstRun(state, 1, kFullRemoval); }
void BM_PreviewVsRunShared(benchmark::State& state) { PreviewAgainstRun(state, 2, kSharedRelease); }

// One language whose program folder holds 2,000 shortcuts, half of them
// shared by both products, doubled and doubled again, released with the
// change log on: each decrement is recorded in the ledger first, and a log
// that listed those records whole would grow with the square of the
// shortcuts (bytes per change doubling at each step); with a line per change
// they stay the same. (All shared, 8,000 of them would pass what one ledger
// entry holds.)
void BM_SharedReleaseLogBytes(benchmark::State& state) {
  InstallationSize size;
  size.languages = 1;
  size.foreignHelpFiles = 0;
  size.shortcutsPerFolder = 2000u << state.range(0);
  size.sharedShortcutsPerFolder = size.shortcutsPerFolder / 2;
  std::size_t bytes = 0;
  int changes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto platform = std::make_unique<test::TestPlatform>();
    BuildInstallation(*platform, size, 2);
    DiskLogFile log(platform->files);
    StreamStandardOutput output(platform->standardOutput);
    state.ResumeTiming();
    RunProgram(platform->View(), log, output, std::string("/quiet /log:C:\\bench.log ") + kSharedRelease,
               test::TestPlatform::kInstance);
    state.PauseTiming();
    const std::string text = platform->ReadFile("C:\\bench.log");
    bytes = text.size();
    changes = test::SummaryChanges(test::LogLines(text));
    platform.reset();
    state.ResumeTiming();
  }
  state.counters["shortcuts"] = size.shortcutsPerFolder;
  state.counters["changes"] = changes;
  state.counters["log_bytes"] = static_cast<double>(bytes);
  state.counters["log_bytes_per_change"] = changes > 0 ? static_cast<double>(bytes) / changes : 0.0;
}

// Enumerating every value of one key by index, as the help-registration
// removal does: linear in the number of values when the registry finds an
// index in constant time.
void BM_EnumerateValuesByIndex(benchmark::State& state) {
  MemoryRegistry registry(AsciiCodePage());
  RegKey key = 0;
  registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\Many", &key);
  const std::uint8_t data[4] = {1, 0, 0, 0};
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    registry.SetValue(key, ("value" + std::to_string(i)).c_str(), kRegDword, data, sizeof data);
  }
  for (auto _ : state) {
    char name[256];
    std::uint8_t buffer[260];
    for (std::uint32_t index = 0;; ++index) {
      std::uint32_t nameSize = sizeof name;
      std::uint32_t dataSize = sizeof buffer;
      if (registry.EnumValue(key, index, name, &nameSize, nullptr, buffer, &dataSize) != kErrorSuccess) break;
    }
  }
  registry.CloseKey(key);
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_FullRemoval)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SharedRelease)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_FullRemovalLogged)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SharedReleaseLogged)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_PreviewVsRunFull)->DenseRange(0, 2)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewVsRunShared)->DenseRange(0, 2)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedReleaseLogBytes)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnumerateValuesByIndex)->RangeMultiplier(2)->Range(5000, 40000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
}  // namespace tw::bench

BENCHMARK_MAIN();
