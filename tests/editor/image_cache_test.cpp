#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "editor/BitmapCache.h"
#include "editor/IBitmapControl.h"
#include "raster/LICE_PNG.h"
#include "raster/ResourceImages.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/raster/RasterTestSupport.h"

using namespace editortest;

namespace
{
// Image IDs are process-wide; every test uses its own.
constexpr int kSharedId = 7001;
constexpr int kThreadedId = 7002;
constexpr int kMissingId = 7003;
constexpr int kBackgroundId = 7004;
constexpr int kCutSourceId = 7005;

// A host whose images are PNGs made on the spot, decoded like the real ones,
// counting every load it is asked for.
class CountingHost : public IGraphicsHeadless
{
public:
  using IGraphicsHeadless::IGraphicsHeadless;

  LICE_IBitmap* LoadPlatformImage(int id, const char* name) override
  {
    ++sLoads;
    if (id == kMissingId) return nullptr;
    if (sSlow) std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::vector<uint8_t> png = rastertest::EncodePng(rastertest::PatternRgba(12, 6, id % 7));
    (void)name;
    return LICE_LoadPNGFromMemory(png.data(), png.size());
  }

  static std::atomic<int> sLoads;
  static std::atomic<bool> sSlow;
};
std::atomic<int> CountingHost::sLoads{0};
std::atomic<bool> CountingHost::sSlow{false};
} // namespace

TEST(ImageCache, AnIdIsDecodedOnceAcrossEditors)
{
  TestPlug plugA, plugB;
  CountingHost a(&plugA, 100, 100, 0);
  CountingHost b(&plugB, 100, 100, 0);
  const int loadsBefore = CountingHost::sLoads;
  const int decodesBefore = LICE_PNGDecoderStarts();

  const IBitmap first = a.LoadEditorImage(kSharedId, "shared.png", 2);
  const IBitmap second = b.LoadEditorImage(kSharedId, "shared.png", 3);
  const IBitmap third = a.LoadEditorImage(kSharedId, "other-name.png", 1);

  EXPECT_EQ(CountingHost::sLoads - loadsBefore, 1);
  EXPECT_EQ(LICE_PNGDecoderStarts() - decodesBefore, 1);
  ASSERT_NE(first.mData, nullptr);
  EXPECT_EQ(first.mData, second.mData);
  EXPECT_EQ(first.mData, third.mData);
  EXPECT_EQ(first.W, 12);
  EXPECT_EQ(first.H, 6);
  // The frame count is the caller's, not the cache's.
  EXPECT_EQ(first.N, 2);
  EXPECT_EQ(second.N, 3);
  EXPECT_EQ(third.N, 1);
}

TEST(ImageCache, TwoThreadsLoadingTheSameIdAtOnceDecodeItOnce)
{
  CountingHost::sSlow = true;
  const int loadsBefore = CountingHost::sLoads;
  std::mutex m;
  std::condition_variable cv;
  int ready = 0;
  constexpr int kThreads = 4;
  LICE_IBitmap* seen[kThreads] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      TestPlug plug;
      CountingHost host(&plug, 50, 50, 0);
      {
        std::unique_lock<std::mutex> lock(m);
        ++ready;
        cv.notify_all();
        cv.wait(lock, [&] { return ready == kThreads; });
      }
      seen[t] = host.LoadEditorImage(kThreadedId, "threaded.png", 1).mData;
    });
  for (std::thread& t : threads) t.join();
  CountingHost::sSlow = false;

  EXPECT_EQ(CountingHost::sLoads - loadsBefore, 1);
  ASSERT_NE(seen[0], nullptr);
  for (LICE_IBitmap* bm : seen) EXPECT_EQ(bm, seen[0]);
}

TEST(ImageCache, AMissingImageDrawsNothingAndIsTriedAgainLater)
{
  TestPlug plug;
  CountingHost host(&plug, 40, 40, 0);
  const int loadsBefore = CountingHost::sLoads;
  const IBitmap missing = host.LoadEditorImage(kMissingId, "missing.png", 3);
  EXPECT_EQ(missing.mData, nullptr);
  EXPECT_EQ(missing.W, 0);
  EXPECT_EQ(missing.H, 0);
  EXPECT_EQ(missing.N, 3);
  host.LoadEditorImage(kMissingId, "missing.png", 3);
  EXPECT_EQ(CountingHost::sLoads - loadsBefore, 2);

  host.AddControl(new IBitmapControl(&plug, IRECT(0, 0, 40, 40), -1, missing));
  host.SetBackgroundImage(kMissingId, "missing.png");
  host.PrepareDrawing();
  rastertest::Clear(*host.BackBuffer(), 0xFF123456u);
  EXPECT_TRUE(host.PaintAll());
  EXPECT_EQ(rastertest::CountNot(*host.BackBuffer(), 0xFF123456u), 0);
  EXPECT_EQ(host.GetControl(0)->Area(), IRECT(0, 0, 0, 0));
}

