#pragma once
// Lists of text lines: the abstract TStrings that every line container
// implements, and TStringList, the general sorted or unsorted list.

#include <string>
#include <vector>

#include "platform/Events.h"
#include "platform/Objects.h"

namespace vk {

class TStream;

class EListError : public Exception {
  using Exception::Exception;
};

// Raises EListError "List index out of bounds (%d)" unless 0 <= index < count.
void CheckListIndex(int index, int count);

class TStrings : public TPersistent {
public:
  std::string ClassName() const override { return "TStrings"; }

  // The operations a concrete list supplies.
  virtual std::string Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Insert(int index, const std::string& text) = 0;

  // Replaces a line; the default deletes and inserts, keeping the object.
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(int) {}
  virtual int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  virtual void AddStrings(const TStrings& strings);
  virtual void Exchange(int index1, int index2);
  virtual int IndexOf(const std::string& text) const;

  // Every line followed by CR LF.
  virtual std::string GetTextStr() const;
  // Replaces the lines with the text split at CR LF, CR or LF; a final
  // break does not start another line.
  virtual void SetTextStr(const std::string& text);
  std::string Text() const { return GetTextStr(); }
  void SetText(const std::string& text) { SetTextStr(text); }

  int Count() const { return GetCount(); }
  std::string Strings(int index) const { return Get(index); }

  virtual void LoadFromFile(const std::string& fileName);
  virtual void LoadFromStream(TStream& stream);
  // Saved through a temporary file; the old file stays when saving fails.
  virtual void SaveToFile(const std::string& fileName);
  virtual void SaveToStream(TStream& stream);

  // Nested update brackets; the outermost pair calls SetUpdateState.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(const TPersistent& source) override;

protected:
  virtual void SetUpdateState(bool) {}

private:
  int FUpdateCount = 0;
};

// Keeps a BeginUpdate/EndUpdate bracket open for a scope, also when an
// exception passes.
class TStringsUpdate {
public:
  explicit TStringsUpdate(TStrings& strings) : FStrings(strings) { FStrings.BeginUpdate(); }
  ~TStringsUpdate() { FStrings.EndUpdate(); }
  TStringsUpdate(const TStringsUpdate&) = delete;
  TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
  TStrings& FStrings;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  std::string ClassName() const override { return "TStringList"; }

  std::string Get(int index) const override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& text) override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  int GetCapacity() const override { return static_cast<int>(FItems.capacity()); }
  void SetCapacity(int capacity) override;
  int Add(const std::string& text) override;
  void Exchange(int index1, int index2) override;
  int IndexOf(const std::string& text) const override;

  // Binary search of a sorted list: true when found; index is where the
  // text is or would be inserted.
  bool Find(const std::string& text, int& index) const;
  void Sort();

  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool updating) override;

private:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
  };
  int Compare(const std::string& a, const std::string& b) const;
  void CheckIndex(int index) const;
  void InsertItem(int index, const std::string& text, TObject* object);
  void Changed();
  void Changing();

  std::vector<TItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace vk
