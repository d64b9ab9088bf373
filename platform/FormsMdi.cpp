// The MDI parent's side of TCustomForm: its children in z-order, the
// active child with its menu merged into the bar, the window list, and
// arranging the children in the MDI client area.

#include <algorithm>

#include "platform/Forms.h"
#include "platform/SystemMetrics.h"

namespace vk {

namespace {

// The window list shows this many children.
constexpr int WindowListSize = 9;
// The width of a minimised child.
constexpr int IconWidth = 160;

std::string EscapeHotkeys(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return escaped;
}

}  // namespace

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (index < 0 || index >= MDIChildCount()) return nullptr;
  return FMDIChildren[static_cast<size_t>(index)];
}

void TCustomForm::ActivateChild(TCustomForm* child) {
  if (child != FActiveMDIChild) {
    TCustomForm* previous = FActiveMDIChild;
    FActiveMDIChild = child;
    std::erase(FMDIChildren, child);
    FMDIChildren.insert(FMDIChildren.begin(), child);
    // A maximised child hands the maximised state on.
    if (previous && previous->WindowState() == wsMaximized && child->WindowState() != wsMaximized) {
      child->SetWindowState(wsMaximized);
      previous->SetWindowState(wsNormal);
    }
    if (FMenu) FMenu->Merge(child->Menu());
    UpdateWindowMenu();
    child->NotifyPeer(ppActivated);
  }
  Screen().FLastActive = child;
  child->FocusActiveControl();
}

void TCustomForm::ChildGone(TCustomForm* child) {
  std::erase(FMDIChildren, child);
  std::erase(FMDICreated, child);
  if (FActiveMDIChild == child) {
    FActiveMDIChild = nullptr;
    if (FMenu) FMenu->Merge(nullptr);
    if (!FMDIChildren.empty() && !ComponentState().Contains(csDestroying)) {
      TCustomForm* next = FMDIChildren.front();
      // The maximised state passes to the child that comes forward, as it
      // does when another child is activated.
      if (child->WindowState() == wsMaximized) next->SetWindowState(wsMaximized);
      ActivateChild(next);
    }
  }
  UpdateWindowMenu();
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == FWindowMenu) return;
  for (TMenuItem* listed : std::exchange(FWindowListItems, {})) delete listed;
  Link(FWindowMenu, item);
  UpdateWindowMenu();
}

void TCustomForm::UpdateWindowMenu() {
  if (!FWindowMenu || ComponentState().Contains(csDestroying)) return;
  for (TMenuItem* listed : std::exchange(FWindowListItems, {})) delete listed;
  if (FMDICreated.empty()) return;
  if (FWindowMenu->Count() > 0) {
    auto* line = new TMenuItem(this);
    line->SetCaption("-");
    FWindowMenu->Add(line);
    FWindowListItems.push_back(line);
  }
  const int shown = std::min(static_cast<int>(FMDICreated.size()), WindowListSize);
  for (int i = 0; i < shown; ++i) {
    TCustomForm* child = FMDICreated[static_cast<size_t>(i)];
    auto* item = new TMenuItem(this);
    item->SetCaption(Format("&%d ", i + 1) + EscapeHotkeys(child->Caption()));
    item->SetChecked(child == FActiveMDIChild);
    item->SetTag(i);
    item->OnClick = TNotifyEvent(this, &TCustomForm::WindowListClick);
    FWindowMenu->Add(item);
    FWindowListItems.push_back(item);
  }
}

void TCustomForm::WindowListClick(TObject* sender) {
  auto index = static_cast<size_t>(static_cast<TMenuItem*>(sender)->Tag());
  if (index < FMDICreated.size()) FMDICreated[index]->Show();
}

// ---------------------------------------------------------------- arranging

void TCustomForm::AlignControls(TRect& rect) {
  TWinControl::AlignControls(rect);
  // An MDI parent's children share what the aligned controls leave.
  if (FFormStyle != fsMDIForm || rect == FMDIClient) return;
  FMDIClient = rect;
  NotifyPeer(ppMDIClient);
  for (TCustomForm* child : FMDIChildren)
    if (child->WindowState() == wsMaximized) child->ApplyWindowState();
}

void TCustomForm::Cascade() {
  std::vector<TCustomForm*> children;
  for (TCustomForm* child : FMDIChildren)
    if (child->WindowState() != wsMinimized) children.insert(children.begin(), child);  // the back one first
  if (children.empty()) return;
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
  const int count = static_cast<int>(children.size());
  const int width = std::max(FMDIClient.Width() - step * (count - 1), FMDIClient.Width() / 2);
  const int height = std::max(FMDIClient.Height() - step * (count - 1), FMDIClient.Height() / 2);
  for (int i = 0; i < count; ++i) {
    TCustomForm* child = children[static_cast<size_t>(i)];
    child->SetWindowState(wsNormal);
    child->SetBounds(i * step, i * step, width, height);
  }
}

void TCustomForm::Tile() {
  std::vector<TCustomForm*> children;
  for (TCustomForm* child : FMDIChildren)
    if (child->WindowState() != wsMinimized) children.push_back(child);
  if (children.empty()) return;
  const int count = static_cast<int>(children.size());
  for (int i = 0; i < count; ++i) {
    TCustomForm* child = children[static_cast<size_t>(i)];
    child->SetWindowState(wsNormal);
    if (FTileMode == tbHorizontal) {
      int top = FMDIClient.Height() * i / count;
      child->SetBounds(0, top, FMDIClient.Width(), FMDIClient.Height() * (i + 1) / count - top);
    } else {
      int left = FMDIClient.Width() * i / count;
      child->SetBounds(left, 0, FMDIClient.Width() * (i + 1) / count - left, FMDIClient.Height());
    }
  }
}

void TCustomForm::ArrangeIcons() {
  const int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CXFRAME);
  const int perRow = std::max(FMDIClient.Width() / IconWidth, 1);
  int slot = 0;
  for (TCustomForm* child : FMDICreated) {
    if (child->WindowState() != wsMinimized) continue;
    child->SetBounds(slot % perRow * IconWidth, FMDIClient.Height() - (slot / perRow + 1) * height, IconWidth, height);
    ++slot;
  }
}

void TCustomForm::MinimizeAll() {
  for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildren)) child->SetWindowState(wsMinimized);
}

}  // namespace vk
