#pragma once
// Marks shown in an editor's gutter (bookmarks 0..9 among them), the list
// that owns them, and the plugins an editor tells about painting and about
// inserted and deleted lines.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "SrcEdit/Source/SrcEditUndoList.h"
#include "platform/Canvas.h"
#include "platform/Events.h"
#include "platform/Graphics.h"
#include "platform/Objects.h"

namespace vk {

class TCustomSrcEdit;

class TSrcEditMark : public TObject {
public:
  // An ordinary mark (bookmark number -1) of the editor.
  explicit TSrcEditMark(TCustomSrcEdit* owner);
  std::string ClassName() const override { return "TSrcEditMark"; }
  // No other mark of the process has it, not even after this one is gone:
  // the undo record names a mark so.
  uint64_t Id() const { return FId; }

  // A visible mark of an editor repaints the gutter where it was and where
  // it is.
  int Line() const { return FLine; }
  virtual void SetLine(int value);
  int Char() const { return FChar; }
  virtual void SetChar(int value) { FChar = value; }
  int ImageIndex() const { return FImage; }
  virtual void SetImageIndex(int value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool InternalImage() const { return FInternalImage; }
  void SetInternalImage(bool value);
  int BookmarkNumber() const { return FBookmarkNum; }
  void SetBookmarkNumber(int value) { FBookmarkNum = value; }
  bool IsBookmark() const { return FBookmarkNum >= 0; }
  // The editor while the mark is in its mark list; a mark taken out of the
  // list forgets its editor.
  virtual TCustomSrcEdit* GetEdit();

protected:
  void InvalidateGutter();

  int FLine = 0;
  int FChar = 0;
  int FImage = 0;
  TCustomSrcEdit* FEdit;
  bool FVisible = false;
  bool FInternalImage = false;
  int FBookmarkNum = -1;

private:
  uint64_t FId;
};

// Up to 16 marks of one line.
using TSrcEditMarks = std::array<TSrcEditMark*, 16>;

// The marks of an editor in the order they were added, owned by the list:
// deleting or clearing frees them, extracting hands one over. Every added,
// extracted or deleted mark is reported through OnChange.
class TSrcEditMarkList : public TObject {
public:
  explicit TSrcEditMarkList(TCustomSrcEdit* owner) : FEdit(owner) {}
  ~TSrcEditMarkList() override;
  TSrcEditMarkList(const TSrcEditMarkList&) = delete;
  TSrcEditMarkList& operator=(const TSrcEditMarkList&) = delete;
  std::string ClassName() const override { return "TSrcEditMarkList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TSrcEditMark* Items(int index) const;
  int IndexOf(const TSrcEditMark* mark) const;
  // Takes the mark over; answers its index.
  int Add(std::unique_ptr<TSrcEditMark> mark);
  void Delete(int index);
  // Hands the mark over to the caller; nullptr when it is not in the list.
  std::unique_ptr<TSrcEditMark> Extract(TSrcEditMark* mark);
  void Clear();
  TCustomSrcEdit* Edit() const { return FEdit; }
  // Deletes the line's marks that are not bookmarks.
  void ClearLine(int line);
  // The line's first 16 marks in list order; the rest of the array nullptr.
  void GetMarksForLine(int line, TSrcEditMarks& marks) const;
  // Adds the mark unless the editor's OnPlaceBookmark drops it (sets it to
  // nullptr). A mark the handler puts in its place is added instead and
  // belongs to the list from then on; the replaced one is freed.
  void Place(std::unique_ptr<TSrcEditMark> mark);

  TNotifyEvent OnChange;

private:
  void Changed();
  // A mark leaves the list (deleted or extracted).
  void Leaving(TSrcEditMark* mark);

  TCustomSrcEdit* FEdit;
  std::vector<std::unique_ptr<TSrcEditMark>> FItems;
};

// What an edit does to the marks while it runs: the line shifts it makes
// and the line each mark it moves had before it. Lines joined into one take
// all their marks, and no shift can tell them apart again: the record keeps
// where those merged marks stood.
class TSrcMarkRecorder {
public:
  // Records from now on, afresh.
  void Start();
  void Shifted(const TSrcLineShift& shift);
  // Before the mark moves; merged when it comes to share its line with the
  // marks of lines joined to its own.
  void Moving(const TSrcEditMark& mark, bool merged);
  void Forget(const TSrcEditMark* mark) { FMoved.erase(mark->Id()); }
  // The record of the edit, null when it shifted no lines; recording stops.
  std::shared_ptr<const TSrcMarkShifts> Take();

private:
  struct TMoved {
    int Line;
    bool Merged;
  };
  bool FRecording = false;
  std::vector<TSrcLineShift> FShifts;
  // By the marks' ids.
  std::unordered_map<uint64_t, TMoved> FMoved;
};

// A plugin joins its editor when it is made and leaves it when it is freed;
// the editor frees the plugins still with it when it goes itself.
class TSrcEditPlugin : public TObject {
public:
  explicit TSrcEditPlugin(TCustomSrcEdit* owner);
  ~TSrcEditPlugin() override;
  TSrcEditPlugin(const TSrcEditPlugin&) = delete;
  TSrcEditPlugin& operator=(const TSrcEditPlugin&) = delete;
  std::string ClassName() const override { return "TSrcEditPlugin"; }

  TCustomSrcEdit* Owner() const { return FOwner; }

  // After the editor painted the rows first..last inside clip.
  virtual void AfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine) = 0;
  virtual void LinesInserted(int firstLine, int count) = 0;
  virtual void LinesDeleted(int firstLine, int count) = 0;

private:
  TCustomSrcEdit* FOwner;
};

}  // namespace vk
