#pragma once

#include <vector>

#include "core/IRECT.h"
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "effect/KestraneEditorLayout.h"

// Where the Kestrane editor draws text: the read-out strips and the version,
// widened for text that runs past its strip. Pictures drawn with other fonts
// (another font engine, another platform) differ only here.
inline std::vector<IRECT> KestraneEditorTextAreas(IGraphics* editor)
{
  namespace layout = kestrane_layout;
  std::vector<IRECT> areas = {
      IRECT(224, 7, 261, 25),    // version
      IRECT(44, 315, 134, 330),  // envelope compensation slider
      IRECT(220, 310, 310, 325), // LFO compensation slider
      IRECT(83, 430, 143, 445),  // wave switch
  };
  const int knobs[] = {
      layout::kFilterFreqKnob, layout::kFilterBandwidthKnob, layout::kFilterPanKnob, layout::kFilterMixKnob,
      layout::kEnvAttackKnob,  layout::kEnvDecayKnob,        layout::kEnvSustainKnob, layout::kEnvReleaseKnob,
      layout::kEnvDepthKnob,   layout::kLfoRateSyncKnob,     layout::kLfoDepthKnob,   layout::kLfoStartKnob,
  };
  for (int k : knobs)
  {
    const IRECT& a = editor->GetControl(k)->Area();
    areas.push_back(IRECT(a.L, a.B - 15, a.R, a.B));
  }
  for (IRECT& r : areas) r = IRECT(r.L - 12, r.T - 2, r.R + 12, r.B + 2);
  return areas;
}
