#include "SrcEdit/Source/SrcEditKbdHandler.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace vk {
namespace {

// A hook that writes its name into a shared log and does what the test asks.
struct THook {
  THook(std::string name, std::string* log) : Name(std::move(name)), Log(log) {}
  std::string Name;
  std::string* Log;
  std::function<void()> Action;
  uint16_t NewKey = 0xFFFF;  // key to leave behind; 0xFFFF keeps it
  char NewChar = '\x7F';
  TCursor NewCursor = crDefault;

  void KeyDown(TObject*, uint16_t& key, TShiftState) { Run(key); }
  void KeyPress(TObject*, char& key) {
    *Log += Name;
    if (NewChar != '\x7F') key = NewChar;
    if (Action) Action();
  }
  void Mouse(TObject*, TMouseButton button, TShiftState shift, int x, int y) {
    *Log += Name + std::to_string(button) + std::to_string(shift.Mask()) + std::to_string(x) + std::to_string(y);
    if (Action) Action();
  }
  void Cursor(TObject*, const TBufferCoord& pos, TCursor& cursor) {
    *Log += Name + std::to_string(pos.Char) + std::to_string(pos.Line) + "(" + std::to_string(cursor) + ")";
    cursor = NewCursor;
  }
  void Run(uint16_t& key) {
    *Log += Name;
    if (NewKey != 0xFFFF) key = NewKey;
    if (Action) Action();
  }
  TKeyEvent OnKey() { return TKeyEvent(this, &THook::KeyDown); }
  TKeyPressEvent OnPress() { return TKeyPressEvent(this, &THook::KeyPress); }
  TMouseEvent OnMouse() { return TMouseEvent(this, &THook::Mouse); }
  TMouseCursorEvent OnCursor() { return TMouseCursorEvent(this, &THook::Cursor); }
};

struct KbdHandlerTest : testing::Test {
  TSrcEditKbdHandler handler;
  std::string log;
  THook a{"A", &log}, b{"B", &log}, c{"C", &log};
};

TEST_F(KbdHandlerTest, KeyChainsRunFromLastToFirstAndStopWhenTheKeyIsTaken) {
  struct Case {
    uint16_t bKey;  // what B leaves
    const char* calls;
    uint16_t key;
  } cases[] = {{0xFFFF, "CBA", 'X'}, {'Y', "CBA", 'Y'}, {0, "CB", 0}};
  for (const Case& test : cases) {
    TSrcEditKbdHandler chains;
    for (THook* hook : {&a, &b, &c}) {
      chains.AddKeyDownHandler(hook->OnKey());
      chains.AddKeyUpHandler(hook->OnKey());
    }
    b.NewKey = test.bKey;
    for (bool down : {true, false}) {
      log.clear();
      uint16_t key = 'X';
      if (down) chains.ExecuteKeyDown(nullptr, key, {ssCtrl});
      else chains.ExecuteKeyUp(nullptr, key, {ssCtrl});
      EXPECT_EQ(test.calls, log) << down;
      EXPECT_EQ(test.key, key);
    }
  }
}

TEST_F(KbdHandlerTest, KeyPressStopsAtNul) {
  for (THook* hook : {&a, &b, &c}) handler.AddKeyPressHandler(hook->OnPress());
  c.NewChar = 'q';
  char key = 'x';
  handler.ExecuteKeyPress(nullptr, key);
  EXPECT_EQ("CBA", log);
  EXPECT_EQ('q', key);
  b.NewChar = '\0';
  log.clear();
  handler.ExecuteKeyPress(nullptr, key);
  EXPECT_EQ("CB", log);
  EXPECT_EQ('\0', key);
}

TEST_F(KbdHandlerTest, MouseChainsCallEveryHandler) {
  handler.AddMouseDownHandler(a.OnMouse());
  handler.AddMouseDownHandler(b.OnMouse());
  handler.AddMouseUpHandler(c.OnMouse());
  handler.ExecuteMouseDown(nullptr, mbRight, {ssShift}, 3, 4);
  EXPECT_EQ("B1134A1134", log);
  log.clear();
  handler.ExecuteMouseUp(nullptr, mbLeft, {}, 5, 6);
  EXPECT_EQ("C0056", log);

  handler.AddMouseCursorHandler(a.OnCursor());
  handler.AddMouseCursorHandler(b.OnCursor());
  a.NewCursor = crArrow;
  b.NewCursor = crDefault;  // does not stop the chain
  log.clear();
  TCursor cursor = crIBeam;
  handler.ExecuteMouseCursor(nullptr, {7, 8}, cursor);
  EXPECT_EQ("B78(-4)A78(0)", log);
  EXPECT_EQ(crArrow, cursor);
}

TEST_F(KbdHandlerTest, EmptyChainsChangeNothing) {
  uint16_t key = VK_F1;
  char ch = 'a';
  TCursor cursor = crIBeam;
  handler.ExecuteKeyDown(nullptr, key, {});
  handler.ExecuteKeyUp(nullptr, key, {});
  handler.ExecuteKeyPress(nullptr, ch);
  handler.ExecuteMouseDown(nullptr, mbLeft, {}, 0, 0);
  handler.ExecuteMouseUp(nullptr, mbLeft, {}, 0, 0);
  handler.ExecuteMouseCursor(nullptr, {1, 1}, cursor);
  EXPECT_EQ(VK_F1, key);
  EXPECT_EQ('a', ch);
  EXPECT_EQ(crIBeam, cursor);
}

TEST_F(KbdHandlerTest, AChainIsNotReenteredButOthersRun) {
  handler.AddKeyDownHandler(a.OnKey());
  handler.AddKeyPressHandler(b.OnPress());
  a.Action = [&] {
    uint16_t again = 'Y';
    char ch = 'y';
    handler.ExecuteKeyDown(nullptr, again, {});
    handler.ExecuteKeyPress(nullptr, ch);
  };
  uint16_t key = 'X';
  handler.ExecuteKeyDown(nullptr, key, {});
  EXPECT_EQ("AB", log);
}

TEST_F(KbdHandlerTest, AHandlerThatRaisesEndsTheRunButNotTheChain) {
  handler.AddKeyDownHandler(a.OnKey());
  handler.AddKeyDownHandler(b.OnKey());
  b.Action = [] { throw std::runtime_error("hook failed"); };
  uint16_t key = 'X';
  EXPECT_THROW(handler.ExecuteKeyDown(nullptr, key, {}), std::runtime_error);
  b.Action = nullptr;
  log.clear();
  handler.ExecuteKeyDown(nullptr, key, {});
  EXPECT_EQ("BA", log);
}

TEST_F(KbdHandlerTest, RemovingTakesTheLaterCopyOfAHandler) {
  TMethodList<TKeyEvent> list;
  list.Add(a.OnKey());
  list.Add(b.OnKey());
  list.Add(a.OnKey());
  list.Remove(a.OnKey());
  ASSERT_EQ(2, list.Count());
  EXPECT_TRUE(list.Items(0) == a.OnKey());
  EXPECT_TRUE(list.Items(1) == b.OnKey());
  list.Remove(c.OnKey());
  EXPECT_EQ(2, list.Count());
  EXPECT_THROW(list.Items(2), EListError);
  EXPECT_THROW(list.Items(-1), EListError);
}

TEST_F(KbdHandlerTest, HandlersMayChangeTheChainWhileItRuns) {
  struct Case {
    const char* name;
    std::function<void()> cAction;
    const char* firstRun;
    const char* secondRun;
  } cases[] = {
      {"C removes A", [&] { handler.RemoveKeyDownHandler(a.OnKey()); }, "CB", "CB"},
      {"C removes itself", [&] { handler.RemoveKeyDownHandler(c.OnKey()); }, "CBA", "BA"},
      {"C removes everything",
       [&] {
         for (THook* hook : {&a, &b, &c}) handler.RemoveKeyDownHandler(hook->OnKey());
       },
       "C", ""},
      {"C adds B again", [&] { handler.AddKeyDownHandler(b.OnKey()); }, "CBA", "BCBA"},
  };
  for (const Case& test : cases) {
    for (THook* hook : {&a, &b, &c}) handler.AddKeyDownHandler(hook->OnKey());
    c.Action = test.cAction;
    uint16_t key = 'X';
    log.clear();
    handler.ExecuteKeyDown(nullptr, key, {});
    EXPECT_EQ(test.firstRun, log) << test.name;
    c.Action = nullptr;
    log.clear();
    handler.ExecuteKeyDown(nullptr, key, {});
    EXPECT_EQ(test.secondRun, log) << test.name;
    for (int i = 0; i < 4; ++i)
      for (THook* hook : {&a, &b, &c}) handler.RemoveKeyDownHandler(hook->OnKey());
  }
}

TEST_F(KbdHandlerTest, AHandlerFreedDuringTheRunIsNotCalled) {
  auto doomed = std::make_unique<THook>("D", &log);
  handler.AddMouseDownHandler(doomed->OnMouse());
  handler.AddMouseDownHandler(a.OnMouse());
  a.Action = [&] {
    handler.RemoveMouseDownHandler(doomed->OnMouse());
    doomed.reset();
  };
  handler.ExecuteMouseDown(nullptr, mbLeft, {}, 1, 2);
  EXPECT_EQ("A0012", log);
}

}  // namespace
}  // namespace vk
