#pragma once
// The headless control model of the class library: TControl (bounds, Align,
// visibility, font, colour, cursor, text, mouse input), TWinControl (a
// window: children, "window exists" state with its creation parameters,
// focus, keyboard input, the update region, scroll bars) and TCustomControl
// (a window that paints itself on its canvas).
//
// Window messages reach a control through Perform -> WndProc, as on the
// system; the default handling turns them into the virtual input methods
// (KeyDown, MouseDown, ...) that derived controls override. Tests and the
// Qt backend deliver input the same way. Invalidation is recorded in an
// update region that Update paints and that tests read.
//
// A control on the screen has a peer (TControlPeer): the backend's object
// that shows it. The model owns all behaviour; the peer is told which
// property changed and reads the new state, and what the user does reaches
// the model through the same calls a test makes. A registered peer factory
// makes the peers: a window's with its window, a control without a window
// of its own when its parent's window exists. Without a factory the model
// runs alone.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Actions.h"
#include "platform/Canvas.h"
#include "platform/Components.h"
#include "platform/Graphics.h"
#include "platform/Keyboard.h"
#include "platform/Menus.h"
#include "platform/Mouse.h"
#include "platform/ScrollBars.h"
#include "platform/Sets.h"

namespace vk {

// ---------------------------------------------------------------- messages

struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_SETFOCUS = 0x0007;    // WParam: the control that lost the focus
constexpr uint32_t WM_KILLFOCUS = 0x0008;   // WParam: the control that gets the focus
constexpr uint32_t WM_SETTEXT = 0x000C;     // LParam: const char*
constexpr uint32_t WM_GETTEXT = 0x000D;     // WParam: buffer size, LParam: char*
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_ERASEBKGND = 0x0014;  // result 1: the background counts as erased
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_SETCURSOR = 0x0020;   // LParam low word: hit-test code
constexpr uint32_t WM_NEXTDLGCTL = 0x0028;  // LParam 0: WParam 0 next, 1 previous in tab order
constexpr uint32_t WM_CONTEXTMENU = 0x007B; // LParam: screen x | y << 16 (-1, -1: from the keyboard)
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t WM_KEYDOWN = 0x0100;     // WParam: virtual key, LParam: key data
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;        // WParam: character code
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
constexpr uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
constexpr uint32_t WM_IME_COMPOSITION = 0x010F;  // LParam: GCS_ flags
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_HSCROLL = 0x0114;     // WParam: code | position << 16
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;   // WParam: MK_ flags, LParam: x | y << 16 (client)
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;  // WParam: MK_ flags | delta << 16, LParam: screen x | y << 16
constexpr uint32_t WM_CAPTURECHANGED = 0x0215;  // LParam: the control that takes the capture
constexpr uint32_t WM_DROPFILES = 0x0233;   // WParam: HDROP
constexpr uint32_t WM_IME_NOTIFY = 0x0282;  // WParam: IMN_ code
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;
constexpr uint32_t WM_CLEAR = 0x0303;
constexpr uint32_t WM_UNDO = 0x0304;
constexpr uint32_t WM_USER = 0x0400;
// The class library's own messages.
constexpr uint32_t CM_BASE = 0xB000;
constexpr uint32_t CM_DIALOGKEY = CM_BASE + 5;  // WParam: key, LParam: key data; result 1: taken
constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 6;  // an Alt chord: WParam: key, LParam: key data; result 1: taken
constexpr uint32_t CM_RELEASE = CM_BASE + 33;   // a released form frees itself

// MK_ flags of mouse messages.
constexpr uintptr_t MK_LBUTTON = 0x01;
constexpr uintptr_t MK_RBUTTON = 0x02;
constexpr uintptr_t MK_SHIFT = 0x04;
constexpr uintptr_t MK_CONTROL = 0x08;
constexpr uintptr_t MK_MBUTTON = 0x10;

constexpr int WHEEL_DELTA = 120;
constexpr int HTCLIENT = 1;

// WM_GETDLGCODE answers.
constexpr intptr_t DLGC_WANTARROWS = 0x01;
constexpr intptr_t DLGC_WANTTAB = 0x02;
constexpr intptr_t DLGC_WANTALLKEYS = 0x04;
constexpr intptr_t DLGC_DEFPUSHBUTTON = 0x10;
constexpr intptr_t DLGC_UNDEFPUSHBUTTON = 0x20;
constexpr intptr_t DLGC_WANTCHARS = 0x80;

// Answers WM_GETTEXT and WM_GETTEXTLENGTH with the text; false for any
// other message.
bool AnswerTextMessage(TMessage& message, const std::string& text);

// The text a message carries in LParam (WM_SETTEXT, EM_REPLACESEL); "" when
// it carries none.
inline const char* MessageText(const TMessage& message) {
  return message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
}

// Packing of message parameters.
constexpr intptr_t MakeLParam(int low, int high) {
  return static_cast<intptr_t>(static_cast<uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
constexpr uint16_t LoWord(uintptr_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
constexpr uint16_t HiWord(uintptr_t value) { return static_cast<uint16_t>((value >> 16) & 0xFFFF); }
// The signed 16-bit halves, as coordinates and wheel deltas are packed.
constexpr int SmallLo(uintptr_t value) { return static_cast<int16_t>(LoWord(value)); }
constexpr int SmallHi(uintptr_t value) { return static_cast<int16_t>(HiWord(value)); }

// ---------------------------------------------------------------- window creation

using HWND = uint32_t;

// Window styles that mean something here.
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_HSCROLL = 0x00100000;  // the horizontal bar starts visible
constexpr uint32_t WS_VSCROLL = 0x00200000;  // the vertical bar starts visible
constexpr uint32_t WS_BORDER = 0x00800000;   // a 1-pixel frame outside the client area
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_EX_ACCEPTFILES = 0x00000010;  // set by DragAcceptFiles
constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;   // a 2-pixel sunken edge outside the client area
// Window class styles.
constexpr uint32_t CS_VREDRAW = 0x0001;  // a height change repaints the whole window
constexpr uint32_t CS_HREDRAW = 0x0002;  // a width change repaints the whole window
constexpr uint32_t CS_DBLCLKS = 0x0008;

// The system always offers the new-style (3D) controls here.
constexpr bool NewStyleControls = true;

struct TWindowClass {
  uint32_t style = 0;
};

struct TCreateParams {
  std::string Caption;
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  TWindowClass WindowClass;
};

// ---------------------------------------------------------------- control vocabulary

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
// The parent's edges a control keeps its distance to when the parent's
// client area changes size: right (or bottom) alone moves it along, both
// edges stretch it.
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TBorderStyle : uint8_t { bsNone, bsSingle };

enum TControlStyleItem : uint8_t {
  csAcceptsControls,
  csCaptureMouse,   // a button press captures the mouse until its release
  csClickEvents,    // a left press and release inside the control is a Click
  csSetCaption,
  csOpaque,         // the control paints all of its area: invalidation asks for no erase
  csDoubleClicks,   // double clicks arrive as DblClick (else as plain presses)
  csFixedWidth,
  csFixedHeight,
  csNoStdEvents,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem : uint8_t {
  csLButtonDown,
  csClicked,
  csFocusing,
  csCreating,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
};
using TControlState = TSet<TControlStateItem>;

using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// Control drag and drop: how the pointer relates to a control it drags over.
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    TDelegate<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TDelegate<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target is the control the drag was dropped on, null when it was cancelled.
using TEndDragEvent = TDelegate<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Raised by an operation the control's state does not allow.
class EInvalidOperation : public Exception {
  using Exception::Exception;
};

class TControl;

// A control's link to its action: it follows the action's caption,
// enabled state, hint and visibility. Kinds that show more of the action
// (a tool button's check and image) extend it.
class TControlActionLink : public TActionLink {
public:
  explicit TControlActionLink(TControl& client) : FClient(client) {}
  void SetCaption(const std::string& value) override;
  void SetEnabled(bool value) override;
  void SetHint(const std::string& value) override;
  void SetVisible(bool value) override;

protected:
  TControl& FClient;
};

class TWinControl;
class TControlPeer;
class TPeerFactory;
struct TInputContext;

// What of a control its peer shows changed (see TControlPeer).
enum TPeerProperty : uint8_t {
  ppBounds,       // Left, Top, Width, Height and so the client area
  ppVisible,
  ppEnabled,
  ppText,         // Text, which is the caption
  ppFont,
  ppColor,
  ppHint,
  ppFocus,        // the control got or lost the keyboard focus
  ppFrame,        // a window was created or destroyed, or its frame changed
  ppScrollBars,
  ppChecked,      // a checked or pressed state
  ppStyle,        // the look: bevels, shapes, button styles
  ppImages,       // an image list or an image index
  ppPanels,       // a status bar's panels
  ppPages,        // a page control's pages: their order, captions and tabs
  ppActivePage,
  ppMenu,         // a form's menu bar: items, their states, a merged menu
  ppWindowState,
  ppMDIClient,    // the area an MDI parent leaves to its children
  ppActivated,    // a form (an MDI child) came to the front
  // Standard controls and views.
  ppItems,        // the items of a list, the lines of a memo, the nodes or items of a view
  ppItemIndex,    // the selected item of a list
  ppSelection,    // an edit's selection or caret, a view's selected node or item
  ppExpanded,     // a tree node opened or closed
  ppColumns,      // a list view's columns
  ppPicture,      // an image's picture
};

// ---------------------------------------------------------------- TControl

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return FParent; }
  // Moves the control to another parent (nullptr: none); the old parent
  // realigns, the new one takes the control last and realigns. Its window
  // goes with the old parent's.
  virtual void SetParent(TWinControl* parent);

  // Bounds in the parent's client coordinates (screen coordinates without
  // a parent).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  // Negative sizes become 0. A change realigns the parent (and the control's
  // own children); a window that exists gets WM_SIZE when its size changed.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

  // The client area in client coordinates: (0, 0, Width, Height) here; a
  // window leaves out its frame and visible scroll bars.
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(const TPoint& point) const;
  TPoint ScreenToClient(const TPoint& point) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);
  // Followed by a control without Align when its parent's client area
  // changes size.
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors value) { FAnchors = value; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // The control's own font; with ParentFont it follows the parent's font.
  // Changing it (or assigning another) turns ParentFont off.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& value) { FFont.Assign(value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  TColor Color() const { return FColor; }
  // Turns ParentColor off.
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }
  // The help text shown while the pointer rests on the control.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  // The menu a right click (WM_CONTEXTMENU) opens.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);
  // The action the control shows and runs; linking takes over what the
  // control shows of it.
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* action);

