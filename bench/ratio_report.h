// Every benchmark here is reported against a baseline measured in the same run: this runs the
// registered benchmarks, prints Google Benchmark's table, then one line per pair with the
// ratio measured / baseline (lower is faster) of the medians over the repetitions, in CPU time
// (the steadier figure on a shared machine) and in real time. A noisy neighbour slows a few
// repetitions a lot; the median leaves them out where the mean would not.
//
// Unless the command line says otherwise, each benchmark runs 5 repetitions and only their
// aggregates are printed.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct BENCH_PAIR_TYP {
  const char* label;
  const char* measured;  // benchmark function names
  const char* baseline;
};

class BenchRatioReporter : public benchmark::ConsoleReporter {
 public:
  BenchRatioReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the figures go into notes
  std::map<std::string, std::pair<double, double>> ns;   // CPU, real
  std::map<std::string, bool> from_median;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      // A single run stands for itself; with repetitions only the median counts.
      if (median || (run.run_type == Run::RT_Iteration && !from_median[name])) {
        // Adjusted times are in the benchmark's own unit; the report speaks nanoseconds.
        const double to_ns = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ns[name] = {run.GetAdjustedCPUTime() * to_ns, run.GetAdjustedRealTime() * to_ns};
        from_median[name] = median;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

// Nanoseconds per iteration of a benchmark in this run (its median), or 0 when it did not run.
inline double bench_ns(const BenchRatioReporter& reporter, const char* name, bool cpu = true) {
  auto found = reporter.ns.find(name);
  if (found == reporter.ns.end()) return 0;
  return cpu ? found->second.first : found->second.second;
}

inline void bench_print_ratios(const BenchRatioReporter& reporter, const BENCH_PAIR_TYP* pairs, int count) {
  std::printf("\nratios in this run (medians, measured / baseline, lower is faster):\n");
  for (int i = 0; i < count; ++i) {
    auto a = reporter.ns.find(pairs[i].measured), b = reporter.ns.find(pairs[i].baseline);
    if (a == reporter.ns.end() || b == reporter.ns.end() || b->second.first <= 0 || b->second.second <= 0)
      continue;
    std::printf("  %-40s CPU %10.1f ns / %10.1f ns = %6.3f   real %10.1f ns / %10.1f ns = %6.3f  (%s / %s)\n",
                pairs[i].label, a->second.first, b->second.first, a->second.first / b->second.first,
                a->second.second, b->second.second, a->second.second / b->second.second,
                pairs[i].measured, pairs[i].baseline);
  }
}

// Runs the benchmarks with 5 repetitions unless the command line sets its own.
inline void bench_run_with(BenchRatioReporter* reporter, int* argc, char** argv) {
  std::vector<char*> args(argv, argv + *argc);
  bool repetitions_given = false;
  for (char* arg : args) repetitions_given = repetitions_given || std::strstr(arg, "--benchmark_repetitions") == arg;
  static char repetitions[] = "--benchmark_repetitions=5";
  static char aggregates[] = "--benchmark_report_aggregates_only=true";
  if (!repetitions_given) {
    args.push_back(repetitions);
    args.push_back(aggregates);
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks(reporter);
}

inline void bench_run_with_ratios(int* argc, char** argv, const BENCH_PAIR_TYP* pairs, int count) {
  BenchRatioReporter reporter;
  bench_run_with(&reporter, argc, argv);
  bench_print_ratios(reporter, pairs, count);
  benchmark::Shutdown();
}
