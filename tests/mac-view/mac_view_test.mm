// The macOS editor view, compiled against GNUstep's AppKit and driven under
// Xvfb as an Audio Unit host drives it: the factory found by name, the
// view's timer, mouse and wheel events, value prompts, closing, images from
// the bundle and the picture it draws. Never opens a web page: GNUstep's
// workspace blocks on a modal alert without a browser service.
#include <cstring>

#include <gtest/gtest.h>
#include <objc/runtime.h>

#include "core/IParam.h"
#include "editor/IControl.h"
#include "effect/Kestrane.h"
#include "effect/KestraneParams.h"
#include "platform/mac/IGraphicsMac.h"
#include "platform/mac/KestraneAU.h"
#include "platform/mac/WebAddress.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"
#include "tests/au/support/AuHost.h"

namespace
{
IPlugAU* CreateKestrane()
{
  return new CLS_KESTRANE(KestraneInstanceInfo{KESTRANE_TEST_BUNDLE_ID, KESTRANE_VIEW_FACTORY_NAME});
}

ComponentResult KestraneEntry(ComponentParameters* params, Handle storage)
{
  return IPlugAU::ComponentEntry(params, storage, CreateKestrane);
}

// A control that draws nothing, placed where a test needs one.
class ProbeControl : public IControl
{
public:
  using IControl::IControl;
  bool Paint(IGraphics*) override { return true; }
};

Component KestraneComponent()
{
  static Component component = [] {
    const ComponentDescription description{kAudioUnitType_MusicEffect, 0x796A6A33, 0x4F6C7644, 0, 0};
    return StandInRegisterComponent(&description, KestraneEntry, "Kestrane");
  }();
  return component;
}

NSEvent* MouseEvent(NSEventType type, NSPoint where, NSUInteger modifiers, NSInteger clicks = 1)
{
  return [NSEvent mouseEventWithType:type location:where modifierFlags:modifiers timestamp:0 windowNumber:0
                             context:nil eventNumber:0 clickCount:clicks pressure:1.0];
}

NSEvent* WheelEvent(NSPoint where, CGFloat deltaY)
{
  return [NSEvent mouseEventWithType:NSScrollWheel location:where modifierFlags:0 timestamp:0 windowNumber:0
                             context:nil eventNumber:0 clickCount:0 pressure:0 buttonNumber:0 deltaX:0
                              deltaY:deltaY deltaZ:0];
}

size_t CountEvents(AudioUnitEventType type)
{
  size_t n = 0;
  for (size_t i = 0; i < StandInEventCount(); ++i) n += StandInEvent(i).mEventType == type ? 1 : 0;
  return n;
}

// The unit opened as a host opens it, its view asked of the factory by
// class name and put into a window at the screen's origin, so window points
// are view points.
struct ViewRig
{
  ViewRig() : unit(KestraneComponent())
  {
    unit.OpenLikeAHost(48000, 512);
    plug = static_cast<CLS_KESTRANE*>(unit.Storage());
    editor = plug->Editor<IGraphicsMac>();
    factory = [[NSClassFromString(@KESTRANE_VIEW_FACTORY_NAME) alloc] init];
    // The factory's view is autoreleased: the rig keeps its own reference.
    NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
    view = static_cast<KestraneAU*>([[factory uiViewForAudioUnit:unit.unit withSize:NSMakeSize(10, 10)] retain]);
    [pool release];
    window = [[NSWindow alloc] initWithContentRect:NSMakeRect(0, 0, editor->Width(), editor->Height())
                                         styleMask:NSBorderlessWindowMask
                                           backing:NSBackingStoreBuffered
                                             defer:NO];
    [[window contentView] addSubview:view];
    StandInClearEvents();
  }
  ~ViewRig()
  {
    [view removeFromSuperview];
    [view release];
    [window release];
    [factory release];
  }

  // The centre of the first visible control bound to a parameter, as a
  // window point.
  IControl* ControlFor(int paramIdx)
  {
    for (int i = 0; i < editor->NControls(); ++i)
    {
      IControl* c = editor->GetControl(i);
      if (c->ParamIdx() == paramIdx && !c->IsHidden()) return c;
    }
    return nullptr;
  }
  NSPoint CentreOf(IControl* control)
  {
    const IRECT& a = control->Area();
    return NSMakePoint((a.L + a.R) / 2, editor->Height() - (a.T + a.B) / 2);
  }

