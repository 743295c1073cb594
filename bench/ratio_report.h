// Every benchmark here is reported against a baseline measured in the same run: this runs the
// registered benchmarks, prints Google Benchmark's table, then one line per pair with the
// ratio measured / baseline (lower is faster) in CPU time (the steadier figure on a shared
// machine) and in real time.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
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
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean"))
        ns[run.run_name.function_name] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
    ConsoleReporter::ReportRuns(runs);
  }
};

inline void bench_run_with_ratios(int* argc, char** argv, const BENCH_PAIR_TYP* pairs, int count) {
  benchmark::Initialize(argc, argv);
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratios in this run (measured / baseline, lower is faster):\n");
  for (int i = 0; i < count; ++i) {
    auto a = reporter.ns.find(pairs[i].measured), b = reporter.ns.find(pairs[i].baseline);
    if (a == reporter.ns.end() || b == reporter.ns.end() || b->second.first <= 0 || b->second.second <= 0)
      continue;
    std::printf("  %-36s CPU %9.1f ns / %9.1f ns = %6.3f   real %9.1f ns / %9.1f ns = %6.3f  (%s / %s)\n",
                pairs[i].label, a->second.first, b->second.first, a->second.first / b->second.first,
                a->second.second, b->second.second, a->second.second / b->second.second,
                pairs[i].measured, pairs[i].baseline);
  }
  benchmark::Shutdown();
}
