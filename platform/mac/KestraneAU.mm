#include "platform/mac/KestraneAU.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/IParam.h"
#include "core/IPlugBase.h"
#include "editor/IControl.h"
#include "editor/IEditableTextControl.h"
#include "editor/MouseMods.h"
#include "platform/mac/EditorCallGuard.h"
#include "platform/mac/IGraphicsMac.h"

namespace
{
// Left-button events, movement and the wheel: Command makes the press act
// as a right click (the controls' value prompt).
MouseMods LeftButtonMods(NSEvent* event)
{
  const NSUInteger flags = [event modifierFlags];
  MouseMods mods;
  mods.mLeft = true;
  mods.mRight = (flags & NSEventModifierFlagCommand) != 0;
  mods.mShift = (flags & NSEventModifierFlagShift) != 0;
  mods.mCtrl = (flags & NSEventModifierFlagControl) != 0;
  mods.mAlt = (flags & NSEventModifierFlagOption) != 0;
  return mods;
}

MouseMods RightButtonMods(NSEvent* event)
{
  const NSUInteger flags = [event modifierFlags];
  MouseMods mods;
  mods.mLeft = false;
  mods.mRight = true;
  mods.mShift = (flags & NSEventModifierFlagShift) != 0;
  mods.mCtrl = (flags & NSEventModifierFlagControl) != 0;
  mods.mAlt = (flags & NSEventModifierFlagOption) != 0;
  return mods;
}

NSTextAlignment AlignmentOf(int align)
{
  switch (align)
  {
  case IText::kAlignCenter: return NSTextAlignmentCenter;
  case IText::kAlignFar: return NSTextAlignmentRight;
  default: return NSTextAlignmentLeft;
  }
}

// A font by name; the system font of that size when the name is unknown
// here, so the field never falls back to an arbitrary size.
NSFont* FontNamed(const char* name, CGFloat size)
{
  NSFont* font = [NSFont fontWithName:[NSString stringWithUTF8String:name ? name : ""] size:size];
  return font ? font : [NSFont systemFontOfSize:size];
}

NSString* StringFrom(const char* text)
{
  NSString* string = [NSString stringWithUTF8String:text ? text : ""];
  return string ? string : @"";
}
} // namespace

@implementation KestraneAU

- (id)init
{
  self = [super init];
  if (self)
  {
    mGraphics = nullptr;
    mTimer = nil;
    mParamEditView = nil;
    mEdControl = nullptr;
    mEdParam = nullptr;
    mParamChangeTimer = 0;
  }
  return self;
}

- (id)initWithIGraphics:(IGraphicsMac*)graphics
{
  mGraphics = graphics;
  self = [super initWithFrame:NSMakeRect(0, 0, graphics->Width(), graphics->Height())];
  if (self)
  {
    mGraphics = graphics;
    mParamEditView = nil;
    mEdControl = nullptr;
    mEdParam = nullptr;
    mParamChangeTimer = 0;
    // Every common mode, so the editor keeps drawing while a menu is tracked
    // or a modal panel runs. The timer retains the view until killTimer.
    mTimer = [NSTimer timerWithTimeInterval:1.0 / graphics->FrameRate()
                                     target:self
                                   selector:@selector(onTimer:)
                                   userInfo:nil
                                    repeats:YES];
    [[NSRunLoop currentRunLoop] addTimer:mTimer forMode:(NSString*)kCFRunLoopCommonModes];
  }
  return self;
}

- (BOOL)isOpaque
{
  return mGraphics ? YES : NO;
}

- (BOOL)acceptsFirstResponder
{
  return YES;
}

- (BOOL)acceptsFirstMouse:(NSEvent*)event
{
  (void)event;
  return YES;
}

- (void)viewDidMoveToWindow
{
  NSWindow* window = [self window];
  if (!window) return;
  [window makeFirstResponder:self];
  [window setAcceptsMouseMovedEvents:YES];
}

- (void)drawRect:(NSRect)rect
{
  if (!mGraphics) return;
  IRECT r = [self editorRectFromView:rect];
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->Paint(&r); });
}

- (void)onTimer:(NSTimer*)timer
{
  if (timer != mTimer || !mGraphics) return;
  IGraphicsMac* graphics = mGraphics;
  IRECT dirty;
  bool needsRedraw = false;
  GuardedEditorCall([&] { needsRedraw = graphics->NeedsRedraw(&dirty); });
  if (needsRedraw) [self setNeedsDisplayInRect:[self viewRectFromEditor:dirty]];
  if (mParamChangeTimer != 0 && --mParamChangeTimer == 0)
  {
    IPlugBase* plug = graphics->Plug();
    if (plug) GuardedEditorCall([&] { plug->FlushPendingEdit(); });
  }
}

// ---- Mouse ----

- (void)getMouseXY:(NSEvent*)event x:(int*)x y:(int*)y
{
  const NSPoint p = [self convertPoint:[event locationInWindow] fromView:nil];
  const int h = mGraphics ? mGraphics->Height() : static_cast<int>([self frame].size.height);
  *x = static_cast<int>(p.x);
  *y = h - static_cast<int>(p.y);
}

