#pragma once
// The status bar: a row of panels along the bottom of a form, each with a
// fixed width and a text.

#include <string>

#include "platform/Components.h"
#include "platform/Controls.h"

namespace vk {

class TStatusBar;

class TStatusPanel : public TCollectionItem {
public:
  explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
  std::string ClassName() const override { return "TStatusPanel"; }

  const std::string& Text() const { return FText; }
  void SetText(const std::string& value);
  // Pixels; 50 by default.
  int Width() const { return FWidth; }
  void SetWidth(int value);

private:
  std::string FText;
  int FWidth = 50;
};

class TStatusPanels : public TCollection {
public:
  explicit TStatusPanels(TStatusBar& bar);
  std::string ClassName() const override { return "TStatusPanels"; }

  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }

protected:
  TCollectionItem* CreateItem() override { return new TStatusPanel(this); }
  void Update(TCollectionItem*) override;

private:
  TStatusBar& FBar;
};

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);
  std::string ClassName() const override { return "TStatusBar"; }

  TStatusPanels* Panels() { return &FPanels; }
  const TStatusPanels* Panels() const { return &FPanels; }

private:
  TStatusPanels FPanels{*this};
};

}  // namespace vk
