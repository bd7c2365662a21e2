#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

namespace
{
struct ParamLink : ::testing::Test
{
  EditorRig rig;
  ProbeControl* freq = rig.Add(new ProbeControl(rig.plug.get(), IRECT(0, 0, 10, 10), TestPlug::kFreq));
  ProbeControl* freq2 = rig.Add(new ProbeControl(rig.plug.get(), IRECT(20, 0, 30, 10), TestPlug::kFreq));
  ProbeControl* pan = rig.Add(new ProbeControl(rig.plug.get(), IRECT(40, 0, 50, 10), TestPlug::kPan));
  ProbeControl* display = rig.Add(new ProbeControl(rig.plug.get(), IRECT(60, 0, 70, 10)));

  void SetUp() override
  {
    rig.Attach();
    rig.editor->Tick();
    rig.editor->Tick();
    rig.plug->ClearCalls();
    rig.plug->mApplied.clear();
  }
};
} // namespace

TEST_F(ParamLink, AttachingPushesNormalizedValuesAndFixesDefaults)
{
  // Freq starts at 1000 Hz on a 20..20000 range with shape 2.
  const double expected = std::sqrt((1000.0 - 20.0) / 19980.0);
  EXPECT_DOUBLE_EQ(freq->Value(), expected);
  EXPECT_DOUBLE_EQ(freq->Default(), expected);
  EXPECT_DOUBLE_EQ(pan->Default(), 0.5);
  EXPECT_EQ(display->Default(), -1.0); // nothing is pushed to an unbound control
}

TEST_F(ParamLink, RealValuesAreNormalizedWithTheShape)
{
  rig.editor->ShowParamValue(TestPlug::kFreq, 5015.0, false);
  EXPECT_DOUBLE_EQ(freq->Value(), 0.5); // (4995 / 19980) ^ (1 / 2)
  EXPECT_DOUBLE_EQ(freq2->Value(), 0.5);
  rig.editor->ShowParamValue(TestPlug::kFreq, 99999.0, false);
  EXPECT_EQ(freq->Value(), 1.0);
  rig.editor->ShowParamValue(TestPlug::kFreq, 3.0, false);
  EXPECT_EQ(freq->Value(), 0.0);
  rig.editor->ShowParamValue(TestPlug::kPan, 50.0, false);
  EXPECT_DOUBLE_EQ(pan->Value(), 0.75);

  rig.editor->ShowParamValue(TestPlug::kFreq, 0.25, true);
  EXPECT_EQ(freq->Value(), 0.25);
  EXPECT_DOUBLE_EQ(pan->Value(), 0.75); // other parameters untouched

  rig.editor->ShowParamValue(77, 5.0, false); // no such parameter
  rig.editor->ShowParamValue(-1, 0.9, true);  // never selects unbound controls
  EXPECT_EQ(display->Value(), 0.0);
}

TEST_F(ParamLink, ValuesFromThePlugInAreNeverEchoedToTheHost)
{
  rig.editor->ShowParamValue(TestPlug::kFreq, 0.3, true);
  rig.plug->SetParameterFromHost(TestPlug::kPan, 0.8);
  EXPECT_DOUBLE_EQ(pan->Value(), 0.8);
  EXPECT_TRUE(rig.plug->CallsOf(Call::kAutomate).empty());
  EXPECT_TRUE(rig.plug->CallsOf(Call::kBeginEdit).empty());
  // The host's own change is applied once by the wrapper, not again by the editor.
  EXPECT_EQ(rig.plug->mApplied, std::vector<int>{TestPlug::kPan});
  // The default stays the value first pushed.
  EXPECT_DOUBLE_EQ(pan->Default(), 0.5);
}

TEST_F(ParamLink, SameValueFromThePlugInCausesNoRedraw)
{
  IRECT out;
  ASSERT_FALSE(rig.editor->NeedsRedraw(&out));
  rig.editor->ShowParamValue(TestPlug::kPan, 0.5, true);
  EXPECT_FALSE(rig.editor->NeedsRedraw(&out));
  rig.editor->ShowParamValue(TestPlug::kPan, 0.6, true);
  EXPECT_TRUE(rig.editor->NeedsRedraw(&out));
  EXPECT_EQ(out, pan->Area());
}

