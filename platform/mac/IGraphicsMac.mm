#include "platform/mac/IGraphicsMac.h"

#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "platform/mac/EditorCallGuard.h"
#include "platform/mac/KestraneAU.h"
#include "platform/mac/KestraneViewFactory.h"
#include "platform/mac/WebAddress.h"
#include "raster/LICE_IBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_Pixel.h"

namespace
{
KestraneAU* ViewOf(void* view)
{
  return static_cast<KestraneAU*>(view);
}

// The context drawRect: draws into.
CGContextRef CurrentDrawingContext()
{
#if defined(GNUSTEP)
  return KestraneStandInCurrentContext();
#else
  return [[NSGraphicsContext currentContext] CGContext];
#endif
}

// How the picture's 32-bit pixels lie in memory for Core Graphics: bytes
// A, R, G, B where the raster layer packs for Core Graphics, else B, G, R, A
// (little-endian words); the alpha byte is not shown either way.
uint32_t PictureBitmapInfo()
{
  return kCGImageAlphaNoneSkipFirst | (LICE_PIXEL_A_SHIFT == 0 ? kCGBitmapByteOrderDefault : kCGBitmapByteOrder32Little);
}

NSString* StringFrom(const char* text)
{
  return [NSString stringWithUTF8String:text ? text : ""];
}

// The bundle the editor's images and paths come from; nil when it is not
// loaded in this process.
NSBundle* PluginBundle(const char* identifier)
{
  if (!identifier || !*identifier) return nil;
  return [NSBundle bundleWithIdentifier:StringFrom(identifier)];
}

LICE_IBitmap* LoadPng(const char* path)
{
  LICE_IBitmap* bitmap = nullptr;
  GuardedEditorCall([&] { bitmap = LICE_LoadPNG(path); });
  return bitmap;
}
} // namespace

IGraphicsMac::IGraphicsMac(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps)
{
  NSApplicationLoad();
  // Hosts find the factory by name only; naming it here keeps the linker
  // from leaving it out of the plug-in.
  [CLS_KESTRANE_View class];
}

IGraphicsMac::~IGraphicsMac()
{
  // The plug-in base deletes its editor from its own destructor, when the
  // wrapper that would carry a gesture's end to the host is already gone:
  // the view goes without one (the wrapper closes an open view, ending the
  // gesture, before it deletes the plug-in).
  CloseView(false);
}

bool IGraphicsMac::PresentRect(IRECT*)
{
  LICE_IBitmap* picture = BackBufferBitmap();
  if (!mView || !picture || !picture->getBits()) return false;
  CGContextRef port = CurrentDrawingContext();
  if (!port) return false;
  // A bitmap context over exactly the visible picture: the surface may be
  // larger than the editor (a smaller size reuses it), and an image of the
  // whole surface would be drawn squeezed.
  const int w = picture->getWidth(), h = picture->getHeight();
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef bitmap = CGBitmapContextCreate(picture->getBits(), static_cast<size_t>(w), static_cast<size_t>(h), 8,
                                              static_cast<size_t>(picture->getRowSpan()) * 4, space,
                                              PictureBitmapInfo());
  CGColorSpaceRelease(space);
  if (!bitmap) return false;
  CGImageRef image = CGBitmapContextCreateImage(bitmap);
  CGContextRelease(bitmap);
  if (!image) return false;
  CGContextDrawImage(port, CGRectMake(0, 0, w, mEditorHeight), image);
  CGImageRelease(image);
  return true;
}

void IGraphicsMac::ResizeEditor(int w, int h)
{
  IGraphics::ResizeEditor(w, h);
  if (mView) [ViewOf(mView) setFrameSize:NSMakeSize(w, h)];
}

bool IGraphicsMac::PromptForValue(IControl* control, IParam* param, bool center)
{
  if (!mView || !control || !param || [ViewOf(mView) paramEditView]) return false;
  [ViewOf(mView) promptUserInput:control param:param center:center ? YES : NO];
  return [ViewOf(mView) paramEditView] != nil;
}

void IGraphicsMac::PromptForValue(IEditableTextControl* control)
{
  if (mView) [ViewOf(mView) promptUserInput:control];
}

void IGraphicsMac::HostAppPath(WDL_String* path)
{
  if (!path) return;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  NSString* executable = [PluginBundle(mBundleIdentifier.Get()) executablePath];
  if (executable) path->Set([executable UTF8String]);
  [pool release];
}