  // The text (caption), asked for and set through WM_GETTEXT / WM_SETTEXT,
  // so a control that keeps its text elsewhere answers with its own.
  std::string Text() const;
  void SetText(const std::string& value);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& value) { SetText(value); }

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle value) { FControlStyle = value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState value) { FControlState = value; }

  // One control of the process holds the mouse capture; it gets the mouse
  // messages while it does. Taking or releasing it sends WM_CAPTURECHANGED
  // to the control that loses it.
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // Sends a message to the control and answers its result.
  intptr_t Perform(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  // The message handler; overrides handle what they need and pass the rest
  // on to the inherited WndProc.
  virtual void WndProc(TMessage& message);

  // ----- dragging the control to another control (control drag and drop)
  // Starts a drag with this control as its source: at once, or once the
  // pointer has moved threshold pixels (negative: the system's drag
  // threshold) from where it is now. While the drag lasts the source holds
  // the mouse capture and its mouse messages move the drag: the window
  // under the pointer is asked with DragOver, releasing the left button
  // drops on it (DragDrop) when it accepted, and Escape, WM_CANCELMODE or
  // the loss of the capture cancel the drag (DragCanceled).
  void BeginDrag(bool immediate, int threshold = -1);
  // Ends the drag of this control: drops on the window under the pointer
  // when drop is true and it accepted, else cancels.
  void EndDrag(bool drop);
  // This control is the source of a drag (started or waiting for the
  // threshold).
  bool Dragging() const;
  // The pointer shown while the drag is over a window that accepts it.
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor value) { FDragCursor = value; }

  // Marks the whole control for repainting.
  virtual void Invalidate();
  // Paints what is marked now.
  virtual void Update();
  // Invalidate and Update.
  void Repaint();

  // ----- the screen
  // The backend object that shows the control, or nullptr.
  TControlPeer* Peer() const { return FPeer; }
  // Attaches a peer made by hand (one that shows a control as a window of
  // its own); it takes the place of one the factory made. The control does
  // not own it and tells it ControlFreed when the control goes first.
  void SetPeer(TControlPeer* peer);
  // Tells the peer that a property it shows changed.
  void NotifyPeer(TPeerProperty property) const;

  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