- (void)mouseDown:(NSEvent*)event
{
  if (!mGraphics) return;
  [self closeTextEntry];
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = LeftButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  if ([event clickCount] >= 2)
    GuardedEditorCall([&] { graphics->MouseDoubleClick(x, y, &mods); });
  else
    GuardedEditorCall([&] { graphics->MouseDown(x, y, &mods); });
}

- (void)mouseUp:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = LeftButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseUp(x, y, &mods); });
}

- (void)mouseDragged:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = LeftButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseDrag(x, y, &mods); });
}

- (void)rightMouseDown:(NSEvent*)event
{
  if (!mGraphics) return;
  if (mParamEditView)
  {
    [self closeTextEntry];
    return;
  }
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = RightButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseDown(x, y, &mods); });
}

- (void)rightMouseUp:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = RightButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseUp(x, y, &mods); });
}

- (void)rightMouseDragged:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = RightButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseDrag(x, y, &mods); });
}

- (void)mouseMoved:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = LeftButtonMods(event);
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseOver(x, y, &mods); });
}

- (void)scrollWheel:(NSEvent*)event
{
  if (!mGraphics) return;
  int x = 0, y = 0;
  [self getMouseXY:event x:&x y:&y];
  MouseMods mods = LeftButtonMods(event);
  // Whole notches only, toward zero: a trackpad's fraction of a line is 0.
  const double delta = std::trunc(static_cast<double>([event deltaY]));
  const int d = static_cast<int>(std::max(-1000.0, std::min(1000.0, delta)));
  IGraphicsMac* graphics = mGraphics;
  GuardedEditorCall([&] { graphics->MouseWheel(x, y, &mods, d); });
}

// ---- Tool tips ----

- (void)registerToolTip:(int)controlIdx rect:(IRECT)rect
{
  [self addToolTipRect:[self viewRectFromEditor:rect] owner:self userData:reinterpret_cast<void*>(static_cast<intptr_t>(controlIdx))];
}

- (NSString*)view:(NSView*)view stringForToolTip:(NSToolTipTag)tag point:(NSPoint)point userData:(void*)data
{
  (void)view, (void)tag, (void)point;
  IControl* control = mGraphics ? mGraphics->GetControl(static_cast<int>(reinterpret_cast<intptr_t>(data))) : nullptr;
  const char* tip = control ? control->TipText() : nullptr;
  if (!tip || !*tip || control->IsHidden() || control->IsDimmed()) return @"";
  return StringFrom(tip);
}

// ---- Text entry ----

- (void)openTextEntry:(NSTextField*)field control:(IControl*)control param:(IParam*)param
{
  [field setDelegate:self];
  [self addSubview:field];
  mParamEditView = field;
  mEdControl = control;
  mEdParam = param;
  NSWindow* window = [self window];
  [window makeKeyAndOrderFront:nil];
  [window makeFirstResponder:field];
}

- (void)promptUserInput:(IEditableTextControl*)control
{
  if (!mGraphics || !control || mParamEditView) return;
  const IRECT& area = control->Area();
  const CGFloat h = mGraphics->Height();
  const NSRect frame = NSMakeRect(area.L, h - 3 - area.B, area.W(), area.H() + 6);
  NSTextField* field = control->IsPassword() ? [[NSSecureTextField alloc] initWithFrame:frame]
                                             : [[NSTextField alloc] initWithFrame:frame];
  if (!control->IsEditable())
  {
    [field setEditable:NO];
    [field setSelectable:YES];
  }
  const IText* style = control->TextStyle();
  [field setFont:FontNamed(style->mFont, std::trunc(style->mSize * 0.75))];
  [field setAlignment:AlignmentOf(style->mAlign)];
  [[field cell] setLineBreakMode:NSLineBreakByTruncatingTail];
  [field setStringValue:StringFrom(control->Text())];
  [self openTextEntry:field control:control param:nullptr];
}

- (void)promptUserInput:(IControl*)control param:(IParam*)param center:(BOOL)center
{
  if (!mGraphics || !control || !param || mParamEditView) return;
  const IRECT& area = control->Area();
  const int h = mGraphics->Height();
  const int cx = static_cast<int>(static_cast<float>(area.L + area.R) * 0.5f);
  const int cy = static_cast<int>(static_cast<float>(area.T + area.B) * 0.5f);
  char current[IParam::kDisplaySize] = {};
  param->FormatValue(param->CurrentValue(), false, current);

  NSTextField* field = nil;
  const int texts = param->DisplayTextCount();
  if (texts > 0 && (param->Kind() == IParam::kTypeBool || param->Kind() == IParam::kTypeEnum))
  {
    int w = 24, selected = -1;
    for (int i = 0; i < texts; ++i)
    {
      const char* text = param->DisplayTextFor(i);
      w = std::max(w, static_cast<int>(std::strlen(text)) * 8 + 24);
      if (std::strcmp(text, current) == 0) selected = i;
    }
    const NSRect frame = center ? NSMakeRect(cx - w / 2, h - (cy + 26), w, 26) : [self viewRectFromEditor:area];
    NSComboBox* list = [[NSComboBox alloc] initWithFrame:frame];
    [list setFont:FontNamed("Arial", 11.0)];
    [list setNumberOfVisibleItems:texts];
    for (int i = 0; i < texts; ++i) [list addItemWithObjectValue:StringFrom(param->DisplayTextFor(i))];
    // A value without a text of its own leaves the list without a choice.
    if (selected >= 0) [list selectItemAtIndex:selected];
    field = list;
  }
  else
  {
    const NSRect frame = center ? NSMakeRect(cx - 21, h - (cy + 10), 42, 21) : [self viewRectFromEditor:area];
    field = [[NSTextField alloc] initWithFrame:frame];
    [field setFont:FontNamed("Arial", 11.0)];
    [field setAlignment:center ? NSTextAlignmentCenter : NSTextAlignmentLeft];
    [[field cell] setLineBreakMode:NSLineBreakByTruncatingTail];
    [field setStringValue:StringFrom(current)];
  }
  [self openTextEntry:field control:control param:param];
}

