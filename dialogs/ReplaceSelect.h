#pragma once
// The question at every hit of a search that prompts: a small box beside
// the caret with an icon, "found character <text>Replace?" and up to four
// buttons, as wide as the question needs.
//
// The document window's OnReplaceText handler, at each hit:
//   1. PlaceNear(the caret's top-left corner on the screen);
//   2. SetMode(cmReplace or cmFind, the text being searched for: the replace
//      dialog's find text in a replace, the find dialog's in a find);
//   3. Ask(), whose answer the editor's SearchReplace goes on with.

#include <string>

#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Buttons.h"
#include "platform/ExtImages.h"
#include "platform/Forms.h"
#include "platform/Labels.h"

namespace vk {

// Replace: "OK" replaces, "NO" skips, "All" replaces the rest unasked.
// Find: "Next" goes on to the next hit. "Cancel" (and the close box) ends.
enum TConfirmMode : uint8_t { cmReplace, cmFind };

class TReplaceSelect : public TForm {
public:
  explicit TReplaceSelect(TComponent* owner);
  std::string ClassName() const override { return "TReplaceSelect"; }

  TImage* Image = new TImage(this);
  TLabel* LabelTxt = new TLabel(this);
  TButton* YesBtn = new TButton(this);
  TButton* NoBtn = new TButton(this);
  TButton* CancelBtn = new TButton(this);
  TButton* AllBtn = new TButton(this);

  // Moves the box beside the screen point: below and right of it, or above
  // or left where it would leave the screen there; it always stays on the
  // screen. Its size stays.
  void PlaceNear(int x, int y);
  // The title, the buttons and the text the question names. They stay
  // until the next call.
  void SetMode(TConfirmMode mode, const std::string& foundText);
  TConfirmMode Mode() const { return FMode; }
  // Shows the box modally and answers its button as the editor's action.
  TSrcReplaceAction Ask();
  // The action a modal result means in a mode (anything else cancels).
  static TSrcReplaceAction ActionFor(TConfirmMode mode, TModalResult result);

private:
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  // Moves the box back onto the screen where it reaches past an edge.
  void KeepOnScreen(int left, int top);

  TConfirmMode FMode = cmReplace;
  std::string FFoundText;
  int FDesignWidth = 0;
  int FRightMargin = 0;  // room right of the buttons
  int FGapX = 0;         // between the point and the box
  int FGapY = 0;
};

// Made at start-up; lives until the program ends.
extern TReplaceSelect* ReplaceSelect;

}  // namespace vk
