#pragma once

// The editor's images: resource identifier and image name. This table is the
// one place that ties the two together; the name's last part is the file in
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
};

constexpr EditorImage kEditorImages[] = {
  {kImageBackground, "../img/bg.png"},
  {kImageKnob, "../img/knob.png"},
  {kImageWave, "../img/wave.png"},
  {kImageFilterType, "../img/flt_tp.png"},
  {kImageTargetFace, "../img/lfo1_tg.png"},
  {kImageTargetList, "../img/lfo1_tg_.png"},
  {kImageEnvDirection, "../img/adsr_tp.png"},
  {kImageSlider, "../img/slider.png"},
  {kImageEnvCompensation, "../img/comp.png"},
  {kImageLfoCompensation, "../img/comp2.png"},
  {kImageRoutingMap, "../img/map.png"},
  {kImageSync, "../img/sync.png"},
  {kImageChild, "../img/child.png"},
};

constexpr int kEditorImageCount = static_cast<int>(sizeof(kEditorImages) / sizeof(kEditorImages[0]));
