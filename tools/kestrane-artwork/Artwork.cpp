#include "tools/kestrane-artwork/Artwork.h"

namespace artwork
{
using art::Canvas;

std::vector<Image> MakeAll()
{
  Canvas bg = Background();
  std::vector<Image> images;
  images.push_back({"bg.png", false, bg});
  images.push_back({"knob.png", true, Knob()});
  images.push_back({"wave.png", true, Waves()});
  images.push_back({"flt_tp.png", false, FilterTypeLit(bg)});
  images.push_back({"lfo1_tg.png", true, TargetFaces()});
  images.push_back({"lfo1_tg_.png", false, TargetList()});
  images.push_back({"adsr_tp.png", false, DirectionDown(bg)});
  images.push_back({"slider.png", true, SliderHandle()});
  images.push_back({"comp.png", true, Compensation(39)});
  images.push_back({"comp2.png", true, Compensation(33)});
  images.push_back({"map.png", false, RoutingMap(bg)});
  images.push_back({"sync.png", false, SyncLit(bg)});
  images.push_back({"child.png", false, ChildLit(bg)});
  return images;
}
} // namespace artwork
