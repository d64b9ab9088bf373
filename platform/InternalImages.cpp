// The image resources of the editor, drawn for this system as pixel text:
// one character per pixel, each character a colour of the 16-colour palette.

#include <string>

#include "platform/Bitmaps.h"

namespace vk {

namespace {

TColorRef PaletteColor(char c) {
  switch (c) {
    case '#': return ColorToRGB(clNavy);
    case 'y': return ColorToRGB(clYellow);
    case 's': return ColorToRGB(clGray);
    case 'g': return ColorToRGB(clLime);
    default: return ColorToRGB(clSilver);
  }
}

void Paint(TBitmap& bitmap, int left, int top, const char* const* rows, int rowCount) {
  for (int y = 0; y < rowCount; ++y)
    for (int x = 0; rows[y][x]; ++x) bitmap.SetPixel(left + x, top + y, PaletteColor(rows[y][x]));
}

// A bookmark tag: a yellow card with a navy border and a shadow; the digit
// goes into its middle.
constexpr const char* BookmarkFrame[] = {
    ".#########.", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#",
    "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", "#yyyyyyyyy#", ".#########s", "..sssssssss",
};

// The digits 0..9, 5 by 7 pixels, '#' set.
constexpr const char* Digits[10][7] = {
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
};

// Ten bookmark glyphs of 11 x 14 pixels side by side, glyph n showing n.
void BookmarkStrip(TBitmap& bitmap) {
  constexpr int GlyphWidth = 11, GlyphHeight = 14;
  bitmap.SetSize(10 * GlyphWidth, GlyphHeight);
  for (int n = 0; n < 10; ++n) {
    Paint(bitmap, n * GlyphWidth, 0, BookmarkFrame, GlyphHeight);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 5; ++x)
        if (Digits[n][y][x] == '#') bitmap.SetPixel(n * GlyphWidth + 3 + x, 3 + y, PaletteColor('#'));
  }
}

// The mark at the start of a continued (wrapped) row: an arrow coming down
// and turning left, on lime, the colour the editor masks out.
constexpr const char* WrapArrow[] = {
    "ggggggggggggggg", "ggggggggggg##gg", "ggggggggggg##gg", "ggggggggggg##gg", "ggggggggggg##gg",
    "gggg#gggggg##gg", "ggg##gggggg##gg", "gg###gggggg##gg", "g############gg", "g############gg",
    "gg###gggggggggg", "ggg##gggggggggg", "gggg#gggggggggg", "ggggggggggggggg",
};

void WrapGlyph(TBitmap& bitmap) {
  bitmap.SetSize(15, 14);
  Paint(bitmap, 0, 0, WrapArrow, 14);
}

}  // namespace

bool Resources::LoadImage(const std::string& name, TBitmap& bitmap) {
  if (SameText(name, "SrcEditInternalImages")) {
    BookmarkStrip(bitmap);
    return true;
  }
  if (SameText(name, "SrcEditWrapped")) {
    WrapGlyph(bitmap);
    return true;
  }
  return false;
}

}  // namespace vk
