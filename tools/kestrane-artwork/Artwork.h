#pragma once

#include <string>
#include <vector>

#include "tools/kestrane-artwork/Canvas.h"

// The editor's thirteen images.
namespace artwork
{
struct Image
{
  std::string file;  // name in resources/img/
  bool alpha;        // written as RGBA (else RGB)
  art::Canvas canvas;
};

// In the order of their resource identifiers, 100 to 112.
std::vector<Image> MakeAll();

art::Canvas Background();
art::Canvas Knob();                          // 2 frames side by side: turning cap, fixed base
art::Canvas Waves();                         // 6 frames side by side
art::Canvas FilterTypeLit(const art::Canvas& bg);
art::Canvas TargetFaces();                   // 5 frames stacked
art::Canvas TargetList();
art::Canvas DirectionDown(const art::Canvas& bg);
art::Canvas SliderHandle();
art::Canvas Compensation(int width);         // 3 frames stacked
art::Canvas RoutingMap(const art::Canvas& bg); // 6 frames side by side
art::Canvas SyncLit(const art::Canvas& bg);
art::Canvas ChildLit(const art::Canvas& bg);

// Pieces the background shares with the images drawn over it.
namespace looks
{
void FilterType(art::Canvas& c, int x, int y, bool lit);
void Direction(art::Canvas& c, int x, int y, bool down);
void Sync(art::Canvas& c, int x, int y, bool lit);
void Child(art::Canvas& c, int x, int y, bool lit);
} // namespace looks
} // namespace artwork
