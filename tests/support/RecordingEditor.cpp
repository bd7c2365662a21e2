#include "tests/support/RecordingEditor.h"

#include "core/IPlugBase.h"

void RecordingEditor::Tick()
{
  if (mTimerTicks <= 0) return;
  if (--mTimerTicks == 0) mPlug->FlushPendingEdit();
}
