#pragma once

// The editor's Cocoa view. It owns the redraw timer, turns AppKit's mouse
// events into editor calls, hosts the one native field or list used to type
// a parameter value, and answers tool-tip requests. Everything runs on the
// main thread; every event method does nothing once the view is detached
// from its editor (mGraphics null).
#include "core/IRECT.h"
#include "platform/mac/MacAppKit.h"

#include <cstdint>

class IControl;
class IEditableTextControl;
class IGraphicsMac;
class IParam;

@interface KestraneAU : NSView <NSTextFieldDelegate, NSComboBoxDelegate, NSViewToolTipOwner>
{
  IGraphicsMac* mGraphics;    // null once detached
  NSTimer* mTimer;            // the repeating redraw timer; it retains the view until killTimer
  NSTextField* mParamEditView; // the open field (or NSSecureTextField, NSComboBox); retained
  IControl* mEdControl;       // whose value is being typed
  IParam* mEdParam;           // its parameter; null for an editable text control
  int32_t mParamChangeTimer;  // ticks before a pending wheel gesture ends; 0 when none
}

- (id)init;
// The editor's view, of the editor's size, with its timer running.
- (id)initWithIGraphics:(IGraphicsMac*)graphics;

- (void)onTimer:(NSTimer*)timer;
- (void)getMouseXY:(NSEvent*)event x:(int*)x y:(int*)y;
- (void)registerToolTip:(int)controlIdx rect:(IRECT)rect;
- (void)promptUserInput:(IEditableTextControl*)control;
- (void)promptUserInput:(IControl*)control param:(IParam*)param center:(BOOL)center;
- (void)setParamChangeTimer:(int)ticks;
- (void)cancelParamChangeTimer;
- (void)killTimer;
// Detaches the view from its editor and closes the editor's side; the view
// leaves its superview.
- (void)removeFromSuperview;

// ---- For the editor (and tests) ----
- (IGraphicsMac*)graphics;
// Forgets the editor without telling it (the editor is closing the view).
- (void)detachGraphics;
- (NSTimer*)timer;
- (NSTextField*)paramEditView;
- (int)paramChangeTimer;
// Editor rectangles (pixels, y down) and view rectangles (points, y up).
- (NSRect)viewRectFromEditor:(IRECT)rect;
- (IRECT)editorRectFromView:(NSRect)rect;
@end
