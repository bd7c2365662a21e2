#pragma once

#include "raster/LICE_Pixel.h"

// How a control's pixels are combined with what lies below: a method and a
// weight (0..1). Dimming a control only changes the weight.
struct IChannelBlend
{
  enum EBlendMethod
  {
    kBlendNone = 0,       // normal: the source's alpha decides
    kBlendClobber = 1,    // replace, ignoring alpha
    kBlendAdd = 2,
    kBlendColorDodge = 3
  };

  int mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() = default;
  explicit IChannelBlend(int method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}

  // The raster mode word for this method; unknown methods draw as normal.
  static int ModeFor(int method)
  {
    switch (method)
    {
      case kBlendClobber: return LICE_BLIT_MODE_COPY;
      case kBlendAdd: return LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA;
      case kBlendColorDodge: return LICE_BLIT_MODE_DODGE | LICE_BLIT_USE_ALPHA;
      default: return LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA;
    }
  }
};

// Drawing without a blend means normal blending at full weight.
inline int BlendMode(const IChannelBlend* blend)
{
  return IChannelBlend::ModeFor(blend ? blend->mMethod : IChannelBlend::kBlendNone);
}
inline float BlendWeight(const IChannelBlend* blend)
{
  return blend ? blend->mWeight : 1.0f;
}