  AuUnit unit;
  CLS_KESTRANE* plug = nullptr;
  IGraphicsMac* editor = nullptr;
  id factory = nil;
  KestraneAU* view = nil;
  NSWindow* window = nil;
};
} // namespace

TEST(MacView, FactoryByNameMakesTheEditorsViewAndNilWithoutAnEditor)
{
  Class factoryClass = NSClassFromString(@"CLS_KESTRANE_View");
  ASSERT_NE(factoryClass, Nil);
  // By name, as a host without our headers has it (and clang's GCC-runtime
  // @protocol() is only the registered object in a file where a class
  // adopts the protocol).
  EXPECT_TRUE([factoryClass conformsToProtocol:objc_getProtocol("AUCocoaUIBase")]);
  id factory = [[factoryClass alloc] init];
  EXPECT_EQ([factory interfaceVersion], 0u);
  EXPECT_STREQ([[factory description] UTF8String], "Kestrane View");
  EXPECT_EQ([factory uiViewForAudioUnit:nullptr withSize:NSMakeSize(1, 1)], nil);

  AuUnit kestrane(KestraneComponent());
  // The class the unit publishes is this factory, in the bundle it names.
  StandInRegisterBundle(KESTRANE_TEST_BUNDLE_ID, KESTRANE_TEST_BUNDLE);
  AudioUnitCocoaViewInfo published{};
  ASSERT_EQ(noErr, kestrane.Get(kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &published));
  char className[64] = {};
  ASSERT_TRUE(CFStringGetCString(published.mCocoaAUViewClass[0], className, sizeof className, kCFStringEncodingUTF8));
  EXPECT_EQ(NSClassFromString([NSString stringWithUTF8String:className]), factoryClass);
  EXPECT_STREQ(StandInURLPath(published.mCocoaAUViewBundleLocation), KESTRANE_TEST_BUNDLE);
  CFRelease(published.mCocoaAUViewClass[0]);
  CFRelease(published.mCocoaAUViewBundleLocation);

  NSView* view = [factory uiViewForAudioUnit:kestrane.unit withSize:NSMakeSize(10, 10)];
  ASSERT_NE(view, nil);
  EXPECT_TRUE([view isKindOfClass:[KestraneAU class]]);
  EXPECT_EQ([view frame].size.width, 388);
  EXPECT_EQ([view frame].size.height, 470);
  [view removeFromSuperview];
  [factory release];
}

TEST(MacView, OneTimerAtATimeAndTheWheelGestureCountdown)
{
  ViewRig rig;
  KestraneAU* first = rig.view;
  NSTimer* firstTimer = [first timer];
  ASSERT_TRUE([firstTimer isValid]);
  EXPECT_NEAR([firstTimer timeInterval], 1.0 / 24, 1e-9);

  // A second open replaces the view: the first one's timer is gone.
  KestraneAU* second = [static_cast<KestraneAU*>(rig.editor->OpenEditorWindow(nullptr)) retain];
  EXPECT_NE(second, first);
  EXPECT_FALSE([firstTimer isValid]);
  EXPECT_EQ([first timer], nil);
  EXPECT_EQ([first graphics], nullptr);
  ASSERT_TRUE([[second timer] isValid]);

  // The timer fires in the default mode (the common-modes timer).
  [second setParamChangeTimer:1000];
  [[NSRunLoop currentRunLoop] runUntilDate:[NSDate dateWithTimeIntervalSinceNow:0.3]];
  EXPECT_LT([second paramChangeTimer], 1000);
  [second cancelParamChangeTimer];

  // Five notches, then the gesture ends 12 ticks after the last one.
  IControl* knob = rig.ControlFor(kFilterFreq);
  ASSERT_NE(knob, nullptr);
  [rig.window setContentView:second];
  for (int i = 0; i < 5; ++i) [second scrollWheel:WheelEvent(rig.CentreOf(knob), 1.0)];
  EXPECT_EQ(CountEvents(kAudioUnitEvent_BeginParameterChangeGesture), 1u);
  EXPECT_EQ([second paramChangeTimer], 12);
  for (int tick = 0; tick < 11; ++tick) [second onTimer:[second timer]];
  EXPECT_EQ(CountEvents(kAudioUnitEvent_EndParameterChangeGesture), 0u);
  [second onTimer:[second timer]];
  EXPECT_EQ(CountEvents(kAudioUnitEvent_EndParameterChangeGesture), 1u);

  // Closing the view in the middle of a countdown ends the gesture at once.
  [second scrollWheel:WheelEvent(rig.CentreOf(knob), 1.0)];
  [second removeFromSuperview];
  EXPECT_EQ(CountEvents(kAudioUnitEvent_EndParameterChangeGesture), 2u);
  EXPECT_FALSE(rig.editor->IsWindowOpen());
  EXPECT_EQ([second timer], nil);
  [second release];
}

