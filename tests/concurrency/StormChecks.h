#pragma once

#include <gtest/gtest.h>

#include "tests/concurrency/support/ConcurrentHost.h"
#include "tests/concurrency/support/HostStorm.h"

// What must hold after any storm: the host threads saw nothing wrong, every
// parameter holds the value the last sweep gave it, and the host saw every
// edit gesture begin once and end once.
inline void ExpectSoundAfterStorm(AEffect* effect, const HostStorm& storm, const ConcurrentHost& host)
{
  const StormReport& r = storm.report;
  EXPECT_GT(r.samplesChecked, 0);
  EXPECT_EQ(r.nonFiniteSamples, 0);
  EXPECT_EQ(r.valuesOutOfRange, 0);
  EXPECT_EQ(r.badPrograms, 0);
  EXPECT_EQ(r.badChunks, 0);
  for (int idx = 0; idx < effect->numParams; ++idx)
    EXPECT_EQ(effect->getParameter(effect, idx), HostStorm::FinalValue(idx)) << "parameter " << idx;

  const ConcurrentHost::Ledger gestures = host.Totals();
  EXPECT_EQ(gestures.begins, gestures.ends);
  EXPECT_EQ(gestures.unmatchedEnds, 0);
  EXPECT_EQ(gestures.nestedBegins, 0);
  EXPECT_EQ(host.OpenGestures(), 0);
  EXPECT_GT(host.EventsReceived(), 0) << "MIDI passed on to the host";

  std::printf("[ figures  ] %d blocks (%d samples), %d automations, %d program changes, %d chunk round trips, "
              "%d UI operations, %d gestures\n",
              r.blocks, r.samplesChecked, r.automations, r.programChanges, r.chunkRoundTrips, r.uiOperations,
              gestures.begins);
}
