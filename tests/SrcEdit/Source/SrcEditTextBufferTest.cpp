#include "SrcEdit/Source/SrcEditTextBuffer.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

std::vector<std::string> Lines(const TSrcEditStringList& store) {
  std::vector<std::string> lines;
  for (int i = 0; i < store.Count(); ++i) lines.push_back(store.Get(i));
  return lines;
}

void LoadText(TSrcEditStringList& store, const std::string& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  store.LoadFromStream(stream);
}

std::string SaveText(TSrcEditStringList& store) {
  TMemoryStream stream;
  store.SaveToStream(stream);
  return stream.DataString();
}

struct LoadCase {
  const char* Name;
  std::string Bytes;  // what SaveToStream and SaveToFile write back too
  std::vector<std::string> Lines;
  TSrcEditFileFormat Format;
};

const std::string kLong(20000, 'x');  // longer than the writer's buffer
const std::string kBlock(15, 'x');     // and a break: 16 bytes

// Lines of 0 to 16 bytes in turn, ended by CR LF, LF and CR in turn: every
// break style at every offset of a 16-byte block, a CR ending a block before
// the LF that starts the next among them.
LoadCase BreaksAtEveryBlockOffset() {
  LoadCase c{"breaks at every offset of a block", "", {}, sffDos};
  const char* const breaks[] = {"\r\n", "\n", "\r"};
  for (int i = 0; i < 150; ++i) {
    c.Lines.push_back(std::string(i % 17, static_cast<char>('a' + i % 26)));
    c.Bytes += c.Lines.back() + breaks[i % 3];
  }
  c.Lines.push_back("");
  return c;
}

const LoadCase kLoadCases[] = {
    {"empty", "", {}, sffDos},
    {"one line without break", "abc", {"abc"}, sffDos},
    {"crlf", "a\r\nb\r\n", {"a", "b", ""}, sffDos},
    {"lf", "a\nb\n", {"a", "b", ""}, sffUnix},
    {"cr", "a\rb", {"a", "b"}, sffMac},
    {"no final break", "a\nb", {"a", "b"}, sffUnix},
    {"mixed crlf and lf", "a\r\nb\nc", {"a", "b", "c"}, sffDos},
    {"mixed cr and lf", "a\rb\nc\r", {"a", "b", "c", ""}, sffDos},
    {"lone cr among crlf", "a\r\nb\rc\r\n", {"a", "b", "c", ""}, sffDos},
    {"lf cr is two breaks", "a\n\rb", {"a", "", "b"}, sffDos},
    {"cr cr is two breaks", "a\r\rb", {"a", "", "b"}, sffMac},
    {"only a break", "\n", {"", ""}, sffUnix},
    {"nul inside a line", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}, sffUnix},
    {"long lines", kLong + "\r\n" + kLong, {kLong, kLong}, sffDos},
    {"high bytes", "\xC7\xD1\xB1\xDB\n\xFF", {"\xC7\xD1\xB1\xDB", "\xFF"}, sffUnix},
    {"cr lf across a block's edge", kBlock + "\r\n" + kBlock, {kBlock, kBlock}, sffDos},
    BreaksAtEveryBlockOffset(),
};

// Each line break is written back as it was read, whatever the others are.
TEST(SrcEditStringListTest, LoadAndSaveKeepEveryLineBreak) {
  test::TTempFolder folder;
  for (const auto& c : kLoadCases) {
    SCOPED_TRACE(c.Name);
    TSrcEditStringList store;
    LoadText(store, c.Bytes);
    EXPECT_EQ(c.Lines, Lines(store));
    EXPECT_EQ(c.Format, store.FileFormat());
    EXPECT_EQ(c.Bytes, SaveText(store));
    std::string name = folder.File("file.c");
    store.SaveToFile(name);
    EXPECT_EQ(c.Bytes, LoadBytesFromFile(name));
    TSrcEditStringList reloaded;
    reloaded.LoadFromFile(name);
    EXPECT_EQ(c.Lines, Lines(reloaded));
  }
}

