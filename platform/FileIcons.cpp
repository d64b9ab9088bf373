#include "platform/FileIcons.h"

#include <algorithm>

#include "platform/FilePaths.h"

namespace vk {

namespace {

const TColorRef Clear = RGB(255, 0, 255);

struct TKind {
  const char* Key;
  const char* Extensions;  // ";"-separated, lower case, each with its dot
  TColorRef Band;
};

const TKind Kinds[] = {
    {"c", ".c;.cpp;.cc", RGB(0, 102, 204)},
    {"h", ".h;.hpp", RGB(102, 0, 204)},
    {"asm", ".s;.asm", RGB(204, 102, 0)},
    {"binary", ".hex;.rom;.a90;.eep;.elf;.o;.obj;.cof", RGB(96, 96, 96)},
    {"text", ".txt;.lst;.map;.lss;.ini", RGB(0, 153, 51)},
    {"make", "", RGB(204, 0, 0)},
};

// A page with a folded corner and a coloured band for its kind.
void DrawPage(TBitmap& b, int s, TColorRef band) {
  int left = s / 8, right = s - s / 8, fold = s / 4;
  for (int y = 0; y < s; ++y)
    for (int x = left; x < right; ++x) {
      if (x >= right - fold + y) continue;  // the cut corner
      bool edge = x == left || x == right - 1 || y == 0 || y == s - 1 || x == right - fold + y - 1;
      b.SetPixel(x, y, edge ? RGB(64, 64, 64) : RGB(255, 255, 255));
    }
  if (band != RGB(255, 255, 255)) b.Fill(Rect(left + 1, s / 2, right - 1, s / 2 + std::max(2, s / 5)), band);
}

void DrawFolder(TBitmap& b, int s) {
  b.Fill(Rect(0, s / 8, s / 2, s / 4), RGB(204, 153, 0));
  b.Fill(Rect(0, s / 4, s, s - s / 8), RGB(204, 153, 0));
  b.Fill(Rect(1, s / 4 + 1, s - 1, s - s / 8 - 1), RGB(255, 204, 51));
}

void Draw(const std::string& key, TBitmap& b, int s) {
  b.SetSize(s, s);
  b.Fill(Rect(0, 0, s, s), Clear);
  b.SetTransparentColor(static_cast<TColor>(Clear));
  b.SetTransparent(true);
  if (key == "folder") return DrawFolder(b, s);
  TColorRef band = RGB(255, 255, 255);
  for (const TKind& kind : Kinds)
    if (key == kind.Key) band = kind.Band;
  DrawPage(b, s, band);
}

}  // namespace

std::string TFixedFileIcons::IconKey(const std::string& fileName) {
  if (DirectoryExists(fileName)) return "folder";
  std::string name = LowerCase(ExtractFileName(fileName));
  std::string ext = ExtractFileExt(name);
  if (name == "makefile" || name.rfind("makefile.", 0) == 0) return "make";
  for (const TKind& kind : Kinds) {
    std::string list = std::string(kind.Extensions) + ";";
    if (!ext.empty() && list.find(ext + ";") != std::string::npos) return kind.Key;
  }
  return "file";
}

void TFixedFileIcons::IconImages(const std::string& key, TBitmap& small, TBitmap& large) {
  Draw(key, small, 16);
  Draw(key, large, 32);
}

TFileIcons::TFileIcons() { SetSource(nullptr); }
TFileIcons::~TFileIcons() = default;

void TFileIcons::SetSource(std::unique_ptr<TFileIconSource> source) {
  FSource = source ? std::move(source) : std::make_unique<TFixedFileIcons>();
  FSmall.Clear();
  FLarge.Clear();
  FKeys.clear();
}

int TFileIcons::IconIndex(const std::string& fileName) {
  std::string key = FSource->IconKey(fileName);
  auto known = std::find(FKeys.begin(), FKeys.end(), key);
  if (known != FKeys.end()) return static_cast<int>(known - FKeys.begin());
  TBitmap small, large;
  FSource->IconImages(key, small, large);
  FSmall.Add(small, small.Transparent() ? small.TransparentColor() : clNone);
  FLarge.Add(large, large.Transparent() ? large.TransparentColor() : clNone);
  FKeys.push_back(key);
  return static_cast<int>(FKeys.size()) - 1;
}

TFileIcons& FileIcons() {
  static TFileIcons icons;
  return icons;
}

}  // namespace vk