protected:
  // A drag is over the control (client coordinates); accept starts false
  // and is true when the control takes the drop. The base fires
  // OnDragOver, with accept true when it is assigned.
  virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
  // The drag was dropped on the control; the base fires OnDragDrop.
  virtual void DragDrop(TObject* source, int x, int y);
  // The source hears that its drag was cancelled or not accepted.
  virtual void DragCanceled() {}
  // The source hears that its drag ended; the base fires OnEndDrag.
  virtual void DoEndDrag(TObject* target, int x, int y);

  // Messages that WndProc does not handle itself: a form passes a user
  // message to its handler here. The base hands them to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  // Messages nobody handled end here (result 0).
  virtual void DefaultHandler(TMessage& message);
  // A window's size changed (WM_SIZE); fires OnResize.
  virtual void Resize();

  // The dynamic input methods; the base versions fire the events.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Wheel turned by delta (multiples of WHEEL_DELTA, positive away from the
  // user) with the pointer at (x, y) in client coordinates; true when it
  // was handled. The base handles nothing.
  virtual bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y);

  // The link a kind makes for its action (TControlActionLink by default),
  // and what the control takes over of the action when it is linked.
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  virtual void ActionChange(TCustomAction& action);
  void Notification(TComponent* component, TOperation operation) override;

  // Notifications of property changes (the base invalidates where it shows).
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged() {}
  virtual void VisibleChanged();
  virtual void EnabledChanged();

  // The parent's font or colour changed; a control with ParentFont or
  // ParentColor takes it over.
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();

  // Realigns the parent when this control's place in the layout changed.
  void RequestAlign();

