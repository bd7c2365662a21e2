#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

// Prints Google Benchmark's usual table and collects each run's
// "time_per_frame" counter in nanoseconds, keyed by benchmark name and first
// argument (0 without one). With repetitions the median is kept; otherwise
// the single run. Subclasses print their summary from it in Finalize.
class PerFrameReporter : public benchmark::ConsoleReporter
{
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
    {
      auto counter = run.counters.find("time_per_frame");
      if (counter == run.counters.end()) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      Entry& entry = mNsPerFrame[{run.run_name.function_name, std::atoi(run.run_name.args.c_str())}];
      if (median || !entry.fromMedian) entry = {counter->second.value * 1e9, median};
    }
  }

protected:
  struct Entry
  {
    double value = 0.0;
    bool fromMedian = false;
  };
  using Key = std::pair<std::string, int>;

  // "medians" when any figure is one, else "single runs".
  const char* FigureKind() const
  {
    for (const auto& item : mNsPerFrame)
      if (item.second.fromMedian) return "medians";
    return "single runs";
  }
  // The figure of a benchmark without arguments, or null.
  const Entry* Find(const std::string& name, int arg = 0) const
  {
    auto it = mNsPerFrame.find({name, arg});
    return it == mNsPerFrame.end() ? nullptr : &it->second;
  }

  std::map<Key, Entry> mNsPerFrame;
};
