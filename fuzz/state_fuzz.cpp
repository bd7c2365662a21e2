// Feeds arbitrary bytes to state and preset-bank loading. Any input must give
// a defined result: parameters inside their ranges, names terminated within
// their fields, and a bank that saves again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/support/IPlugTest.h"

namespace
{
class FuzzPlug : public IPlugTest
{
public:
  FuzzPlug() : IPlugTest(InstanceInfo{}, 24, "1-1 2-2", 30, "Fuzz", "", "Maker", 0x00010100, 1, 2, 0, 1, false, false)
  {
    for (int i = 0; i < ParamCount(); ++i)
    {
      if (i % 3 == 0)
        Param(i)->SetupEnum("enum", 1, 3);
      else if (i % 3 == 1)
        Param(i)->SetupInt("int", 20, 20, 20000, "Hz");
      else
        Param(i)->SetupDouble("double", 0.5, -1.0, 1.0, 0.01);
    }
    const double values[24] = {};
    MakePresetFromValues("first", values, 24);
  }
};

void Check(const FuzzPlug& plug)
{
  for (int i = 0; i < plug.ParamCount(); ++i)
  {
    double lo = 0, hi = 0;
    plug.Param(i)->Bounds(&lo, &hi);
    const double v = plug.Param(i)->CurrentValue();
    if (!(v >= lo && v <= hi)) std::abort();
  }
  for (int i = 0; i < plug.PresetCount(); ++i)
    if (std::strlen(plug.PresetName(i)) >= IPreset::kNameSize) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1 << 20)) return 0;
  ChunkBuffer chunk;
  chunk.WriteBytes(data, static_cast<int>(size));

  FuzzPlug state;
  const int end = state.LoadState(&chunk, 0);
  if (end > chunk.Length()) std::abort();
  Check(state);

  FuzzPlug bank;
  bank.LoadPresetBank(&chunk, 0);
  Check(bank);
  ChunkBuffer saved;
  bank.SavePresetBank(&saved);
  for (int i = 0; i < bank.PresetCount(); ++i) bank.RecallPreset(i);
  Check(bank);
  return 0;
}
