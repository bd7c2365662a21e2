#include <filesystem>

#include <gtest/gtest.h>

#include "raster/LICE_IBitmap.h"
#include "tests/editor/EditorTestSupport.h"

using namespace editortest;

TEST(HeadlessHost, BackBufferHasTheEditorSizeOnceAttached)
{
  EditorRig rig(388, 470);
  EXPECT_EQ(rig.editor->BackBuffer(), nullptr);
  EXPECT_EQ(rig.editor->FrameRate(), 24);
  rig.Attach();
  ASSERT_NE(rig.editor->BackBuffer(), nullptr);
  EXPECT_EQ(rig.editor->BackBuffer()->getWidth(), 388);
  EXPECT_EQ(rig.editor->BackBuffer()->getHeight(), 470);
  EXPECT_EQ(rig.editor->PixelAt(-1, 0), 0u);
  EXPECT_EQ(rig.editor->PixelAt(388, 0), 0u);
}

TEST(HeadlessHost, WindowAndDialogsAreNotAvailable)
{
  EditorRig rig;
  rig.Attach();
  EXPECT_EQ(rig.editor->OpenEditorWindow(nullptr), nullptr);
  EXPECT_EQ(rig.editor->OpenEditorWindow(nullptr, nullptr), nullptr);
  EXPECT_EQ(rig.editor->NativeWindow(), nullptr);
  EXPECT_FALSE(rig.editor->IsWindowOpen());
  EXPECT_FALSE(rig.editor->ProcessMouseWheel(1.0f));

  IColor colour(1, 2, 3, 4);
  EXPECT_FALSE(rig.editor->AskForColor(&colour, "pick"));
  EXPECT_EQ(colour, IColor(1, 2, 3, 4));
  WDL_String file("previous.txt");
  rig.editor->AskForFile(&file, 0, "/tmp", "txt");
  EXPECT_STREQ(file.Get(), "");

  EXPECT_EQ(rig.editor->LastWebPage(), nullptr);
  EXPECT_FALSE(rig.editor->OpenWebPage("https://example.com/Test Effect", nullptr, nullptr, "Cannot open url."));
  ASSERT_NE(rig.editor->LastWebPage(), nullptr);
  EXPECT_EQ(rig.editor->LastWebPage()->url, "https://example.com/Test Effect");
  EXPECT_EQ(rig.editor->LastWebPage()->errMsg, "Cannot open url.");
}

TEST(HeadlessHost, PathsNameExistingFolders)
{
  EditorRig rig;
  WDL_String app, plugin;
  rig.editor->HostAppPath(&app);
  rig.editor->PluginFilePath(&plugin);
  EXPECT_GT(app.GetLength(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(app.Get())) << app.Get();
  // Linked into the test program, the plug-in file is the program itself.
  EXPECT_STREQ(plugin.Get(), app.Get());
}

TEST(HeadlessHost, ResizingDropsTheControlsAndTellsThePlugIn)
{
  EditorRig rig;
  bool deleted[2] = {false, false};
  struct Tracked : ProbeControl
  {
    Tracked(IPlugBase* plug, const IRECT& r, bool* flag) : ProbeControl(plug, r), mFlag(flag) {}
    ~Tracked() override { *mFlag = true; }
    bool* mFlag;
  };
  rig.Add(new Tracked(rig.plug.get(), IRECT(0, 0, 10, 10), &deleted[0]));
  rig.Add(new Tracked(rig.plug.get(), IRECT(0, 0, 10, 10), &deleted[1]));
  rig.Attach();
  MouseMods left(true, false);
  rig.editor->MouseDown(5, 5, &left);
  rig.editor->ResizeEditor(300, 120);
  EXPECT_TRUE(deleted[0]);
  EXPECT_TRUE(deleted[1]);
  EXPECT_EQ(rig.editor->NControls(), 0);
  EXPECT_EQ(rig.editor->Capture(), -1);
  EXPECT_EQ(rig.editor->Width(), 300);
  EXPECT_EQ(rig.editor->BackBuffer()->getWidth(), 300);
  EXPECT_EQ(rig.editor->BackBuffer()->getHeight(), 120);
  EXPECT_EQ(rig.plug->CallsOf(Call::kResizeEditor).size(), 1u);
}

TEST(HeadlessHost, ControlsAreDeletedLastToFirstWithTheEditor)
{
  std::vector<int> order;
  struct Tracked : ProbeControl
  {
    Tracked(IPlugBase* plug, std::vector<int>* log, int id) : ProbeControl(plug, IRECT(0, 0, 1, 1)), mLog(log), mId(id) {}
    ~Tracked() override { mLog->push_back(mId); }
    std::vector<int>* mLog;
    int mId;
  };
  {
    EditorRig rig;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rig.editor->AddControl(new Tracked(rig.plug.get(), &order, i)), i);
    rig.Attach();
  }
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0}));
}
