#pragma once
// The page control: tab sheets on top of each other, one shown at a time,
// chosen by their tabs. A sheet whose tab is hidden can still be shown from
// code; with every tab hidden the control shows no tab row.

#include <string>

#include "platform/Controls.h"

namespace vk {

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  std::string ClassName() const override { return "TTabSheet"; }

  TPageControl* PageControl() const { return FPageControl; }
  // Puts the sheet on a page control (last) or takes it off (nullptr).
  void SetPageControl(TPageControl* pageControl);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  // Its tab's place among the visible tabs, -1 when its tab is hidden.
  int TabIndex() const;

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  std::string ClassName() const override { return "TPageControl"; }

  int PageCount() const { return static_cast<int>(FPages.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TTabSheet* Pages(int index) const;
  // The sheet shown; setting it shows that sheet and hides the others.
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  // The user chose a tab (an index among the visible tabs).
  void SelectTab(int tabIndex);
  // Shows the next (or previous) sheet that has a tab, wrapping around.
  void SelectNextPage(bool goForward);

  // The height of the tab row (0 with every tab hidden).
  int TabHeight() const;

protected:
  // The sheets fill the area below the tab row, inside the frame.
  void AdjustClientRect(TRect& rect) const override;
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is inside;
  // the arrows are the control's own keys.
  void WndProc(TMessage& message) override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PagesChanged();

  std::vector<TTabSheet*> FPages;  // not owned
  TTabSheet* FActivePage = nullptr;
};

}  // namespace vk
