// The plug-in base's preset slots: naming, factory presets, recall and
// storing, and the bank of all slots. [construction, or a host callback with
// the plug-in mutex held]
#include <cstdio>
#include <cstring>

#include "core/IPlugBase.h"
#include "core/NumericConversions.h"

// ---- Presets ----

const char* IPlugBase::PresetName(int presetIdx) const
{
  const IPreset* preset = Preset(presetIdx);
  return preset ? preset->mPresetName : "";
}

IPreset* IPlugBase::FirstFreePreset() const
{
  for (IPreset* preset : mPresetList)
    if (!preset->mFilled) return preset;
  return nullptr;
}

void IPlugBase::NameFreePresets(const char* name, int count)
{
  for (int i = 0; i < count; ++i)
  {
    IPreset* preset = FirstFreePreset();
    if (!preset) return;
    preset->mFilled = true;
    CopyBounded(preset->mPresetName, name ? name : "Default");
  }
}

bool IPlugBase::MakePresetFromValues(const char* name, const double* values, int count)
{
  IPreset* preset = FirstFreePreset();
  if (!preset || !values || count != ParamCount()) return false;
  preset->mFilled = true;
  CopyBounded(preset->mPresetName, name);
  for (int i = 0; i < count; ++i)
  {
    // Integral parameters take whole numbers, as a preset table writes them.
    const double v = Param(i)->IsIntegral() ? static_cast<double>(TruncToInt32(values[i])) : values[i];
    preset->mStateData.WriteDouble(v);
  }
  return true;
}

void IPlugBase::EnsureDefaultPreset()
{
  if (PresetCount() > 0) return;
  IPreset* preset = mPresetList.Add(new IPreset());
  std::snprintf(preset->mPresetName, sizeof preset->mPresetName, "- %d -", 1);
  NameFreePresets(nullptr, 1);
}

void IPlugBase::MakeUserPresetName(char* name) const
{
  if (!name) return;
  static const char kUserPreset[] = "user preset";
  int count = 0;
  for (const IPreset* preset : mPresetList)
    if (std::strstr(preset->mPresetName, kUserPreset)) ++count;
  std::snprintf(name, IPreset::kNameSize, "%s %d", kUserPreset, count + 1);
}

bool IPlugBase::RecallPreset(int presetIdx)
{
  IPreset* preset = Preset(presetIdx);
  if (!preset) return false;

  bool restored = false;
  if (!preset->mFilled)
  {
    // Selecting an empty slot makes it a user preset holding the live values.
    preset->mFilled = true;
    MakeUserPresetName(preset->mPresetName);
    restored = true;
  }
  else
  {
    restored = LoadState(&preset->mStateData, 0) > 0;
  }

  if (restored)
  {
    mCurrentPreset = presetIdx;
    RefreshParamControls();
  }
  return restored;
}

void IPlugBase::StoreIntoCurrentPreset(const char* name)
{
  IPreset* preset = Preset(mCurrentPreset);
  if (!preset) return;
  preset->mStateData.Clear();
  SaveParams(&preset->mStateData);
  if (name && name[0]) CopyBounded(preset->mPresetName, name);
}

void IPlugBase::RemoveFreePresets()
{
  for (int i = PresetCount() - 1; i >= 0; --i)
    if (!Preset(i)->mFilled) mPresetList.Delete(i, true);
}

bool IPlugBase::RecallPresetNamed(const char* name)
{
  if (!name || !name[0]) return false;
  for (int i = 0; i < PresetCount(); ++i)
    if (std::strcmp(Preset(i)->mPresetName, name) == 0) return RecallPreset(i);
  return false;
}

namespace
{
// Slot flags in a bank. A filled slot's state follows its flag without a
// length, so a filled slot whose state is empty gets a flag of its own:
// otherwise a reader would parse the next slot's bytes as its state.
enum BankSlotFlag : unsigned char
{
  kBankSlotFree = 0,
  kBankSlotWithState = 1,
  kBankSlotWithoutState = 2
};
} // namespace

bool IPlugBase::SavePresetBank(ChunkBuffer* chunk)
{
  if (!chunk) return false;
  bool saved = true;
  for (const IPreset* preset : mPresetList)
  {
    chunk->WriteText(preset->mPresetName);
    const unsigned char flag = !preset->mFilled                 ? kBankSlotFree
                               : preset->mStateData.Empty() ? kBankSlotWithoutState
                                                            : kBankSlotWithState;
    chunk->WriteBytes(&flag, 1);
    if (preset->mFilled) saved = (chunk->WriteChunk(preset->mStateData) > 0) && saved;
  }
  return saved;
}

int IPlugBase::LoadPresetBank(const ChunkBuffer* chunk, int startPos)
{
  if (!chunk) return -1;
  int pos = startPos;
  for (int i = 0; i < PresetCount() && pos >= 0; ++i)
  {
    IPreset* preset = Preset(i);
    WDL_String name;
    const int nameEnd = chunk->ReadText(&name, pos);
    if (nameEnd < 0)
    {
      pos = -1;
      break;
    }
    // A name whose bytes are missing (truncated data) leaves the slot's name.
    if (nameEnd <= chunk->Length()) CopyBounded(preset->mPresetName, name.Get());
    unsigned char flag = kBankSlotFree;
    pos = chunk->ReadBytes(&flag, 1, nameEnd);
    if (pos < 0) break;
    preset->mFilled = flag != kBankSlotFree;
    if (flag == kBankSlotWithoutState)
    {
      preset->mStateData.Clear();
    }
    else if (preset->mFilled)
    {
      pos = LoadState(chunk, pos);
      if (pos > 0)
      {
        preset->mStateData.Clear();
        SaveState(&preset->mStateData);
      }
    }
  }
  RecallPreset(mCurrentPreset);
  return pos;
}
