#pragma once
// The label: a caption on its parent, in its font and colours, without a
// window of its own. With AutoSize (the default) it takes the size of its
// text; a right-aligned label keeps its right edge. An ampersand underlines
// the character after it ("&&" shows one ampersand).

#include <string>

#include "platform/Controls.h"

namespace vk {

class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  std::string ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

  // The caption as it shows: without the ampersands that mark a key.
  std::string DisplayText() const;

protected:
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;

private:
  void AdjustBounds();

  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
};

}  // namespace vk