private:
  friend class TWinControl;
  friend void SetPeerFactory(TPeerFactory* factory);
  // Asks the factory for a peer unless the control has one.
  void PeerNeeded();
  // Deletes the peer the factory made (a peer made by hand stays).
  void ReleasePeer();
  // The control is going: the peer is deleted or, made by hand, told so.
  void DropPeer();
  void HandleMouseMessage(TMessage& message);
  // The source's mouse messages while it drags; true when the drag took it.
  bool HandleDragMessage(const TMessage& message);
  // The drag moved to the screen point: enter, move and leave notices.
  static void DragTo(const TPoint& screen);
  void FontChangeHandler(TObject* sender);

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FVisible = true;
  bool FEnabled = true;
  TFont FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TCursor FCursor = crDefault;
  std::string FHint;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  std::string FText;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TCursor FDragCursor = crDrag;
  TControlPeer* FPeer = nullptr;
  std::unique_ptr<TControlPeer> FOwnedPeer;  // made by the factory
};

// ---------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  // A window destroys its window handle, and its children become parentless
  // (they belong to their owner, which frees them). A derived class whose
  // DestroyWnd must run calls DestroyHandle in its own destructor.
  ~TWinControl() override;
  std::string ClassName() const override { return "TWinControl"; }

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TControl* Controls(int index) const;

  // ----- the window
  // The window's number, created on first need.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != 0; }
  // Creates the window (the parent's first), and the windows of the
  // visible child windows, as showing a form does.
  void HandleNeeded();
  // Destroys the window (the children's first); DestroyWnd runs.
  void DestroyHandle();
  // Destroys the window when it exists and creates it again, so new
  // creation parameters take effect.
  void RecreateWnd();
  // The parameters the window was created with (empty without a window).
  const TCreateParams& WindowParams() const { return FParams; }

  int BorderWidth() const { return FBorderWidth; }
  // A blank margin inside the frame, outside the client area.
  void SetBorderWidth(int value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  // The place among the parent's windows in tab order (0 first, -1
  // without a parent); setting it moves the others along.
  int TabOrder() const;
  void SetTabOrder(int value);
  // The window after (or before) current in tab order among this window's
  // windows at every depth, around the end: one that can take the focus,
  // with TabStop when checkTabStop, a direct child when checkParent.
  // nullptr when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  // Focuses the window FindNextControl finds: at any depth with
  // checkTabStop, else among the direct children.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // A change of the client size realigns the children; a window repaints
  // what its class style asks for (all of it with CS_HREDRAW / CS_VREDRAW,
  // else the newly exposed strips) and gets WM_SIZE.
  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  // Lays the aligned children out in the client area again.
  void Realign();

  // ----- focus: one focused control per process
  bool Focused() const;
  // Visible and enabled, and so is every parent.
  virtual bool CanFocus() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // when the control cannot take the focus. Creates the window, then moves
  // the focus: the old control gets WM_KILLFOCUS and this one WM_SETFOCUS
  // (Focused already answers for the new control in both), then the old
  // control's DoExit and this one's DoEnter run.
  virtual void SetFocus();

  // ----- painting: the update region
  // Adds the rectangle (client coordinates, cut to the client area) to the
  // update region; erase asks for WM_ERASEBKGND before the next paint.
  // Nothing happens without a window or while the control is hidden.
  virtual void InvalidateRect(const TRect& rect, bool erase);
  void Invalidate() override;
  // The pending rectangles: overlapping and touching rectangles that form a
  // rectangle together are merged, covered ones dropped.
  const std::vector<TRect>& UpdateRegion() const { return FUpdateRegion; }
  // The smallest rectangle around the update region (empty when none).
  TRect UpdateRect() const;
  bool UpdateErasePending() const { return FUpdateErase; }
  // Forgets the update region without painting (the backend painted it).
  void ValidateAll();
  // Paints the pending region now: WM_ERASEBKGND when asked, then one
  // WM_PAINT for the region. The region is empty before painting starts, so
  // invalidations made while painting wait for the next Update. A window on
  // the screen asks its peer to paint instead, which paints the region in
  // the screen's own paint cycle.
  void Update() override;
  // The rectangle the WM_PAINT being handled paints (client coordinates):
  // the smallest one around its region.
  TRect PaintRect() const { return FPaintRect; }
  // The region the WM_PAINT being handled paints, as rectangles that do not
  // overlap: bands from the top, each a run of pixel rows that the same
  // spans cross, its rectangles from the left. Empty outside PaintRegion.
  const std::vector<TRect>& PaintRects() const { return FPaintRects; }

  // Moves the pixels of the client area (or of rect) by (dx, dy), limited to
  // clip: the pending region inside moves along and the uncovered part is
  // invalidated. Each call is logged for the backend (which moves the real
  // pixels) and for tests.
  void ScrollWindow(int dx, int dy, const TRect* rect = nullptr, const TRect* clip = nullptr);
  struct TScrollRequest {
    int DX = 0;
    int DY = 0;
    TRect Area;  // the scrolled area: rect and clip applied, in client coordinates
    friend bool operator==(const TScrollRequest&, const TScrollRequest&) = default;
  };
  const std::vector<TScrollRequest>& ScrollRequests() const { return FScrollRequests; }
  void ClearScrollRequests() { FScrollRequests.clear(); }

  // ----- the screen
  // The frame width between the bounds and the client area: border, edge
  // and BorderWidth.
  int FrameWidth() const;
  // Paints the region of the rectangles (cut to the client area) now:
  // WM_ERASEBKGND for each rectangle of PaintRects when erase is asked, then
  // one WM_PAINT for them all, so that a pixel the rectangles share is
  // painted once. Update paints the pending region with it; a backend paints
  // the region of its paint event.
  void PaintRegion(const std::vector<TRect>& region, bool erase);
  // The desktop took the keyboard focus away from the process's windows
  // (another window got it): the focused control gets WM_KILLFOCUS and,
  // with enterExit, DoExit.
  static void RemoveFocus(bool enterExit);

  // ----- scroll bars (see platform/ScrollBars.h for the operations)
  const TScrollBarState& ScrollBar(int bar) const { return FScrollBars[bar == SB_VERT ? 1 : 0]; }

  // The input method's state of this window (see platform/Ime.h).
  TInputContext& ImeContext();

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void WndProc(TMessage& message) override;

protected:
  // The client area changed size (bounds, frame, scroll bars): the
  // anchored children follow, the aligned ones realign, and a window
  // repaints and gets WM_SIZE.
  void ClientSizeChanged(const TRect& oldClient);
  // The focus moved to control, a window inside this one; the top window
  // hears it (a form remembers its active control). The base does nothing.
  virtual void SetFocusedControl(TWinControl*) {}
  // Takes the window off the screen for good, as destruction does: a peer
  // made by hand is told, and the window goes (the children's first) with
  // the peer the factory made. A class whose peer relies on its own parts
  // calls it first in its destructor.
  void Withdraw();
  // The parameters of a new window; overrides change the styles after the
  // inherited call.
  virtual void CreateParams(TCreateParams& params);
  // Creates the window: CreateParams, then CreateWindowHandle. Overrides
  // call the inherited CreateWnd first and do their own set-up after it.
  virtual void CreateWnd();
  // Gives up what was set up for the window; overrides do their part and
  // call the inherited DestroyWnd last.
  virtual void DestroyWnd();
  // The window comes into being: it gets its number, its scroll bars take
  // their start from the style, and it gets WM_SIZE.
  void CreateWindowHandle(const TCreateParams& params);

  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();

  // A window that places all its children itself (a tool bar) realigns
  // whenever one comes, goes, moves or shows; the base does not.
  virtual bool ArrangesControls() const { return false; }
  // The part of the client area that aligned children share; the base
  // leaves it as it is, a panel leaves out its bevels.
  virtual void AdjustClientRect(TRect&) const {}
  // Places the aligned visible children inside rect: alTop (by Top), then
  // alBottom, alLeft, alRight, and alClient gets what is left.
  virtual void AlignControls(TRect& rect);
  // Paints one rectangle of the window (the WM_PAINT handling); the base
  // paints nothing.
  virtual void PaintWindow(const TRect& rect);
  // Fills the rectangle with the background (the WM_ERASEBKGND handling);
  // the base paints nothing and answers false.
  virtual bool EraseBackground(const TRect& rect);

  void VisibleChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void ColorChanged() override;

private:
  friend class TControl;
  friend int SetScrollInfo(TWinControl&, int, const TScrollInfo&, bool);
  friend bool ShowScrollBar(TWinControl&, int, bool);
  friend bool EnableScrollBar(TWinControl&, int, unsigned);
  friend void SetScrollTrackPos(TWinControl&, int, int);
  friend void DragAcceptFiles(TWinControl&, bool);

  // Moves the focus; Focused answers for the new control while both
  // messages are handled. enterExit also runs DoExit and DoEnter (a
  // recreated window keeps its focus and gets only the messages).
  static void MoveFocus(TWinControl* to, bool enterExit);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  TScrollBarState& MutableScrollBar(int bar) { return FScrollBars[bar == SB_VERT ? 1 : 0]; }
  void AddToUpdateRegion(const TRect& rect, bool erase);

  // The windows among the children, in tab order.
  void TabOrderList(std::vector<TWinControl*>& list) const;

  std::vector<TControl*> FControls;  // children, not owned
  std::vector<TWinControl*> FTabList;
  HWND FHandle = 0;
  TCreateParams FParams;
  int FBorderWidth = 0;
  bool FCtl3D = true;
  bool FTabStop = false;
  int FAligning = 0;
  TScrollBarState FScrollBars[2];
  std::vector<TRect> FUpdateRegion;
  bool FUpdateErase = false;
  TRect FPaintRect;
  std::vector<TRect> FPaintRects;
  std::vector<TScrollRequest> FScrollRequests;
  std::unique_ptr<TInputContext> FImeContext;
};