// Takes the field down without reading it; the control's prompt ends.
- (void)closeTextEntry
{
  if (!mParamEditView) return;
  NSTextField* field = mParamEditView;
  IControl* control = mEdControl;
  mParamEditView = nil;
  mEdControl = nullptr;
  mEdParam = nullptr;
  // No end-of-editing message may arrive for a field on its way out.
  [field setDelegate:nil];
  [field removeFromSuperview];
  [field release];
  if (control) GuardedEditorCall([&] { control->PromptClosed(); });
}

- (void)controlTextDidEndEditing:(NSNotification*)notification
{
  NSTextField* field = mParamEditView;
  if (!field || [notification object] != field) return;
  IControl* control = mEdControl;
  IParam* param = mEdParam;
  IGraphicsMac* graphics = mGraphics;
  const char* typed = [[field stringValue] UTF8String];
  if (!typed) typed = "";
  NSInteger chosen = -1;
  if (param && [field respondsToSelector:@selector(indexOfSelectedItem)])
    chosen = [static_cast<NSComboBox*>(field) indexOfSelectedItem];
  if (graphics && control)
  {
    if (chosen >= 0)
    {
      // A list's values are 0, 1, 2, …: the index is the value. One edit
      // gesture, as for a typed value.
      const int paramIdx = control->ParamIdx();
      IPlugBase* plug = graphics->Plug();
      const double normalized = param->ToNormalized(static_cast<double>(chosen));
      GuardedEditorCall([&] {
        if (plug && paramIdx >= 0) plug->BeginHostEdit(paramIdx);
        control->SetValueFromUser(normalized);
        if (plug && paramIdx >= 0) plug->EndHostEdit(paramIdx);
      });
    }
    else
    {
      GuardedEditorCall([&] { graphics->ApplyPromptText(control, param, typed); });
    }
  }
  [self closeTextEntry];
  [self viewDidMoveToWindow];
  [self setNeedsDisplay:YES];
}

// ---- Wheel-gesture countdown and the timer ----

- (void)setParamChangeTimer:(int)ticks
{
  mParamChangeTimer = ticks;
}

- (void)cancelParamChangeTimer
{
  mParamChangeTimer = 0;
}

- (void)killTimer
{
  // Invalidating also takes the timer off the run loop and lets go of the
  // view it retained.
  [mTimer invalidate];
  mTimer = nil;
}

- (void)removeFromSuperview
{
  // Not in a view yet: nothing is taken down. (GNUstep's addSubview: sends
  // this to every view it adds.)
  if (![self superview]) return;
  [self closeTextEntry];
  if (mGraphics)
  {
    IGraphicsMac* graphics = mGraphics;
    mGraphics = nullptr;
    // Retained across the close: the editor lets go of its reference there.
    [self retain];
    graphics->CloseEditorWindow();
    [super removeFromSuperview];
    [self release];
    return;
  }
  [super removeFromSuperview];
}

- (void)dealloc
{
  [self closeTextEntry];
  [self killTimer];
  [super dealloc];
}

// ---- For the editor ----

- (IGraphicsMac*)graphics
{
  return mGraphics;
}

- (void)detachGraphics
{
  [self closeTextEntry];
  mGraphics = nullptr;
}

- (NSTimer*)timer
{
  return mTimer;
}

- (NSTextField*)paramEditView
{
  return mParamEditView;
}

- (int)paramChangeTimer
{
  return mParamChangeTimer;
}

- (NSRect)viewRectFromEditor:(IRECT)rect
{
  const int h = mGraphics ? mGraphics->Height() : static_cast<int>([self frame].size.height);
  return NSMakeRect(rect.L, h - rect.B, rect.W(), rect.H());
}

- (IRECT)editorRectFromView:(NSRect)rect
{
  const int h = mGraphics ? mGraphics->Height() : static_cast<int>([self frame].size.height);
  const int x = static_cast<int>(rect.origin.x), y = static_cast<int>(rect.origin.y);
  const int w = static_cast<int>(rect.size.width), ht = static_cast<int>(rect.size.height);
  return IRECT(x, h - y - ht, x + w, h - y);
}

@end