void IGraphicsMac::PluginFilePath(WDL_String* path)
{
  if (!path) return;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  NSString* folder = [[PluginBundle(mBundleIdentifier.Get()) bundlePath] stringByDeletingLastPathComponent];
  if (folder)
  {
    path->Set([folder UTF8String]);
    path->Append("/");
  }
  [pool release];
}

void IGraphicsMac::AskForFile(WDL_String* file, int action, const char* dir, const char* extensions)
{
  if (!file) return;
  if (!mView)
  {
    file->Set("");
    return;
  }
  if (action != 0 && action != 1) return;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  NSSavePanel* panel = nil;
  if (action == 0)
  {
    NSOpenPanel* open = [NSOpenPanel openPanel];
    [open setCanChooseFiles:YES];
    [open setCanChooseDirectories:NO];
    [open setResolvesAliases:YES];
    panel = open;
  }
  else
  {
    panel = [NSSavePanel savePanel];
  }
  if (extensions && *extensions)
  {
    [panel setAllowedFileTypes:[StringFrom(extensions) componentsSeparatedByString:@" "]];
    [panel setAllowsOtherFileTypes:NO];
  }
  if (dir && *dir) [panel setDirectoryURL:[NSURL fileURLWithPath:StringFrom(dir)]];
  if (file->GetLength() > 0) [panel setNameFieldStringValue:StringFrom(file->Get())];
  const char* chosen = nullptr;
  if ([panel runModal] == NSModalResponseOK) chosen = [[[panel URL] path] UTF8String];
  file->Set(chosen ? chosen : "");
  [pool release];
}

bool IGraphicsMac::OpenWebPage(const char* url, const char*, const char*, const char*)
{
  if (!url) return true;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  NSURL* address = IsWebAddress(url) ? [NSURL URLWithString:StringFrom(url)] : [NSURL fileURLWithPath:StringFrom(url)];
  const bool opened = address ? [[NSWorkspace sharedWorkspace] openURL:address] : true;
  [pool release];
  return opened;
}

void IGraphicsMac::StartParamChangeTimer(int ticks)
{
  if (mView) [ViewOf(mView) setParamChangeTimer:ticks];
}

void IGraphicsMac::StopParamChangeTimer()
{
  if (mView) [ViewOf(mView) cancelParamChangeTimer];
}

void* IGraphicsMac::OpenEditorWindow(void* parent)
{
  CloseEditorWindow();
  KestraneAU* view = [[KestraneAU alloc] initWithIGraphics:this];
  if (!view) return nullptr;
  mView = view;
  if (parent) [static_cast<NSView*>(parent) addSubview:view];
  RefreshTooltips();
  return mView;
}

void IGraphicsMac::CloseEditorWindow()
{
  CloseView(true);
}

void IGraphicsMac::CloseView(bool endGesture)
{
  if (!mView) return;
  KestraneAU* view = ViewOf(mView);
  [view removeAllToolTips];
  IPlugBase* plug = mPlug;
  if (endGesture && plug) GuardedEditorCall([&] { plug->FlushPendingEdit(); });
  [view killTimer];
  mView = nullptr;
  if ([view graphics] == this)
  {
    [view detachGraphics];
    [view removeFromSuperview];
  }
  [view release];
}

void IGraphicsMac::RefreshTooltips()
{
  if (!mView) return;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  KestraneAU* view = ViewOf(mView);
  [view removeAllToolTips];
  if (TooltipsOn())
  {
    for (int i = 0; i < NControls(); ++i)
    {
      IControl* control = GetControl(i);
      const char* tip = control->TipText();
      if (!tip || !*tip || control->IsHidden() || control->HitArea().Empty()) continue;
      [view registerToolTip:i rect:control->HitArea()];
    }
  }
  [pool release];
}

LICE_IBitmap* IGraphicsMac::LoadPlatformImage(int, const char* name)
{
  if (!name) return nullptr;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  LICE_IBitmap* bitmap = nullptr;
  NSBundle* bundle = PluginBundle(mBundleIdentifier.Get());
  NSString* resource = [[StringFrom(name) lastPathComponent] stringByDeletingPathExtension];
  NSString* path = [resource length] > 0 ? [bundle pathForResource:resource ofType:@"png"] : nil;
  if (bundle && path && [path length] > 0) bitmap = LoadPng([path fileSystemRepresentation]);
  [pool release];
  return bitmap;
}