// The backend's object that shows a control: a native widget, or a widget
// that paints a custom-painted window through its paint code. The model
// tells it what changed; the calls come synchronously from the model's own
// operations, so a peer reads the control's state and updates its widget,
// and must not paint, send messages or change the model from them. What the
// user does in the widget comes back as the model's own calls (Click,
// SetChecked, SetActivePage, window messages), the calls a test makes.
class TControlPeer {
public:
  virtual ~TControlPeer() = default;
  // The property changed; the peer reads its new value from the control.
  virtual void PropertyChanged(TPeerProperty property) = 0;
  // For custom-painted windows: a rectangle (client coordinates) joined
  // the update region.
  virtual void RegionInvalidated(const TRect&) {}
  // ScrollWindow moves pixels; called before the update region follows.
  virtual void WindowScrolled(const TWinControl::TScrollRequest&) {}
  // Update was called with a pending region: paint it now.
  virtual void PaintRequested() {}
  // A peer attached with SetPeer hears that its control is being
  // destroyed; nothing reaches it after this. (A peer the factory made is
  // deleted instead.)
  virtual void ControlFreed() {}
};

// Makes the peers of a backend. A window gets its peer when its window is
// created and loses it when the window is destroyed; a control without a
// window of its own has one while its parent's window exists. Parents get
// theirs first and lose theirs last.
class TPeerFactory {
public:
  virtual ~TPeerFactory() = default;
  // The peer that shows the control, or nullptr when the backend does not
  // show it.
  virtual std::unique_ptr<TControlPeer> CreatePeer(TControl& control) = 0;
};