// A line added gets the file's break style; deleting a line takes the
// break in front of it along; the other breaks stay.
TEST(SrcEditStringListTest, ChangedLinesLeaveTheOtherBreaksAsTheyWere) {
  const struct {
    const char* Name;
    std::string Bytes;
    std::function<void(TSrcEditStringList&)> Change;
    std::string Saved;
  } cases[] = {
      {"a line inserted", "a\rb\nc", [](TSrcEditStringList& s) { s.Insert(1, "x"); }, "a\r\nx\rb\nc"},
      {"a line added", "a\rb", [](TSrcEditStringList& s) { s.Add("x"); }, "a\rb\rx"},
      {"a line replaced", "a\rb\nc", [](TSrcEditStringList& s) { s.Put(1, "x"); }, "a\rx\nc"},
      {"a line deleted", "a\rb\nc", [](TSrcEditStringList& s) { s.Delete(1); }, "a\nc"},
      {"empty lines inserted", "a\nb", [](TSrcEditStringList& s) { s.InsertLines(1, 2); }, "a\n\n\nb"},
      {"a break set", "a\nb", [](TSrcEditStringList& s) { s.SetBreakBefore(1, sffMac); }, "a\rb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditStringList store;
    LoadText(store, c.Bytes);
    c.Change(store);
    EXPECT_EQ(c.Saved, SaveText(store));
  }
}

TEST(SrcEditStringListTest, TextJoinsWithCrLfWithoutAFinalBreak) {
  TSrcEditStringList store;
  LoadText(store, "a\nb\n");
  EXPECT_EQ("a\r\nb\r\n", store.GetTextStr());
  store.Clear();
  EXPECT_EQ("", store.GetTextStr());
}

TEST(SrcEditStringListTest, AFailedSaveRaisesAndKeepsTheOldFile) {
  test::TTempFolder folder;
  std::string name = folder.File("main.c");
  SaveBytesToFile(name, "old text");
  TSrcEditStringList store;
  LoadText(store, "new\ntext");
  TSafeFileStream::SetRenameForTesting([](const char*, const char*) {
    errno = ENOSPC;
    return -1;
  });
  EXPECT_THROW(store.SaveToFile(name), EStreamError);
  TSafeFileStream::SetRenameForTesting(nullptr);
  EXPECT_EQ("old text", LoadBytesFromFile(name));
  EXPECT_THROW(store.SaveToFile(folder.File("no/folder/main.c")), EStreamError);
}

// Records the store's events in order.
struct EventLog {
  std::vector<std::string> Entries;
  void Changing(TObject*) { Entries.push_back("changing"); }
  void Change(TObject*) { Entries.push_back("change"); }
  void Cleared(TObject*) { Entries.push_back("cleared"); }
  void Inserted(TObject*, int index, int count) { Add("inserted", index, count); }
  void Deleted(TObject*, int index, int count) { Add("deleted", index, count); }
  void Put(TObject*, int index, int count) { Add("put", index, count); }
  void Add(const char* what, int index, int count) {
    Entries.push_back(std::string(what) + " " + std::to_string(index) + "," + std::to_string(count));
  }
  void Attach(TSrcEditStringList& store) {
    store.OnStoreChanging = TNotifyEvent(this, &EventLog::Changing);
    store.OnStoreChange = TNotifyEvent(this, &EventLog::Change);
    store.OnLinesCleared = TNotifyEvent(this, &EventLog::Cleared);
    store.OnLinesInserted = TStringListChangeEvent(this, &EventLog::Inserted);
    store.OnLinesDeleted = TStringListChangeEvent(this, &EventLog::Deleted);
    store.OnLinePut = TStringListChangeEvent(this, &EventLog::Put);
  }
};

TEST(SrcEditStringListTest, EveryChangeReportsItsLinesInOrder) {
  using Lines = std::vector<std::string>;
  struct Case {
    const char* Name;
    std::function<void(TSrcEditStringList&)> Change;
    Lines Events;
  } cases[] = {
      {"add", [](auto& s) { s.Add("x"); }, {"changing", "inserted 3,1", "change"}},
      {"insert", [](auto& s) { s.Insert(1, "x"); }, {"changing", "inserted 1,1", "change"}},
      {"put", [](auto& s) { s.Put(2, "x"); }, {"changing", "put 2,1", "change"}},
      {"put at count appends", [](auto& s) { s.Put(3, "x"); }, {"changing", "inserted 3,1", "change"}},
      {"delete", [](auto& s) { s.Delete(0); }, {"changing", "deleted 0,1", "change"}},
      {"clear", [](auto& s) { s.Clear(); }, {"changing", "cleared", "change"}},
      {"insert lines", [](auto& s) { s.InsertLines(3, 2); }, {"changing", "inserted 3,2", "change"}},
      {"insert no lines", [](auto& s) { s.InsertLines(1, 0); }, {}},
      {"delete lines in the middle", [](auto& s) { s.DeleteLines(0, 2); }, {"changing", "change", "deleted 0,2"}},
      {"delete lines to the end", [](auto& s) { s.DeleteLines(1, 5); }, {"deleted 1,2"}},
      {"exchange", [](auto& s) { s.Exchange(0, 2); }, {"changing", "change"}},
      {"put object and range", [](auto& s) { s.PutObject(0, nullptr), s.PutRange(0, 5); }, {}},
      {"add strings",
       [](auto& s) {
         TStringList more;
         more.SetTextStr("p\nq");
         s.AddStrings(more);
       },
       {"changing", "inserted 3,2", "change"}},
      {"load",
       [](auto& s) { LoadText(s, "a\nb"); },
       {"changing", "cleared", "inserted 0,2", "change"}},
      {"insert rows",
       [](auto& s) {
         const TSrcTextRow rows[] = {{"p"}, {"q", sffUnix}};
         s.InsertRows(1, rows);
       },
       {"changing", "inserted 1,2", "change"}},
      // Every line goes with the store's storage, and comes back into the
      // emptied store so: the text is whole again.
      {"take every line and put them back",
       [](auto& s) {
         s.PutLines(0, s.TakeLines(0, 5));
         EXPECT_EQ("a\r\nb\r\nc", s.GetTextStr());
         EXPECT_EQ(7u, s.TextLength());
       },
       {"deleted 0,3", "changing", "inserted 0,3", "change"}},
      {"take a line and put it back",
       [](auto& s) {
         s.PutLines(2, s.TakeLines(1, 1));
         EXPECT_EQ("a\r\nc\r\nb", s.GetTextStr());
         EXPECT_EQ(7u, s.TextLength());
       },
       {"changing", "change", "deleted 1,1", "changing", "inserted 2,1", "change"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditStringList store;
    LoadText(store, "a\nb\nc");
    EventLog log;
    log.Attach(store);
    c.Change(store);
    EXPECT_EQ(c.Events, log.Entries);
  }
}

TEST(SrcEditStringListTest, BadIndicesRaiseBeforeAnythingChanges) {
  struct Case {
    const char* Name;
    std::function<void(TSrcEditStringList&)> Call;
    int Index;
  } cases[] = {
      {"insert", [](auto& s) { s.Insert(4, "x"); }, 4},
      {"insert negative", [](auto& s) { s.Insert(-1, "x"); }, -1},
      {"insert lines", [](auto& s) { s.InsertLines(5, 1); }, 5},
      {"delete at count", [](auto& s) { s.Delete(3); }, 3},
      {"delete lines at count", [](auto& s) { s.DeleteLines(3, 1); }, 3},
      {"exchange", [](auto& s) { s.Exchange(0, 3); }, 3},
      {"put past count", [](auto& s) { s.Put(4, "x"); }, 4},
      {"put object", [](auto& s) { s.PutObject(3, nullptr); }, 3},
      {"put range", [](auto& s) { s.PutRange(-2, 0); }, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditStringList store;
    LoadText(store, "a\nb\nc");
    EventLog log;
    log.Attach(store);
    try {
      c.Call(store);
      ADD_FAILURE() << "no error";
    } catch (const ESrcEditStringList& e) {
      EXPECT_EQ("Invalid stringlist index " + std::to_string(c.Index), e.Message());
    }
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Lines(store));
    EXPECT_TRUE(log.Entries.empty());
  }
}

TEST(SrcEditStringListTest, OutOfRangeReadsGiveEmptyValues) {
  TSrcEditStringList store;
  store.Add("\tx");
  for (int index : {-1, 1, 100}) {
    EXPECT_EQ("", store.Get(index));
    EXPECT_EQ(nullptr, store.GetObject(index));
    EXPECT_EQ(0, store.GetRange(index));
    EXPECT_EQ("", store.GetExpandedString(index));
    EXPECT_EQ(0, store.GetExpandedStringLength(index));
  }
  EXPECT_EQ(SrcEditRangeUnscanned, store.GetRange(0));
}

TEST(SrcEditStringListTest, DeleteLinesRemovesWhatRemains) {
  TSrcEditStringList store;
  LoadText(store, "a\nb\nc\nd");
  EventLog log;
  log.Attach(store);
  store.DeleteLines(2, 5);
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), Lines(store));
  EXPECT_EQ((std::vector<std::string>{"deleted 2,2"}), log.Entries);
}

TEST(SrcEditStringListTest, CapacityGrowsBySixteenThenByAQuarter) {
  TSrcEditStringList store;
  std::vector<int> capacities;
  for (int i = 0; i < 101; ++i) {
    store.Add("x");
    if (capacities.empty() || capacities.back() != store.GetCapacity()) capacities.push_back(store.GetCapacity());
  }
  EXPECT_EQ((std::vector<int>{16, 32, 48, 64, 80, 100, 125}), capacities);
  EXPECT_THROW(store.SetCapacity(100), EListError);
  EXPECT_EQ(125, store.GetCapacity());
  store.Clear();
  EXPECT_EQ(0, store.GetCapacity());
}

TEST(SrcEditStringListTest, ExpandedLengthsFollowTheTabWidth) {
  TSrcEditStringList store;
  LoadText(store, "\ta\nab\n\n\t\t");
  EXPECT_EQ(9, store.GetExpandedStringLength(0));
  EXPECT_EQ(std::string(8, '\t') + "a", store.GetExpandedString(0));
  EXPECT_EQ("ab", store.GetExpandedString(1));
  EXPECT_EQ(0, store.GetExpandedStringLength(2));
  EXPECT_EQ(16, store.GetLengthOfLongestLine());
  store.SetTabWidth(4);
  EXPECT_EQ(5, store.GetExpandedStringLength(0));
  EXPECT_EQ(8, store.GetLengthOfLongestLine());
  store.SetTabWidth(3);
  store.Put(1, "a\tb\t");
  EXPECT_EQ(6, store.GetExpandedStringLength(1));
  EXPECT_EQ("a\t\tb\t\t", store.GetExpandedString(1));
  store.SetTabWidth(1);
  EXPECT_EQ(" a", store.GetExpandedString(0));
  store.Put(0, "\t\t\t");
  EXPECT_EQ(3, store.GetExpandedStringLength(0));
}

TEST(SrcEditStringListTest, LongestLineIsNeverStale) {
  TSrcEditStringList store;
  LoadText(store, "aaaa\nbb\ncccccc\nd");
  struct Step {
    const char* Name;
    std::function<void()> Change;
    int Longest;
  } steps[] = {
      {"initial", [] {}, 6},
      {"a shorter line grows past it", [&] { store.Put(1, "bbbbbbbbbb"); }, 10},
      {"the longest grows", [&] { store.Put(1, "bbbbbbbbbbb"); }, 11},
      {"the longest keeps its length", [&] { store.Put(1, "Bbbbbbbbbbb"); }, 11},
      {"another line grows short of it", [&] { store.Put(3, "ddddddddd"); }, 11},
      {"the longest shrinks below that line", [&] { store.Put(1, "bbbbbbbb"); }, 9},
      {"that line shrinks to the length of an earlier one", [&] { store.Put(3, "dddddddd"); }, 8},
      {"and further", [&] { store.Put(3, "d"); }, 8},
      {"the longest shrinks", [&] { store.Put(1, "b"); }, 6},
      {"an equal line appears earlier", [&] { store.Put(0, "123456"); }, 6},
      {"a long line inserted before it", [&] { store.Insert(0, "0123456789ab"); }, 12},
      {"an equal line inserted before it wins", [&] { store.Insert(0, "x23456789abc"), store.Delete(2); }, 12},
      {"lines inserted and deleted before it", [&] { store.InsertLines(0, 3), store.DeleteLines(0, 2); }, 12},
      {"the longest deleted", [&] { store.DeleteLines(1, 2); }, 6},
      {"lines deleted", [&] { store.DeleteLines(0, 1); }, 6},
      {"lines deleted to one", [&] { store.DeleteLines(0, store.Count() - 1); }, 1},
      {"lines inserted", [&] { store.InsertLines(0, 2); }, 1},
      {"empty lines only", [&] { store.Put(2, ""); }, 0},
      {"exchange keeps it", [&] { store.Put(0, "xyz"), store.Exchange(0, 2); }, 3},
      {"many replaced lines", [&] { for (int i = 0; i < 100; ++i) store.Put(i % 3, std::string(i % 7, 'q')); }, 6},
      {"rows inserted, one longer", [&] { store.InsertRows(1, std::vector<TSrcTextRow>{{"ab"}, {"0123456789abcd"}}); }, 14},
      {"that row shrinks below the line it passed", [&] { store.Put(2, "abcde"); }, 6},
      {"cleared", [&] { store.Clear(); }, 0},
  };
  for (const auto& step : steps) {
    step.Change();
    EXPECT_EQ(step.Longest, store.GetLengthOfLongestLine()) << step.Name;
  }
}

TEST(SrcEditStringListTest, TextLengthFollowsEveryChange) {
  TSrcEditStringList store;
  TStringList two;
  two.SetTextStr("uv\r\nwxyz");
  const std::function<void()> changes[] = {
      [&] { LoadText(store, "aaaa\nbb\n\ncccccc"); },
      [&] { store.Put(1, "bbbbbbb"); },
      [&] { store.Insert(0, "new"); },
      [&] { store.Add("added"); },
      [&] { store.AddStrings(two); },
      [&] { store.InsertLines(3, 2); },
      [&] { store.Delete(0); },
      [&] { store.DeleteLines(1, 3); },
      [&] { store.Exchange(0, 2); },
      [&] { store.InsertLines(1, 6), store.Add("tail"), store.DeleteLines(1, store.Count() - 3); },
      [&] { store.DeleteLines(2, store.Count()); },
      [&] { store.Clear(); },
      [&] { store.Add(""); },
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    changes[i]();
    EXPECT_EQ(store.GetTextStr().size(), store.TextLength()) << "after change " << i;
  }
}

TEST(SrcEditStringListTest, PutKeepsTheRangeAndForgetsTheExpansion) {
  TSrcEditStringList store;
  store.Add("abc");
  store.PutRange(0, 7);
  TObject marker;
  store.PutObject(0, &marker);
  EXPECT_EQ(3, store.GetExpandedStringLength(0));
  store.Put(0, "\tx");
  EXPECT_EQ(7, store.GetRange(0));
  EXPECT_EQ(&marker, store.GetObject(0));
  EXPECT_EQ(9, store.GetExpandedStringLength(0));
}

// The break a new line break takes where a line is split: the one that ends
// the line, the last line's the one in front of it, the only line's the
// file's style; where the text before the new break is empty and a lone CR
// stands in front of the line, a CR, since a lone LF there would read back
// as one CR LF break with the CR.
TEST(SrcEditStringListTest, ASplitTakesTheBreakOfTheLineItSplits) {
  const struct {
    const char* Name;
    const char* Bytes;
    int Index;
    bool EmptyBefore;
    TSrcEditFileFormat Break;
  } rows[] = {
      {"the break that ends the line", "a\nb\r\nc", 0, false, sffUnix},
      {"a CR LF that ends it", "a\nb\r\nc", 1, false, sffDos},
      {"the last line: the break in front", "a\nb\rc", 2, false, sffMac},
      {"the only line: the file's style", "abc", 0, false, sffDos},
      {"after a lone CR, empty before: a CR", "a\rb\nc", 1, true, sffMac},
      {"after a lone CR, text before: its LF", "a\rb\nc", 1, false, sffUnix},
      {"after a lone CR, a CR LF stays", "a\rb\r\nc", 1, true, sffDos},
      {"after an LF, empty before: its LF", "a\nb\nc", 1, true, sffUnix},
      {"the last line after a lone CR", "a\nb\rc", 2, true, sffMac},
      {"the first line has no break in front", "a\nb", 0, true, sffUnix},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TSrcEditStringList store;
    LoadText(store, row.Bytes);
    EXPECT_EQ(store.SplitBreak(row.Index, row.EmptyBefore), row.Break);
  }
}

TEST(SrcEditFileWriterTest, LinesLongerThanTheBufferAreWrittenWhole) {
  TMemoryStream stream;
  std::string huge(50000, 'h');
  TSrcEditFileWriter writer(stream);
  writer.SetFileFormat(sffUnix);
  writer.WriteLine("short");
  writer.WriteLine(huge);
  writer.Write("end");
  writer.Flush();
  EXPECT_EQ("short\n" + huge + "\nend", stream.DataString());
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

// A listener that writes its name and the change into a shared log.
struct NamedListener {
  std::string Name;
  std::vector<std::string>* Log;
  TSrcEditStringsListener Handlers;
  std::function<void()> OnInserted;  // runs after logging an insertion

  NamedListener(std::string name, std::vector<std::string>& log) : Name(std::move(name)), Log(&log) {
    Handlers.OnStoreChanging = TNotifyEvent(this, &NamedListener::Changing);
    Handlers.OnStoreChange = TNotifyEvent(this, &NamedListener::Change);
    Handlers.OnLinesCleared = TNotifyEvent(this, &NamedListener::Cleared);
    Handlers.OnLinesInserted = TStringListChangeEvent(this, &NamedListener::Inserted);
    Handlers.OnLinesDeleted = TStringListChangeEvent(this, &NamedListener::Deleted);
    Handlers.OnLinePut = TStringListChangeEvent(this, &NamedListener::Put);
  }
  void Changing(TObject*) { Log->push_back(Name + " changing"); }
  void Change(TObject*) { Log->push_back(Name + " change"); }
  void Cleared(TObject*) { Log->push_back(Name + " cleared"); }
  void Inserted(TObject*, int index, int count) {
    Log->push_back(Name + " inserted " + std::to_string(index) + "," + std::to_string(count));
    if (OnInserted) OnInserted();
  }
  void Deleted(TObject*, int index, int count) {
    Log->push_back(Name + " deleted " + std::to_string(index) + "," + std::to_string(count));
  }
  void Put(TObject*, int index, int count) {
    Log->push_back(Name + " put " + std::to_string(index) + "," + std::to_string(count));
  }
};

TEST(SrcEditStringListListenerTest, EachChangeReachesTheOwnerFirstThenTheListenersInTheOrderTheyCame) {
  TSrcEditStringList store;
  LoadText(store, "a\nb");
  EventLog owner;
  owner.Attach(store);
  std::vector<std::string> log;
  NamedListener first("first", log), second("second", log);
  store.AddListener(&second.Handlers);
  store.AddListener(&first.Handlers);
  store.AddListener(&second.Handlers);  // already there: still once
  EXPECT_EQ(2, store.ListenerCount());

  store.Put(1, "x");
  store.Delete(0);
  store.Clear();
  EXPECT_EQ((std::vector<std::string>{"changing", "put 1,1", "change", "changing", "deleted 0,1", "change",
                                      "changing", "cleared", "change"}),
            owner.Entries);
  EXPECT_EQ((std::vector<std::string>{"second changing", "first changing", "second put 1,1", "first put 1,1",
                                      "second change", "first change", "second changing", "first changing",
                                      "second deleted 0,1", "first deleted 0,1", "second change", "first change",
                                      "second changing", "first changing", "second cleared", "first cleared",
                                      "second change", "first change"}),
            log);
}

TEST(SrcEditStringListListenerTest, ListenersLeaveByIdentityInAnyOrder) {
  // Three listeners join in order; they leave in every order, and after each
  // departure exactly the ones still there hear an insertion, in join order.
  std::vector<int> order = {0, 1, 2};
  do {
    TSrcEditStringList store;
    std::vector<std::string> log;
    NamedListener listeners[3] = {{"0", log}, {"1", log}, {"2", log}};
    for (auto& listener : listeners) store.AddListener(&listener.Handlers);
    std::vector<bool> present(3, true);
    for (int leaving : order) {
      store.RemoveListener(&listeners[leaving].Handlers);
      store.RemoveListener(&listeners[leaving].Handlers);  // a second time: nothing
      present[static_cast<size_t>(leaving)] = false;
      log.clear();
      store.InsertLines(0, 1);
      std::vector<std::string> expected;
      for (int i = 0; i < 3; ++i)
        if (present[static_cast<size_t>(i)]) expected.push_back(std::to_string(i) + " inserted 0,1");
      std::erase_if(log, [](const std::string& entry) { return entry.find("inserted") == std::string::npos; });
      EXPECT_EQ(expected, log);
    }
    EXPECT_EQ(0, store.ListenerCount());
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(SrcEditStringListListenerTest, AListenerMayRemoveOthersAndJoinNewOnesWhileItIsTold) {
  TSrcEditStringList store;
  std::vector<std::string> log;
  NamedListener first("first", log), second("second", log), third("third", log), late("late", log);
  // first takes itself and third out and brings late in; third is no longer
  // told, late hears the next change only.
  first.OnInserted = [&] {
    store.RemoveListener(&first.Handlers);
    store.RemoveListener(&third.Handlers);
    store.AddListener(&late.Handlers);
  };
  store.AddListener(&first.Handlers);
  store.AddListener(&second.Handlers);
  store.AddListener(&third.Handlers);
  store.InsertLines(0, 1);
  store.InsertLines(0, 2);
  std::erase_if(log, [](const std::string& entry) { return entry.find("inserted") == std::string::npos; });
  EXPECT_EQ((std::vector<std::string>{"first inserted 0,1", "second inserted 0,1", "second inserted 0,2",
                                      "late inserted 0,2"}),
            log);
  EXPECT_EQ(2, store.ListenerCount());
}

TEST(SrcEditStringListListenerTest, AnUnsetHandlerIsSkipped) {
  TSrcEditStringList store;
  std::vector<std::string> log;
  NamedListener listener("only", log);
  listener.Handlers.OnStoreChanging = nullptr;
  listener.Handlers.OnStoreChange = nullptr;
  store.AddListener(&listener.Handlers);
  store.Add("x");
  EXPECT_EQ((std::vector<std::string>{"only inserted 0,1"}), log);
}

}  // namespace
}  // namespace vk