TEST_F(ParamLink, ShowControlValueDrivesADisplayByIndex)
{
  rig.editor->ShowControlValue(3, 0.4);
  EXPECT_EQ(display->Value(), 0.4);
  EXPECT_EQ(display->Default(), 0.4);
  rig.editor->ShowControlValue(4, 0.9);
  rig.editor->ShowControlValue(-1, 0.9);
  EXPECT_EQ(display->Value(), 0.4);
  EXPECT_TRUE(rig.plug->Calls().empty());
}

TEST_F(ParamLink, ValuesFromUserInputAreReportedPerControl)
{
  rig.editor->SetControlsFromUserInput(TestPlug::kFreq, 0.5);
  EXPECT_EQ(freq->Value(), 0.5);
  EXPECT_EQ(freq2->Value(), 0.5);
  EXPECT_EQ(rig.plug->Param(TestPlug::kFreq)->CurrentValue(), 5015.0);
  const auto automated = rig.plug->CallsOf(Call::kAutomate);
  ASSERT_EQ(automated.size(), 2u);
  EXPECT_EQ(automated[0].index, TestPlug::kFreq);
  EXPECT_EQ(automated[0].value, 0.5);
  EXPECT_EQ(pan->Value(), 0.5);
}

TEST_F(ParamLink, HidingFollowsTheParameter)
{
  rig.editor->SetControlHidden(TestPlug::kFreq, true);
  EXPECT_TRUE(freq->IsHidden());
  EXPECT_TRUE(freq2->IsHidden());
  EXPECT_FALSE(pan->IsHidden());
  rig.editor->SetControlHidden(-1, true);
  EXPECT_FALSE(display->IsHidden());
  rig.editor->SetControlHidden(TestPlug::kFreq, false);
  EXPECT_FALSE(freq->IsHidden());
  // A hidden control keeps its value.
  EXPECT_DOUBLE_EQ(freq->Value(), freq->Default());
}

TEST_F(ParamLink, RefreshAfterAPresetShowsRealValues)
{
  rig.plug->Param(TestPlug::kFreq)->SetClamped(5015.0);
  rig.plug->Param(TestPlug::kPan)->SetClamped(-100.0);
  rig.plug->RefreshParamControls();
  EXPECT_DOUBLE_EQ(freq->Value(), 0.5);
  EXPECT_EQ(pan->Value(), 0.0);
  EXPECT_TRUE(rig.plug->CallsOf(Call::kAutomate).empty());
}

TEST_F(ParamLink, AControlAddedWhileAnotherThreadShowsAValueWaitsForThatWalk)
{
  // Holds the walk inside its value update until the test lets it go.
  struct Holding : ProbeControl
  {
    using ProbeControl::ProbeControl;
    void SetValueFromEngine(double value) override
    {
      entered.set_value();
      release.wait();
      ProbeControl::SetValueFromEngine(value);
    }
    std::promise<void> entered;
    std::shared_future<void> release;
  };
  auto* holding = rig.Add(new Holding(rig.plug.get(), IRECT(80, 0, 90, 10), TestPlug::kAmount));
  std::promise<void> release;
  holding->release = release.get_future().share();
  std::future<void> entered = holding->entered.get_future();

  std::thread host([&] { rig.editor->ShowParamValue(TestPlug::kAmount, 0.25, true); });
  entered.wait();
  // The UI thread appending (a drop-down opening its list, many times over).
  std::future<void> added = std::async(std::launch::async, [&] {
    for (int i = 0; i < 64; ++i) rig.editor->AddControl(new ProbeControl(rig.plug.get(), IRECT()));
  });
  EXPECT_EQ(added.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  release.set_value();
  host.join();
  added.get();
  EXPECT_EQ(holding->Value(), 0.25);
  EXPECT_EQ(rig.editor->NControls(), 5 + 64);
}
