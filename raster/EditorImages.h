#pragma once

// The editor's images: resource identifier, image name, and the size and
// frame count the editor's controls are built from. This table is the one
// place that ties them together; the name's last part is the file in
// resources/img/ that is compiled into the plug-in.
enum EditorImageId
{
  kImageBackground = 100,
  kImageKnob = 101,
  kImageWave = 102,
  kImageFilterType = 103,
  kImageTargetFace = 104,
  kImageTargetList = 105,
  kImageEnvDirection = 106,
  kImageSlider = 107,
  kImageEnvCompensation = 108,
  kImageLfoCompensation = 109,
  kImageRoutingMap = 110,
  kImageSync = 111,
  kImageChild = 112,
};

struct EditorImage
{
  int id;
  const char* name;
  int width;
  int height;
  int frames;
};

constexpr EditorImage kEditorImages[] = {
  {kImageBackground, "../img/bg.png", 388, 470, 1},
  {kImageKnob, "../img/knob.png", 108, 54, 2},
  {kImageWave, "../img/wave.png", 180, 30, 6},
  {kImageFilterType, "../img/flt_tp.png", 28, 39, 3},
  {kImageTargetFace, "../img/lfo1_tg.png", 44, 60, 5},
  {kImageTargetList, "../img/lfo1_tg_.png", 44, 60, 5},
  {kImageEnvDirection, "../img/adsr_tp.png", 50, 16, 1},
  {kImageSlider, "../img/slider.png", 16, 16, 1},
  {kImageEnvCompensation, "../img/comp.png", 39, 69, 3},
  {kImageLfoCompensation, "../img/comp2.png", 33, 69, 3},
  {kImageRoutingMap, "../img/map.png", 168, 39, 6},
  {kImageSync, "../img/sync.png", 34, 18, 1},
  {kImageChild, "../img/child.png", 34, 22, 1},
};

// The entry of an image ID, or null.
constexpr const EditorImage* FindEditorImage(int id)
{
  for (const EditorImage& image : kEditorImages)
    if (image.id == id) return &image;
  return nullptr;
}

constexpr int kEditorImageCount = static_cast<int>(sizeof(kEditorImages) / sizeof(kEditorImages[0]));