// Registers the backend's factory (nullptr: none, the model runs alone).
// The peers the previous factory made are deleted first, so a backend that
// goes takes its widgets with it.
void SetPeerFactory(TPeerFactory* factory);

// The control that has the keyboard focus, or nullptr.
TWinControl* FocusedControl();

// ----- messages by window number and the posted messages
// The window with this number, or nullptr.
TWinControl* FindControl(HWND handle);
// Sends the message to the window and answers its result (0 when no
// window has the number).
intptr_t SendMessage(HWND handle, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Queues a message for the control; the message loop dispatches it later
// (DispatchPostedMessage). A control that goes first loses its messages.
void PostMessage(TControl* control, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Dispatches the oldest posted message; false when none waited.
bool DispatchPostedMessage();
bool PostedMessagesWaiting();
// While a hold lives (a box is up), the posted messages wait: a question
// one of them would ask comes after the box, not on top of it.
class TPostedMessagesHold {
public:
  TPostedMessagesHold();
  ~TPostedMessagesHold();
  TPostedMessagesHold(const TPostedMessagesHold&) = delete;
  TPostedMessagesHold& operator=(const TPostedMessagesHold&) = delete;
};
// A backend's loop hears here that a message was posted (to wake up).
using TMessagePostedHook = void (*)();
void SetMessagePostedHook(TMessagePostedHook hook);
// The control that holds the mouse capture, or nullptr.
TControl* CaptureControl();

// Registers the window for WM_DROPFILES (WS_EX_ACCEPTFILES) or withdraws
// it; the window must exist. The registration goes with the window.
void DragAcceptFiles(TWinControl& control, bool accept);
bool AcceptsDroppedFiles(const TWinControl& control);

// The control whose drag is under way (or waits for its threshold), or
// nullptr.
TControl* DragSourceControl();
// The deepest enabled, visible window at the screen point (of two
// unrelated windows the one created later), or nullptr: the window a drag
// is over.
TWinControl* FindDragTarget(const TPoint& screen);

// ---------------------------------------------------------------- TCustomControl

// A window that paints itself: Paint draws on Canvas, whose clip rectangle
// is the rectangle being painted.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  std::string ClassName() const override { return "TCustomControl"; }

  // The control's canvas: a screen canvas that measures but shows nothing
  // until a test or the backend puts another in its place.
  TCanvas& Canvas() { return *FCanvas; }
  // Puts a canvas in place; it takes over the font, brush and pen of the
  // old one.
  void SetCanvas(std::unique_ptr<TCanvas> canvas);

protected:
  virtual void Paint() {}
  // Clips the canvas to rect (saving and restoring its state) and paints.
  void PaintWindow(const TRect& rect) override;
  // Fills with the brush in Color.
  bool EraseBackground(const TRect& rect) override;

private:
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace vk