TEST(MacView, ClosingTheUnitWithItsViewOpenEndsThePendingGesture)
{
  ViewRig rig;
  IControl* knob = rig.ControlFor(kFilterFreq);
  [rig.view scrollWheel:WheelEvent(rig.CentreOf(knob), 1.0)];
  ASSERT_EQ(CountEvents(kAudioUnitEvent_EndParameterChangeGesture), 0u);
  // The host closes the unit first (the rig's unit then has nothing to close).
  ASSERT_EQ(noErr, StandInCloseComponent(rig.unit.unit));
  rig.unit.unit = nullptr;
  EXPECT_EQ(CountEvents(kAudioUnitEvent_EndParameterChangeGesture), 1u);
  EXPECT_EQ([rig.view graphics], nullptr);
  EXPECT_EQ([rig.view timer], nil);
}

TEST(MacView, CoordinatesModifiersAndWheelSteps)
{
  ViewRig rig;
  KestraneAU* view = rig.view;
  const NSRect r = [view viewRectFromEditor:IRECT(10, 20, 110, 70)];
  EXPECT_EQ(r.origin.x, 10);
  EXPECT_EQ(r.origin.y, 470 - 70);
  EXPECT_EQ(r.size.width, 100);
  EXPECT_EQ(r.size.height, 50);
  const IRECT back = [view editorRectFromView:NSMakeRect(10.7, 400.2, 100.9, 50.5)];
  EXPECT_EQ(back.L, 10);
  EXPECT_EQ(back.T, 470 - 400 - 50);
  EXPECT_EQ(back.R, 110);
  EXPECT_EQ(back.B, 470 - 400);
  int x = 0, y = 0;
  [view getMouseXY:MouseEvent(NSLeftMouseDown, NSMakePoint(12.8, 458.6), 0) x:&x y:&y];
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 470 - 458);

  IControl* knob = rig.ControlFor(kFilterFreq);
  ASSERT_NE(knob, nullptr);
  const NSPoint at = rig.CentreOf(knob);
  // Control-click: a finer drag, no prompt. Command-click: the prompt.
  [view mouseDown:MouseEvent(NSLeftMouseDown, at, NSControlKeyMask)];
  [view mouseUp:MouseEvent(NSLeftMouseUp, at, NSControlKeyMask)];
  EXPECT_EQ([view paramEditView], nil);
  [view mouseDown:MouseEvent(NSLeftMouseDown, at, NSCommandKeyMask)];
  EXPECT_NE([view paramEditView], nil);
  [view rightMouseDown:MouseEvent(NSRightMouseDown, at, 0)];
  EXPECT_EQ([view paramEditView], nil);

  // Under a line is no notch; -2.7 lines are two notches down.
  const IParam* cutoff = rig.plug->Param(kFilterFreq);
  const double start = 1000;
  rig.plug->SetParameterFromEditor(kFilterFreq, cutoff->ToNormalized(start));
  rig.editor->ShowParamValue(kFilterFreq, start, false);
  [view scrollWheel:WheelEvent(at, 0.5)];
  EXPECT_EQ(cutoff->CurrentValue(), start);
  [view scrollWheel:WheelEvent(at, -2.7)];
  const double afterEvent = cutoff->CurrentValue();
  EXPECT_LT(afterEvent, start);
  rig.plug->SetParameterFromEditor(kFilterFreq, cutoff->ToNormalized(start));
  rig.editor->ShowParamValue(kFilterFreq, start, false);
  MouseMods none;
  none.mLeft = true;
  int kx = 0, ky = 0;
  [view getMouseXY:MouseEvent(NSLeftMouseDown, at, 0) x:&kx y:&ky];
  rig.editor->MouseWheel(kx, ky, &none, -2);
  EXPECT_EQ(cutoff->CurrentValue(), afterEvent);
}

