#include "effect/Kestrane.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "controls/ModulationMarks.h"
#include "core/NumericConversions.h"
#include "editor/IGraphics.h"
#include "effect/ModulatedFilterLoop.h"
#include "effect/ModulationRanges.h"
#include "effect/ModulationTarget.h"
#include "effect/SyncDivisions.h"

namespace
{
constexpr int FourCharCode(const char (&code)[5])
{
  return (static_cast<int>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<int>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<int>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<int>(static_cast<unsigned char>(code[3]));
}

constexpr int kVersion = 0x00010100;   // 1.1.0
constexpr int kUniqueId = 0x796A6A33;  // 'yjj3'
constexpr int kMakerCode = FourCharCode("OlvD");
constexpr int kLatency = 0;
constexpr int kMidiSendsAndReceives = 1;

// Percent to fraction, in single precision.
float Fraction(int percent)
{
  return static_cast<float>(percent) * 0.01f;
}

// Decibels to a linear gain: exp(dB x ln(10) / 20).
double GainFromDecibels(int decibels)
{
  return std::exp(decibels * 0.11512925464970228);
}
} // namespace

CLS_KESTRANE::CLS_KESTRANE(KestraneInstanceInfo info)
    : KestraneWrapper(info, kNumKestraneParams, "1-1 2-2", kNumKestranePresets, "Kestrane", "", "Olvendu", kVersion,
                      kUniqueId, kMakerCode, kLatency, kMidiSendsAndReceives, false, false)
{
  // Every byte 155: no parameter value equals the resulting integer, so the
  // first application of each parameter passes the change check.
  std::memset(mParamCache, 155, sizeof mParamCache);
  std::fill(std::begin(mParamApplied), std::end(mParamApplied), false);
  mParamsPending = kNumKestraneParams;

  SetupParams();
  MakeEditor();
  MakePresets();
}

// ---- Parameter application ----

void CLS_KESTRANE::ApplyParamChange(int paramIdx)
{
  WDL_MutexLock lock(&mPlugLock);
  if (paramIdx < 0 || paramIdx >= kNumKestraneParams) return;

  // The engine sees whole numbers only: a change within the same integer
  // (automation resending a value, a preset recall) recomputes nothing.
  const int value = RoundHalfAwayToInt32(Param(paramIdx)->CurrentValue());
  if (value == mParamCache[paramIdx]) return;
  mParamCache[paramIdx] = value;

  ApplyToEngine(paramIdx, value);

  // An envelope that carries the LFO runs (and is shown) even without a
  // target of its own.
  if (mLfo.mLfoChild && mLfo.mLfoTarget != kTargetNone)
    SetEnvDisplayActive(true);
  else if (!mLfo.mLfoChild && mEnv.mEnvTarget == kTargetNone)
    SetEnvDisplayActive(false);

  ShowRouting();

  // Until the first block the ranges would be placed with meaningless rates;
  // the first block applies what it needs and places them from then on.
  if (mInitialised)
  {
    PlaceModulationRanges();
    ShowModulationRanges();
  }

  mSyncClicked = false;

  if (!IsReady())
  {
    if (!mParamApplied[paramIdx])
    {
      mParamApplied[paramIdx] = true;
      --mParamsPending;
    }
    if (mParamsPending <= 0) SetReady(true);
  }
}

void CLS_KESTRANE::ApplyToEngine(int paramIdx, int value)
{
  switch (paramIdx)
  {
  case kFilterType:
    // Another response restarts from zero memory: the old state would ring
    // through the new recursion.
    if (value != mFilter.mFilterType) mFilter.ClearState();
    mFilter.mFilterType = value;
    UpdateFilterCoefficients();
    break;
  case kFilterFreq:
    mFilter.mFreqParam = mFilter.mFreqCur = static_cast<float>(value);
    UpdateFilterCoefficients();
    break;
  case kFilterBandwidth:
    mFilter.mBandwidthParam = mFilter.mBandwidthCur = Fraction(value);
    UpdateFilterCoefficients();
    break;
  case kFilterPan:
    mFilter.mPanParam = mFilter.mPanCur = Fraction(value);
    break;
  case kFilterMix:
    mFilter.mMixParam = Fraction(value);
    mFilter.SetMix(mFilter.mMixParam);
    break;
  case kEnvTarget:
    mEnv.mEnvTarget = value;
    SetEnvDisplayActive(value != kTargetNone);
    RestoreCurrentValues();
    break;
  case kEnvAttack:
    mEnv.mAttackSamples = SampleCount(value);
    break;
  case kEnvDecay:
    mEnv.mDecaySamples = SampleCount(value);
    break;
  case kEnvSustain:
    mEnv.mSustain = Fraction(value);
    break;
  case kEnvRelease:
    mEnv.mReleaseSamples = SampleCount(value);
    break;
  case kEnvDepth:
    mEnv.mEnvDepth = Fraction(value);
    break;
  case kEnvDirection:
    mEnv.mEnvUp = (value != 1);
    break;
  case kEnvVolCompensation:
    mEnv.mEnvCompGain = GainFromDecibels(value);
    break;
  case kEnvCompensation:
    mEnv.mEnvCompMode = value;
    break;
  case kLfoTarget:
    mLfo.mLfoTarget = value;
    SetLfoDisplayActive(value != kTargetNone);
    RestoreCurrentValues();
    mLfo.mLfoPos = 0;
    break;
  case kLfoWave:
    mLfo.mLfoWave = value;
    mLfo.mLfoPos = 0;
    break;
  case kLfoSync:
    ApplyLfoSync(value);
    break;
  case kLfoRateSync:
    if (mLfo.mLfoSync)
      mLfo.mLfoPeriod =
          RoundHalfAwayToInt32(static_cast<double>(::SyncDivisionLength(value)) * mLfo.mSamplesPerWholeNote);
    mLfo.mLfoPos = 0;
    break;
  case kLfoRateMs:
    if (!mLfo.mLfoSync) mLfo.mLfoPeriod = SampleCount(value);
    mLfo.mLfoPos = 0;
    break;
  case kLfoEnvChild:
    mLfo.mLfoChild = (value == 1);
    break;
  case kLfoDepth:
    mLfo.mLfoDepth = Fraction(value);
    break;
  case kLfoStart:
    // Taken over only once the engine runs: the period is meaningless before.
    if (mInitialised && Fraction(value) != mLfo.mLfoStart)
    {
      mLfo.mLfoStart = Fraction(value);
      mLfo.mLfoPos = mLfo.StartPosition();
    }
    break;
  case kLfoVolCompensation:
    mLfo.mLfoCompGain = GainFromDecibels(value);
    break;
  case kLfoCompensation:
    mLfo.mLfoCompMode = value;
    break;
  default:
    break;
  }
}

void CLS_KESTRANE::ApplyLfoSync(int value)
{
  // Acts only on a real switch. Switching by itself keeps the period; only
  // the carry-over of a click (or a later rate, tempo or rate change)
  // recomputes it.
  const bool switchOn = (value == 1 && !mLfo.mLfoSync);
  const bool switchOff = (value == 0 && mLfo.mLfoSync);
  if (switchOn || switchOff) mLfo.mLfoSync = switchOn;

  // The rate knobs follow every application, switch or not: both start
  // hidden, and the first application may keep the engine's state (a host
  // restoring "off" before opening the plug-in).
  if (IGraphics* editor = Editor())
  {
    editor->SetControlHidden(kLfoRateSync, !mLfo.mLfoSync);
    editor->SetControlHidden(kLfoRateMs, mLfo.mLfoSync);
  }
  if (!switchOn && !switchOff) return;

  // The user clicked the sync button: the LFO keeps (about) its speed.
  if (mLfo.mLfoPeriod > 0 && mSyncClicked)
  {
    if (switchOn)
      SetParamFromEngine(kLfoRateSync, NearestSyncDivision(mLfo.mLfoPeriod));
    else
      SetParamFromEngine(kLfoRateMs, mLfo.mLfoPeriod / mFilter.mEngineSampleRate * 1000.0);
  }
}

void CLS_KESTRANE::RestoreCurrentValues()
{
  mFilter.mFreqCur = mFilter.mFreqParam;
  mFilter.mBandwidthCur = mFilter.mBandwidthParam;
  UpdateFilterCoefficients();
  mFilter.mPanCur = mFilter.mPanParam;
  mFilter.SetMix(mFilter.mMixParam);
}

int CLS_KESTRANE::SampleCount(int milliseconds) const
{
  return RoundHalfAwayToInt32(milliseconds * mFilter.mEngineSampleRate * 0.001);
}

void CLS_KESTRANE::SetParamFromEngine(int paramIdx, double value)
{
  WDL_MutexLock lock(&mPlugLock);
  IParam* param = Param(paramIdx);
  if (!param) return;

  BeginHostEdit(paramIdx);
  param->SetClamped(value);
  const double normalized = param->NormalizedValue();
  if (IGraphics* editor = Editor())
    editor->SetControlsFromUserInput(paramIdx, normalized);
  else
    SetParameterFromEditor(paramIdx, normalized); // host and engine still follow
  EndHostEdit(paramIdx);
}

// ---- Editor links ----

void CLS_KESTRANE::AttachModulationDisplays(ModulationMarks* envGraph, ModulationMarks* lfoGraph, int routingControl)
{
  WDL_MutexLock lock(&mPlugLock);
  mEnvGraph = envGraph;
  mLfoGraph = lfoGraph;
  mRoutingControl = (routingControl >= 0 && routingControl <= INT16_MAX) ? static_cast<int16_t>(routingControl) : -1;
  SetEnvDisplayActive(mEnvDisplayActive);
  SetLfoDisplayActive(mLfoDisplayActive);
  ShowModulationRanges();
}

void CLS_KESTRANE::AttachEditor(IPlugEditor* editor)
{
  WDL_MutexLock lock(&mPlugLock);
  // The displays and the indicator belong to the editor being replaced.
  if (editor && editor != Editor()) OnEditorControlsDeleting();
  KestraneWrapper::AttachEditor(editor);
}

void CLS_KESTRANE::OnEditorControlsDeleting()
{
  WDL_MutexLock lock(&mPlugLock);
  mEnvGraph = nullptr;
  mLfoGraph = nullptr;
  mRoutingControl = -1;
}

void CLS_KESTRANE::MarkSyncClicked()
{
  WDL_MutexLock lock(&mPlugLock);
  mSyncClicked = true;
}

void CLS_KESTRANE::ShowRouting()
{
  // The applications the audio thread makes (the first block's reset, a
  // tempo change) leave the editor alone: they cannot change the routing,
  // which follows "ENV Target", "LFO1 Target" and "LFO1 Env Child" only,
  // and the editor's control list lock is no place for the audio thread.
  IGraphics* editor = Editor();
  if (!editor || mRoutingControl < 0 || mInAudioBlock) return;
  editor->ShowControlValue(mRoutingControl,
                           RoutingIndicatorValue(mEnv.mEnvTarget, mLfo.mLfoTarget, mLfo.mLfoChild));
}

void CLS_KESTRANE::SetEnvDisplayActive(bool active)
{
  mEnvDisplayActive = active;
  if (mEnvGraph) mEnvGraph->SetShowEnv(active);
}

void CLS_KESTRANE::SetLfoDisplayActive(bool active)
{
  mLfoDisplayActive = active;
  if (mLfoGraph) mLfoGraph->SetShowLfo(active);
}

void CLS_KESTRANE::ShowModulationRanges()
{
  if (mEnvGraph) mEnvGraph->SetEnvRange(mEnv.mEnvMin, mEnv.mEnvMax);
  if (mLfoGraph) mLfoGraph->SetLfoRange(mLfo.mLfoMin, mLfo.mLfoMax);
}

double CLS_KESTRANE::RoutingIndicatorValue(int envTarget, int lfoTarget, bool lfoChild)
{
  if (envTarget != kTargetNone && lfoTarget != kTargetNone && envTarget != lfoTarget) return lfoChild ? 1.0 : 0.8;
  if (lfoTarget != kTargetNone && lfoTarget != envTarget) return lfoChild ? 0.6 : 0.4;
  return envTarget != kTargetNone ? 0.2 : 0.0;
}

// ---- Engine steps and queries ----

void CLS_KESTRANE::PlaceModulationRanges()
{
  ::PlaceModulationRanges(mEnv, mLfo, mFilter);
}

float CLS_KESTRANE::SyncDivisionLength(int index)
{
  return ::SyncDivisionLength(index);
}

int CLS_KESTRANE::NearestSyncDivision(int periodSamples) const
{
  return ::NearestSyncDivision(periodSamples, mLfo.mSamplesPerWholeNote);
}

double CLS_KESTRANE::CompensationFactor(double v, float min, float max, int mode, double gain)
{
  return ::CompensationFactor(v, min, max, mode, gain);
}

int CLS_KESTRANE::AppliedValue(int paramIdx) const
{
  return (paramIdx >= 0 && paramIdx < kNumKestraneParams) ? mParamCache[paramIdx] : 0;
}

// ---- Engine reset, MIDI and processing ----

void CLS_KESTRANE::ResetEngine()
{
  WDL_MutexLock lock(&mPlugLock);
  if (SampleRate() != mFilter.mEngineSampleRate)
  {
    mFilter.mEngineSampleRate = SampleRate();
    // Everything counted in samples follows the new rate; the free LFO
    // period restarts at position 0.
    for (int paramIdx : {kEnvAttack, kEnvDecay, kEnvRelease, kLfoRateMs})
    {
      mParamCache[paramIdx] = -1;
      ApplyParamChange(paramIdx);
    }
    UpdateFilterCoefficients();
  }
  mEnv.mNotesHeld = 0;
  mLfo.mLfoPos = mLfo.StartPosition();
}

void CLS_KESTRANE::ProcessMidiMessage(const MidiMessage& message)
{
  // Channel messages on any channel; the note number does not matter and the
  // velocity only tells a note-on from a note-off.
  const int kind = message.StatusKind();
  if (kind == kMidiNoteOn && message.mByte2 > 0)
    EnvelopeNoteOn();
  else if (kind == kMidiNoteOff || kind == kMidiNoteOn)
    EnvelopeNoteOff();
  SendMidiMessage(message);
}

void CLS_KESTRANE::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  double wholeNote = 4.0 * SamplesPerBeat();
  if (!(wholeNote >= 0.0)) wholeNote = 0.0; // a NaN from a broken rate is no tempo

  mInAudioBlock = true;
  if (!mInitialised)
  {
    // The first block computes every rate-dependent value: clearing the
    // engine rate makes the reset recompute them all.
    mInitialised = true;
    mFilter.mEngineSampleRate = 0.0;
    ResetEngine();
  }
  if (wholeNote != mLfo.mSamplesPerWholeNote)
  {
    // A tempo change recomputes a synced period and restarts the LFO.
    mLfo.mSamplesPerWholeNote = wholeNote;
    mParamCache[kLfoRateSync] = -1;
    ApplyParamChange(kLfoRateSync);
  }
  mInAudioBlock = false;

  if (nFrames <= 0 || !inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;

  const ModulationOutputs sources = RunModulatedFilterLoop(mEnv, mLfo, mFilter, inputs, outputs, nFrames);

  // The displays show where the sources stood at the end of the block.
  if (sources.envRan && mEnvGraph) mEnvGraph->SetEnvMark(static_cast<float>(sources.envOut));
  if (sources.lfoRan && mLfoGraph) mLfoGraph->SetLfoMark(static_cast<float>(sources.lfoOut));
}
