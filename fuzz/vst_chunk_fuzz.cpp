// Feeds arbitrary bytes to effSetChunk, with the sizes a host may get
// wrong. Whatever arrives, the plug-in keeps its parameters in range, hands
// out a well-formed chunk and processes finite audio.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/FuzzedPlugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1 || size > (1 << 16)) return 0;
  AEffect* effect = fuzz::OpenPlugin();

  const uint8_t mode = data[0];
  std::vector<uint8_t> chunk(data + 1, data + size);
  const VstInt32 index = mode & 1;
  VstIntPtr claimed = static_cast<VstIntPtr>(chunk.size());
  if (mode & 2) claimed = -1 - static_cast<VstIntPtr>(mode); // a negative size
  if (mode & 4) claimed = static_cast<VstIntPtr>(IPlugVST::kMaxChunkBytes) + 1 + mode; // absurd
  // Data that claims more than it holds would be the host reading its own
  // memory wrongly; only sizes the data covers, or refused ones, are sent.
  effect->dispatcher(effect, effSetChunk, index, claimed, chunk.empty() ? nullptr : chunk.data(), 0.0f);
  fuzz::CheckSane(effect);

  void* saved = nullptr;
  const VstIntPtr savedSize = effect->dispatcher(effect, effGetChunk, index, 0, &saved, 0.0f);
  if (savedSize != 4 + 8 * static_cast<VstIntPtr>(effect->numParams) || !saved) std::abort();
  // The chunk handed back as it was lent restores exactly that state.
  std::vector<uint8_t> copy(static_cast<uint8_t*>(saved), static_cast<uint8_t*>(saved) + savedSize);
  if (effect->dispatcher(effect, effSetChunk, index, savedSize, saved, 0.0f) != 1) std::abort();
  void* again = nullptr;
  if (effect->dispatcher(effect, effGetChunk, index, 0, &again, 0.0f) != savedSize) std::abort();
  if (std::memcmp(again, copy.data(), copy.size()) != 0) std::abort();

  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