TEST(ImageCache, BackgroundGoesFirstAndReplacesWithoutAlpha)
{
  TestPlug plug;
  auto* host = new CountingHost(&plug, 12, 6, 0);
  auto* probe = new ProbeControl(&plug, IRECT(1, 1, 3, 3));
  host->AddControl(probe);
  host->SetBackgroundImage(kBackgroundId, "bg.png");
  ASSERT_EQ(host->NControls(), 2);
  EXPECT_EQ(host->GetControl(1), probe);
  IControl* bg = host->GetControl(0);
  EXPECT_EQ(bg->Area(), IRECT(0, 0, 12, 6));
  EXPECT_EQ(bg->ParamIdx(), -1);
  EXPECT_EQ(bg->Blend().mMethod, IChannelBlend::kBlendClobber);
  EXPECT_EQ(bg->Blend().mWeight, 1.0f);

  plug.AttachEditor(host);
  rastertest::Clear(*host->BackBuffer(), 0xFFFFFFFFu);
  host->Tick();
  // The pattern's alpha falls to the right; replacing keeps it as it is.
  LICE_IBitmap* src = bg ? static_cast<IBitmapControl*>(bg)->Image().mData : nullptr;
  ASSERT_NE(src, nullptr);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(host->PixelAt(x, y), rastertest::At(*src, x, y)) << x << "," << y;
  EXPECT_EQ(probe->mPaints, 1);
}

TEST(ImageCache, CutBitmapCopiesARectangleIntoTheCache)
{
  TestPlug plug;
  CountingHost host(&plug, 10, 10, 0);
  const IBitmap src = host.LoadEditorImage(kCutSourceId, "cut.png", 2);
  const int entriesBefore = BitmapCache::Instance().Count();
  const IRECT r(6, 0, 12, 6);
  const IBitmap cut = host.CutBitmap(&src, &r);
  EXPECT_EQ(BitmapCache::Instance().Count(), entriesBefore + 1);
  ASSERT_NE(cut.mData, nullptr);
  EXPECT_NE(cut.mData, src.mData);
  EXPECT_EQ(cut.W, 6);
  EXPECT_EQ(cut.H, 6);
  EXPECT_EQ(cut.N, 2);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(rastertest::At(*cut.mData, x, y), rastertest::At(*src.mData, x + 6, y));

  // A rectangle reaching past the source is transparent there.
  const IRECT past(10, 4, 14, 8);
  const IBitmap edge = host.CutBitmap(&src, &past);
  EXPECT_EQ(rastertest::At(*edge.mData, 1, 1), rastertest::At(*src.mData, 11, 5));
  EXPECT_EQ(rastertest::At(*edge.mData, 2, 1), 0u);
  EXPECT_EQ(rastertest::At(*edge.mData, 0, 2), 0u);
  EXPECT_EQ(rastertest::At(*edge.mData, 3, 3), 0u);

  const IBitmap nothing;
  EXPECT_EQ(host.CutBitmap(&nothing, &r).mData, nullptr);
}

TEST(ImageCache, HeadlessHostLoadsTheImagesCompiledIntoThePlugIn)
{
  TestPlug plug;
  IGraphicsHeadless host(&plug, 10, 10, 0);
  EXPECT_EQ(host.LoadPlatformImage(99999, "../img/none.png"), nullptr);
  EXPECT_EQ(host.LoadPlatformImage(99999, nullptr), nullptr);

  // The editor images arrive with their artwork; until then the background
  // is simply absent, and both ways of asking agree.
  std::unique_ptr<LICE_IBitmap> byHost(host.LoadPlatformImage(100, "../img/bg.png"));
  std::unique_ptr<LICE_IBitmap> byRaster(LICE_LoadPNGFromResource(nullptr, 100));
  ASSERT_EQ(byHost == nullptr, ResourceImage::ById(100) == nullptr);
  ASSERT_EQ(byHost == nullptr, byRaster == nullptr);
  if (byHost)
  {
    EXPECT_EQ(byHost->getWidth(), byRaster->getWidth());
    EXPECT_EQ(byHost->getHeight(), byRaster->getHeight());
  }
}