TEST(MacView, ValuePromptsFramesListsReturnAndClickAway)
{
  ViewRig rig;
  KestraneAU* view = rig.view;

  // A control centred at (100, 50) in the 470-pixel-high editor.
  IControl* probe = new ProbeControl(rig.plug, IRECT(90, 40, 110, 60), kFilterFreq);
  rig.editor->AddControl(probe);
  ASSERT_TRUE(rig.editor->PromptForValue(probe, rig.plug->Param(kFilterFreq), true));
  NSRect frame = [[view paramEditView] frame];
  EXPECT_EQ(frame.origin.x, 79);
  EXPECT_EQ(frame.origin.y, 410);
  EXPECT_EQ(frame.size.width, 42);
  EXPECT_EQ(frame.size.height, 21);
  // A second request while one is open is refused.
  EXPECT_FALSE(rig.editor->PromptForValue(probe, rig.plug->Param(kFilterFreq), true));

  // Return (the end of editing in the field) applies the typed value.
  [[view paramEditView] setStringValue:@"1234"];
  [[NSNotificationCenter defaultCenter] postNotificationName:NSControlTextDidEndEditingNotification
                                                      object:[view paramEditView]];
  EXPECT_EQ([view paramEditView], nil);
  EXPECT_EQ(rig.plug->Param(kFilterFreq)->CurrentValue(), 1234);
  EXPECT_FALSE(probe->IsPromptOpen());

  // A click elsewhere discards it.
  probe->SetPromptOpen(true);
  ASSERT_TRUE(rig.editor->PromptForValue(probe, rig.plug->Param(kFilterFreq), true));
  [[view paramEditView] setStringValue:@"5000"];
  [view mouseDown:MouseEvent(NSLeftMouseDown, NSMakePoint(2, 2), 0)];
  [view mouseUp:MouseEvent(NSLeftMouseUp, NSMakePoint(2, 2), 0)];
  EXPECT_EQ([view paramEditView], nil);
  EXPECT_EQ(rig.plug->Param(kFilterFreq)->CurrentValue(), 1234);
  EXPECT_FALSE(probe->IsPromptOpen());

  // The filter type's list: 88 points wide, the current type chosen, and
  // the chosen item applied.
  IControl* type = rig.ControlFor(kFilterType);
  ASSERT_NE(type, nullptr);
  rig.plug->SetParameterFromEditor(kFilterType, rig.plug->Param(kFilterType)->ToNormalized(2));
  ASSERT_TRUE(rig.editor->PromptForValue(type, rig.plug->Param(kFilterType), true));
  NSComboBox* list = static_cast<NSComboBox*>([view paramEditView]);
  ASSERT_TRUE([list isKindOfClass:[NSComboBox class]]);
  EXPECT_EQ([list frame].size.width, 88);
  EXPECT_EQ([list frame].size.height, 26);
  EXPECT_EQ([list numberOfItems], 3);
  EXPECT_EQ([list indexOfSelectedItem], 2);
  [list selectItemAtIndex:1];
  [[NSNotificationCenter defaultCenter] postNotificationName:NSControlTextDidEndEditingNotification object:list];
  EXPECT_EQ(rig.plug->Param(kFilterType)->CurrentValue(), 1);

  // A value without a text of its own: the list opens with nothing chosen.
  IParam partlyNamed;
  partlyNamed.SetupEnum("Partly named", 2, 3);
  partlyNamed.AddDisplayText(0, "First");
  partlyNamed.AddDisplayText(1, "Second");
  ASSERT_TRUE(rig.editor->PromptForValue(probe, &partlyNamed, false));
  list = static_cast<NSComboBox*>([view paramEditView]);
  EXPECT_EQ([list indexOfSelectedItem], -1);
  EXPECT_EQ([list frame].origin.y, 470 - 60);
  [view rightMouseDown:MouseEvent(NSRightMouseDown, NSMakePoint(2, 2), 0)];
}

TEST(MacView, RemovalDetachesClosesAndLetsTheViewGo)
{
  ViewRig rig;
  KestraneAU* view = rig.view;
  IControl* knob = rig.ControlFor(kFilterFreq);
  ASSERT_TRUE(rig.editor->PromptForValue(knob, rig.plug->Param(kFilterFreq), true));
  knob->SetPromptOpen(true);

  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  [view removeFromSuperview];
  [pool release];
  EXPECT_EQ([view superview], nil);
  EXPECT_EQ([view graphics], nullptr);
  EXPECT_EQ([view timer], nil);
  EXPECT_EQ([view paramEditView], nil);
  EXPECT_FALSE(knob->IsPromptOpen());
  EXPECT_FALSE(rig.editor->IsWindowOpen());
  // Neither the timer nor the editor keeps it: only the rig's reference.
  EXPECT_EQ([view retainCount], 1u);
  // Events after the detachment reach nothing.
  [view mouseDown:MouseEvent(NSLeftMouseDown, rig.CentreOf(knob), NSCommandKeyMask)];
  EXPECT_EQ([view paramEditView], nil);
  // The editor opens again.
  EXPECT_NE(rig.editor->OpenEditorWindow(nullptr), nullptr);
  rig.editor->CloseEditorWindow();
}

