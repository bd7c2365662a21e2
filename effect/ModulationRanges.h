#pragma once

struct Envelope;
struct Filter;
struct Lfo;

// Places both sources' modulation ranges around the user's parameter values
// (the filter's parameter values): the envelope's range starts at the user's
// value and extends upward by its depth's share of the full span, pushed down
// only as far as needed to stay below the upper end; the LFO swings around
// the user's value, shifted to stay inside the target's ends. An envelope
// without a target of its own that carries the LFO ("LFO1 Env Child") takes
// the LFO's target. Recomputes mEnvMin/Max/Span/Base and mLfoMin/Max/Span/Base.
void PlaceModulationRanges(Envelope& env, Lfo& lfo, const Filter& filter);

// The volume compensation a source applies to the wet signal at value v of
// its range min .. max: mode 0 ("Left") boosts fully at the lower end, 1
// ("Right") at the upper end, 2 ("Both") at both ends and not in the middle.
// gain is the full boost, linear. An empty range gives 1.0.
inline double CompensationFactor(double v, float min, float max, int mode, double gain)
{
  if (max == min) return 1.0;
  const double range = static_cast<float>(max - min);
  switch (mode)
  {
  case 0:
    return 1.0 + (max - v) * (gain - 1.0) / range;
  case 1:
    return 1.0 + (v - min) * (gain - 1.0) / range;
  case 2:
  {
    const double position = (v - min) * 2.0 / range - 1.0;
    return 1.0 + (position < 0.0 ? -position : position) * (gain - 1.0);
  }
  default:
    return 1.0;
  }
}
