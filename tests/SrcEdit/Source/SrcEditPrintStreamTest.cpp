// The print settings stream: round trips, cut and lying records, and random
// damage to the readers of margins, header and footer and the component.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "SrcEdit/Source/SrcEditPrint.h"

namespace vk {
namespace {

template <class T>
std::string Saved(const T& object) {
  TMemoryStream stream;
  object.SaveToStream(stream);
  return stream.DataString();
}

template <class T>
void Load(T& object, const std::string& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  object.LoadFromStream(stream);
}

// Every record cut short raises EReadError and leaves the object as it was.
template <class T>
void ExpectEveryCutRefused(T& target, const std::string& bytes) {
  std::string before = Saved(target);
  for (size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_THROW(Load(target, bytes.substr(0, length)), EReadError) << length;
    ASSERT_EQ(Saved(target), before) << length;
  }
}

void Put32(std::string& bytes, size_t offset, int32_t value) { std::memcpy(bytes.data() + offset, &value, 4); }

TEST(PrintStreamTest, MarginsKeepEveryBitInEightyTwoBytes) {
  TSrcEditPrintMargins margins;
  const double odd[] = {-0.0, std::numeric_limits<double>::quiet_NaN(), 1e300, 4.9e-324, -7.25};
  margins.SetLeft(odd[0]);
  margins.SetRight(odd[1]);
  margins.SetTop(odd[2]);
  margins.SetGutter(odd[3]);
  margins.SetFooter(odd[4]);
  margins.SetMirrorMargins(true);
  margins.SetUnitSystem(muThousandthsOfInches);
  std::string bytes = Saved(margins);
  ASSERT_EQ(bytes.size(), 82u);
  TSrcEditPrintMargins copy;
  Load(copy, bytes);
  EXPECT_EQ(Saved(copy), bytes);
  EXPECT_TRUE(copy.MirrorMargins());
  ExpectEveryCutRefused(copy, bytes);

  // An unknown unit leaves lengths as they are.
  bytes[0] = 9;
  Load(copy, bytes);
  EXPECT_EQ(copy.GetFooter(), -7.25);
}

void FillSample(THeaderFooter& header) {
  header.SetFrameTypes({ftBox, ftShaded});
  header.SetShadedColor(clAqua);
  header.SetRomanNumbers(true);
  header.DefaultFont().SetName("Mono");
  TFont font;
  font.SetName("Serif");
  font.SetSize(14);
  font.SetStyle({fsBold, fsUnderline});
  header.Add("Page $PAGENUM$", &font, taRightJustify, 2);
  header.Add("$TITLE$", nullptr, taCenter, 1);
}

TEST(PrintStreamTest, HeaderFooterRoundTripAppendsAndRefusesDamage) {
  THeader header;
  FillSample(header);
  std::string bytes = Saved(header);
  TFooter footer;
  footer.Add("a", nullptr, taLeftJustify, 1);
  footer.Add("b", nullptr, taLeftJustify, 1);
  Load(footer, bytes);
  ASSERT_EQ(footer.Count(), 4);
  EXPECT_EQ(footer.Type(), hftFooter);
  EXPECT_EQ(footer.FrameTypes(), (TFrameTypes{ftBox, ftShaded}));
  EXPECT_EQ(footer.DefaultFont().Name(), "Mono");
  const THeaderFooterItem& item = footer.Get(2);
  EXPECT_EQ(item.Text(), "Page $PAGENUM$");
  EXPECT_EQ(item.Font().Name(), "Serif");
  EXPECT_EQ(item.Font().Size(), 14);
  EXPECT_EQ(item.Font().Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(item.Alignment(), taRightJustify);
  EXPECT_EQ(item.LineNumber(), 2);

  ExpectEveryCutRefused(footer, bytes);
  // The default font's name length is at 20; the item count follows the
  // name "Mono" and the rest of the font, at 34; the first item's text
  // length at 38.
  std::string lying = bytes;
  Put32(lying, 20, 1 << 30);
  EXPECT_THROW(Load(footer, lying), EReadError);
  lying = bytes;
  Put32(lying, 34, 1 << 30);
  EXPECT_THROW(Load(footer, lying), EReadError);
  lying = bytes;
  Put32(lying, 38, -1);
  EXPECT_THROW(Load(footer, lying), EReadError);
  EXPECT_EQ(footer.Count(), 4);
  lying = bytes.substr(0, 38);
  Put32(lying, 34, -3);  // no items
  Load(footer, lying);
  EXPECT_EQ(footer.Count(), 4);
}

TEST(PrintStreamTest, ComponentRoundTripRestoresTheStoredSettingsOnly) {
  TSrcEditPrint source(nullptr);
  FillSample(source.Header());
  source.Footer().Add("$DATE$", nullptr, taLeftJustify, 1);
  source.Margins().SetLeft(31.5);
  source.SetTitle("Title");
  source.SetDocTitle("Doc");
  source.SetWrap(false);
  source.SetHighlight(false);
  source.SetColors(true);
  source.SetLineNumbers(true);
  source.SetLineOffset(-4);
  source.SetPageOffset(7);
  source.SetCopies(3);
  std::string bytes = Saved(source);

  TSrcEditPrint target(nullptr);
  target.SetCopies(2);
  target.SetTabWidth(3);
  target.SetColor(clYellow);
  target.Font().SetSize(20);
  Load(target, bytes);
  Load(target, bytes);  // a second load replaces, it does not add
  EXPECT_EQ(Saved(target), bytes);
  EXPECT_EQ(target.Header().Count(), 2);
  EXPECT_EQ(target.Footer().Count(), 1);
  EXPECT_EQ(target.Footer().Type(), hftFooter);
  EXPECT_EQ(target.Margins().GetLeft(), 31.5);
  EXPECT_EQ(target.DocTitle(), "Doc");
  EXPECT_EQ(target.PageOffset(), 7);
  EXPECT_EQ(target.Copies(), 2);
  EXPECT_EQ(target.TabWidth(), 3);
  EXPECT_EQ(target.Color(), clYellow);
  EXPECT_EQ(target.Font().Size(), 20);

  ExpectEveryCutRefused(target, bytes);
  // A title cut at its first zero byte.
  std::string zero = bytes;
  size_t title = zero.find("Title");
  zero[title + 2] = '\0';
  Load(target, zero);
  EXPECT_EQ(target.Title(), "Ti");
}

// Random damage: every load either succeeds or raises EReadError, and a
// refused one changes nothing. Runs under the sanitizers in CI.
TEST(PrintStreamTest, DamagedStreamsNeverCrashTheReaders) {
  TSrcEditPrint source(nullptr);
  FillSample(source.Header());
  source.Footer().Add("x", nullptr, taLeftJustify, 1);
  const std::string valid = Saved(source);
  std::mt19937 random(20240607);
  auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = valid;
    switch (round % 4) {
      case 0:  // flipped bytes
        for (int i = 0; i < 4; ++i) bytes[pick(bytes.size())] ^= static_cast<char>(1 + pick(255));
        break;
      case 1:  // a lying 32-bit value anywhere
        Put32(bytes, pick(bytes.size() - 3), static_cast<int32_t>(random()));
        break;
      case 2:  // cut, then flipped
        bytes.resize(pick(bytes.size()));
        if (!bytes.empty()) bytes[pick(bytes.size())] ^= 0x40;
        break;
      default:  // noise
        bytes.resize(pick(400));
        for (char& c : bytes) c = static_cast<char>(random());
    }
    TSrcEditPrint target(nullptr);
    THeader header;
    TSrcEditPrintMargins margins;
    std::string before = Saved(target);
    try {
      Load(target, bytes);
      ++loaded;
      Saved(target);
    } catch (const EReadError&) {
      ASSERT_EQ(Saved(target), before) << round;
    }
    try {
      Load(header, bytes);
    } catch (const EReadError&) {
      ASSERT_EQ(header.Count(), 0) << round;
    }
    try {
      Load(margins, bytes);
    } catch (const EReadError&) {
    }
  }
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace vk