TEST(MacView, ImagesComeFromTheBundleByBaseName)
{
  ViewRig rig;
  LICE_IBitmap* knob = rig.editor->LoadPlatformImage(0, "../img/knob.png");
  ASSERT_NE(knob, nullptr);
  EXPECT_GT(knob->getWidth(), 0);
  delete knob;
  EXPECT_EQ(rig.editor->LoadPlatformImage(0, "../img/not-there.png"), nullptr);
  EXPECT_EQ(rig.editor->LoadPlatformImage(0, nullptr), nullptr);
  IGraphicsMac elsewhere(nullptr, 10, 10);
  elsewhere.SetBundleIdentifier("com.example.not-loaded");
  EXPECT_EQ(elsewhere.LoadPlatformImage(0, "../img/knob.png"), nullptr);

  WDL_String folder;
  rig.editor->PluginFilePath(&folder);
  EXPECT_STREQ(folder.Get(), (std::string(KESTRANE_TEST_BUNDLE).substr(0, std::strlen(KESTRANE_TEST_BUNDLE) -
                                                                         std::strlen("Kestrane.bundle")))
                                 .c_str());
}

TEST(MacView, TheViewShowsTheEditorsPicture)
{
  ViewRig rig;
  KestraneAU* view = rig.view;
  // AppKit draws the view in its window (drawRect:), then the window's
  // pixels under the view are read back.
  [view display];
  [view lockFocus];
  NSBitmapImageRep* shown = [[[NSBitmapImageRep alloc] initWithFocusedViewRect:[view bounds]] autorelease];
  [view unlockFocus];
  ASSERT_NE(shown, nil);
  LICE_IBitmap* picture = rig.editor->BackBufferBitmap();
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ([shown pixelsWide], picture->getWidth());
  ASSERT_EQ([shown pixelsHigh], picture->getHeight());
  int differing = 0;
  for (int y = 0; y < picture->getHeight(); ++y)
    for (int x = 0; x < picture->getWidth(); ++x)
    {
      NSUInteger rgba[4] = {};
      [shown getPixel:rgba atX:x y:y];
      const LICE_pixel p = picture->getBits()[y * picture->getRowSpan() + x];
      if (rgba[0] != LICE_GETR(p) || rgba[1] != LICE_GETG(p) || rgba[2] != LICE_GETB(p)) ++differing;
    }
  EXPECT_EQ(differing, 0);

  // And that picture is the one the headless host renders (the golden image
  // of the editor's default state): the images came from the bundle.
  LICE_IBitmap* golden = LICE_LoadPNG(KESTRANE_GOLDEN_DEFAULT);
  ASSERT_NE(golden, nullptr);
  ASSERT_EQ(golden->getWidth(), picture->getWidth());
  int goldenDiffering = 0;
  for (int y = 0; y < picture->getHeight(); ++y)
    for (int x = 0; x < picture->getWidth(); ++x)
    {
      const LICE_pixel a = picture->getBits()[y * picture->getRowSpan() + x];
      const LICE_pixel b = golden->getBits()[y * golden->getRowSpan() + x];
      if (LICE_GETR(a) != LICE_GETR(b) || LICE_GETG(a) != LICE_GETG(b) || LICE_GETB(a) != LICE_GETB(b))
        ++goldenDiffering;
    }
  EXPECT_EQ(goldenDiffering, 0);
  delete golden;
}

TEST(MacView, WebAddressesAreTheOnesWithASchemeNotEveryTextWithHttp)
{
  EXPECT_TRUE(IsWebAddress("https://www.olvendu.com/kestrane"));
  EXPECT_TRUE(IsWebAddress("mailto:help@olvendu.com"));
  EXPECT_FALSE(IsWebAddress("/Users/me/httpdocs/manual.html"));
  EXPECT_FALSE(IsWebAddress("manual-http.html"));
  EXPECT_FALSE(IsWebAddress(""));
  EXPECT_FALSE(IsWebAddress(nullptr));
}

int main(int argc, char** argv)
{
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  [NSApplication sharedApplication];
  // The plug-in's bundle, loaded as a host has it before asking for a view.
  if (![NSBundle bundleWithPath:@KESTRANE_TEST_BUNDLE]) return 2;
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  [pool release];
  return result;
}
