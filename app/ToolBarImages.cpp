#include "app/ToolBarImages.h"

#include <array>

#include "platform/Bitmaps.h"
#include "platform/ImageList.h"

namespace vk {

namespace {

using TPicture16 = std::array<const char*, 16>;

// One letter per pixel; '.' is left out when drawn.
TColorRef PaletteColor(char c) {
  switch (c) {
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(255, 255, 255);
    case 'g': return RGB(192, 192, 192);
    case 'd': return RGB(128, 128, 128);
    case 'y': return RGB(250, 214, 90);
    case 'o': return RGB(200, 150, 40);
    case 'b': return RGB(30, 90, 200);
    case 'n': return RGB(20, 40, 120);
    case 'r': return RGB(200, 30, 30);
    case 'G': return RGB(0, 128, 0);
    case 'c': return RGB(170, 210, 240);
    default: return RGB(255, 0, 255);
  }
}

constexpr TPicture16 kNew = {
    "................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkgk....",
    "..kwwwwwwkggk...", "..kwwwwwwkkkkk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................",
};
constexpr TPicture16 kOpen = {
    "................", "................", "................", ".kkkkk..........",
    "kyyyyyk.........", "kyyyyyykkkkkkk..", "kyyyyyyyyyyyyk..", "kyyykkkkkkkkkkkk",
    "kyykoooooooooook", "kyykooooooooook.", "kykoooooooooook.", "kykooooooooook..",
    "kkoooooooooook..", "kkkkkkkkkkkkk...", "................", "................",
};
constexpr TPicture16 kSave = {
    "................", ".kkkkkkkkkkkkkk.", ".knwwwwwwwwwwnk.", ".knwwwwwwwwwwnk.",
    ".knwwwwwwwwwwnk.", ".knwwwwwwwwwwnk.", ".knnnnnnnnnnnnk.", ".knnnnnnnnnnnnk.",
    ".knnggggggggnnk.", ".knnggddggggnnk.", ".knnggddggggnnk.", ".knnggddggggnnk.",
    ".knnggggggggnnk.", ".kkkkkkkkkkkkkk.", "................", "................",
};
constexpr TPicture16 kUndo = {
    "................", "................", "....b...........", "...bb...........",
    "..bbbbbbbbbb....", ".bbbbbbbbbbbbb..", "..bbbbbbbbbbbbb.", "...bb.......bbb.",
    "....b........bb.", ".............bb.", ".............bb.", "............bbb.",
    "..........bbbb..", "..........bbb...", "................", "................",
};
constexpr TPicture16 kCommentIn = {
    "................", ".....G..........", ".....G..........", "....G...........",
    "....G....G.G.G..", "...G......GGG...", "...G.....GGGGG..", "..G.......GGG...",
    "..G......G.G.G..", ".G..............", ".G..............", "G...............",
    "................", "..dddddddddddd..", "................", "................",
};
constexpr TPicture16 kCommentOut = {
    "................", ".....G..........", ".....G..........", "....G...........",
    "....G....G.G.G..", "...G......GGG...", "...G.....GGGGG..", "..G.......GGG...",
    "..G......G.G.G..", ".G..............", "rr..........rr..", "..rr......rr....",
    "....rr..rr......", "......rr........", "....rr..rr......", "..rr......rr....",
};
constexpr TPicture16 kLineNumbers = {
    "................", "..kk............", "...k..ddddddddd.", "...k............",
    "..kkk...........", "................", "..kk............", "....k.ddddddddd.",
    "...k............", "..kkk...........", "................", "..kk............",
    "....k.ddddddddd.", "...k............", "..kk............", "................",
};
constexpr TPicture16 kFontLarger = {
    "................", "....kkkkk.......", "...kccccck......", "..kcccbccck.....",
    "..kcccbccck.....", "..kcbbbbbck.....", "..kcccbccck.....", "..kcccbccck.....",
    "...kccccck......", "....kkkkkdk.....", "..........dkk...", "...........dkk..",
    "............dkk.", ".............dk.", "................", "................",
};
constexpr TPicture16 kFontSmaller = {
    "................", "....kkkkk.......", "...kccccck......", "..kcccccccK.....",
    "..kccccccck.....", "..kcbbbbbck.....", "..kccccccck.....", "..kccccccck.....",
    "...kccccck......", "....kkkkkdk.....", "..........dkk...", "...........dkk..",
    "............dkk.", ".............dk.", "................", "................",
};
constexpr TPicture16 kMcuImage = {
    "................", "...g.g.g.g.g....", "...g.g.g.g.g....", "..kkkkkkkkkkk...",
    "..kdddddddddk...", "..kdwddddddddk..", "..kdddddddddk...", "..kdddddddddk...",
    "..kdddddddddk...", "..kdddddddddk...", "..kdddddddddk...", "..kkkkkkkkkkk...",
    "...g.g.g.g.g....", "...g.g.g.g.g....", "................", "................",
};
constexpr TPicture16 kFind = {
    "................", "....kkkkk.......", "...kcwcccK......", "..kcwcccccK.....",
    "..kcwccccck.....", "..kccccccck.....", "..kccccccck.....", "..kccccccck.....",
    "...kccccck......", "....kkkkkdk.....", "..........dkk...", "...........dkk..",
    "............dkk.", ".............dk.", "................", "................",
};
// A green arrow pointing right: start the build.
constexpr TPicture16 kRun = {
    "................", "................", "...kk...........", "...kGk..........",
    "...kGGk.........", "...kGGGk........", "...kGGGGk.......", "...kGGGGGk......",
    "...kGGGGGk......", "...kGGGGk.......", "...kGGGk........", "...kGGk.........",
    "...kGk..........", "...kk...........", "................", "................",
};
// A page whose top lines are a comment block, with a green plus (the block
// inserted) or a red cross (taken away).
constexpr TPicture16 kProjectNameInsert = {
    "kkkkkkkkkk......", "kwwwwwwwwkk.....", "kwGGGGGGwkgk....", "kwwwwwwwwkkkk...",
    "kwGGGGGGGGGwk...", "kwwwwwwwwwwwk...", "kwGGGGGGGGGwk...", "kwwwwwwwwwwwk...",
    "kwddddddd.......", "kwwwwwww...GG...", "kwddddd.....GG..", "kwwwwwww.GGGGGG.",
    "kwddddddd.GGGGGG", "kwwwwwww....GG..", "kkkkkkkkk...GG..", "................",
};
constexpr TPicture16 kProjectNameDelete = {
    "kkkkkkkkkk......", "kwwwwwwwwkk.....", "kwGGGGGGwkgk....", "kwwwwwwwwkkkk...",
    "kwGGGGGGGGGwk...", "kwwwwwwwwwwwk...", "kwGGGGGGGGGwk...", "kwwwwwwwwwwwk...",
    "kwddddddd.......", "kwwwwwww.rr..rr.", "kwddddd...rrrr..", "kwwwwwww...rr...",
    "kwddddddd.rrrr..", "kwwwwwww.rr..rr.", "kkkkkkkkk.......", "................",
};
constexpr TPicture16 kEmpty = {
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "................", "................",
};

// The side panel's trees: a closed folder (the open one is kOpen), pages
// marked C and H for sources and headers, and a diamond for the rest.
constexpr TPicture16 kFolder = {
    "................", "................", ".kkkkk..........", "kyyyyyk.........",
    "kyyyyyykkkkkkkk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.",
    "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.",
    "kooooooooooooook", ".kkkkkkkkkkkkkk.", "................", "................",
};
constexpr TPicture16 kCSource = {
    "................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkgk....",
    "..kwwwwwwkkkk...", "..kwwwwwwwwwk...", "..kwwbbbbwwwk...", "..kwbbwwbbwwk...",
    "..kwbbwwwwwwk...", "..kwbbwwwwwwk...", "..kwbbwwbbwwk...", "..kwwbbbbwwwk...",
    "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................", "................",
};
constexpr TPicture16 kHeader = {
    "................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkgk....",
    "..kwwwwwwkkkk...", "..kwwwwwwwwwk...", "..kwGGwwGGwwk...", "..kwGGwwGGwwk...",
    "..kwGGGGGGwwk...", "..kwGGGGGGwwk...", "..kwGGwwGGwwk...", "..kwGGwwGGwwk...",
    "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................", "................",
};
constexpr TPicture16 kMember = {
    "................", "................", "................", "................",
    ".......r........", "......rrr.......", ".....rrrrr......", "....rrrrrrr.....",
    ".....rrrrr......", "......rrr.......", ".......r........", "................",
    "................", "................", "................", "................",
};

constexpr bool SixteenBySixteen(const TPicture16& picture) {
  for (const char* row : picture) {
    int length = 0;
    while (row[length]) ++length;
    if (length != 16) return false;
  }
  return true;
}
static_assert(SixteenBySixteen(kNew) && SixteenBySixteen(kOpen) && SixteenBySixteen(kSave) &&
              SixteenBySixteen(kUndo) && SixteenBySixteen(kCommentIn) && SixteenBySixteen(kCommentOut) &&
              SixteenBySixteen(kLineNumbers) && SixteenBySixteen(kFontLarger) && SixteenBySixteen(kFontSmaller) &&
              SixteenBySixteen(kMcuImage) && SixteenBySixteen(kFind) && SixteenBySixteen(kRun) &&
              SixteenBySixteen(kProjectNameInsert) && SixteenBySixteen(kProjectNameDelete) &&
              SixteenBySixteen(kEmpty) &&
              SixteenBySixteen(kFolder) && SixteenBySixteen(kCSource) && SixteenBySixteen(kHeader) &&
              SixteenBySixteen(kMember));

void AddPicture(TImageList& images, const TPicture16& picture, bool mirrored = false) {
  TBitmap bitmap;
  bitmap.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const char* row = picture[static_cast<size_t>(y)];
      bitmap.SetPixel(x, y, PaletteColor(row[mirrored ? 15 - x : x]));
    }
  images.Add(bitmap, clFuchsia);
}

}  // namespace

void AddToolBarImages(TImageList& images) {
  AddPicture(images, kNew);
  AddPicture(images, kOpen);
  AddPicture(images, kSave);
  AddPicture(images, kUndo);
  AddPicture(images, kUndo, true);
  AddPicture(images, kCommentIn);
  AddPicture(images, kCommentOut);
  AddPicture(images, kLineNumbers);
  AddPicture(images, kFontLarger);
  AddPicture(images, kFontSmaller);
  AddPicture(images, kMcuImage);
  AddPicture(images, kFind);
  AddPicture(images, kRun);
  while (images.Count() < tiProjectNameInsert) AddPicture(images, kEmpty);
  AddPicture(images, kProjectNameInsert);
  AddPicture(images, kProjectNameDelete);
}

void AddFolderImages(TImageList& images) {
  AddPicture(images, kFolder);
  AddPicture(images, kOpen);
}

void AddProjectTreeImages(TImageList& images) {
  AddPicture(images, kNew);
  AddPicture(images, kCSource);
  AddPicture(images, kHeader);
  AddPicture(images, kMember);
}

}  // namespace vk
