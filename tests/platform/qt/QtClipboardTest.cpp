#include <gtest/gtest.h>

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>

#include "platform/Clipboard.h"
#include "platform/qt/QtClipboard.h"

namespace vk::test {
namespace {

// "hangeul" and its UTF-8 form.
const std::string HangeulAnsi = "\xC7\xD1\xB1\xDB";
const char HangeulUtf8[] = "\xED\x95\x9C\xEA\xB8\x80";

class QtClipboardTest : public testing::Test {
protected:
  QtClipboardTest() { QGuiApplication::clipboard()->clear(); }
  ~QtClipboardTest() override { QGuiApplication::clipboard()->clear(); }
  TClipboardFormat BlockFormat = RegisterClipboardFormat("SrcEdit Control Block Type");
};

TEST_F(QtClipboardTest, PlainTextReachesTheDesktopAsUnicodeAndComesBackInTheCodePage) {
  ASSERT_NE(dynamic_cast<TQtClipboard*>(&Clipboard().Backend()), nullptr);
  QClipboard* desktop = QGuiApplication::clipboard();
  // The desktop's text has LF line ends; a NUL, which its plain text cannot
  // hold, and a byte the code page does not define reach it as U+FFFD. The
  // program reads its own text back as it gave it, every byte.
  const struct {
    std::string Program;
    QByteArray Desktop;
  } copied[] = {
      {"int " + HangeulAnsi + ";\r\n", QByteArray("int ") + HangeulUtf8 + ";\n"},
      {"a\r\n\r\nb\rc\nd", "a\n\nb\nc\nd"},
      {"\r", "\n"},
      {std::string("a\0b\r\n\xFF", 6), "a\xEF\xBF\xBD" "b\n\xEF\xBF\xBD"},
  };
  for (const auto& c : copied) {
    ASSERT_TRUE(Clipboard().SetAsText(c.Program));
    EXPECT_EQ(desktop->mimeData()->data("text/plain"), c.Desktop) << c.Program;
    EXPECT_EQ(desktop->text(), QString::fromUtf8(c.Desktop)) << c.Program;
    EXPECT_EQ(Clipboard().AsText(), c.Program);
    EXPECT_EQ(Clipboard().GetText().Replaced, 0) << c.Program;
  }
  // Text from another program keeps its line ends, and a NUL in it.
  for (const std::string& pasted : {std::string("a\nb\n"), std::string("a\r\nb\r\n"), std::string("a\rb\r"),
                                    std::string("a\0b", 3)}) {
    desktop->setText(QString::fromUtf8(pasted.data(), static_cast<qsizetype>(pasted.size())));
    EXPECT_EQ(Clipboard().AsText(), pasted);
  }

  // Another program's characters the code page has no form for become '?',
  // and the text says how many did; a '?' of its own is none of them.
  const struct {
    const char* Desktop;
    std::string Program;
    int Replaced;
  } foreign[] = {
      {"caf\xC3\xA9", "caf?", 1},
      {"\xC3\xBC ? \xC3\xB1 \xF0\x9F\x98\x80", "? ? ? ?", 3},  // one for a character beyond 16 bits
      {"\xC3\x9F", "\xA9\xAC", 0},
  };
  for (const auto& c : foreign) {
    desktop->setText(QString::fromUtf8(c.Desktop));
    const TClipboardText text = Clipboard().GetText();
    EXPECT_EQ(text.Text, c.Program) << c.Desktop;
    EXPECT_EQ(text.Replaced, c.Replaced) << c.Desktop;
  }

  desktop->setText(QString::fromUtf8(HangeulUtf8) + QStringLiteral(" from elsewhere"));
  EXPECT_EQ(Clipboard().AsText(), HangeulAnsi + " from elsewhere");
  EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard().HasFormat(BlockFormat));
}

TEST_F(QtClipboardTest, ARegisteredFormatTravelsAsItsOwnMimeTypeBesideTheText) {
  EXPECT_EQ(TQtClipboard::MimeType(BlockFormat), QStringLiteral("application/x-vornkit-srcedit-control-block-type"));
  EXPECT_EQ(TQtClipboard::MimeType(CF_TEXT), QStringLiteral("text/plain"));
  EXPECT_TRUE(TQtClipboard::MimeType(0xBEEF).isEmpty());

  const std::string block("\x02\x00\x00\x00\xFF tail", 10);
  {
    TClipboardOpen open(Clipboard());
    ASSERT_TRUE(open.Opened());
    ASSERT_TRUE(Clipboard().Clear());
    ASSERT_TRUE(Clipboard().SetData(CF_TEXT, std::string("abc") + '\0'));
    ASSERT_TRUE(Clipboard().SetData(BlockFormat, block));
    EXPECT_FALSE(Clipboard().SetData(0xBEEF, "x"));
    // Readable while still open, before the desktop has it.
    EXPECT_EQ(Clipboard().GetData(BlockFormat), block);
  }
  const QMimeData* desktop = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(desktop->text(), QStringLiteral("abc"));
  EXPECT_EQ(desktop->data("application/x-vornkit-srcedit-control-block-type"), QByteArray(block.data(), 10));
  EXPECT_EQ(Clipboard().GetData(BlockFormat), block);
  EXPECT_EQ(Clipboard().AsText(), "abc");

  // Without Clear, a format joins what the clipboard holds.
  {
    TClipboardOpen open(Clipboard());
    ASSERT_TRUE(Clipboard().SetData(CF_TEXT, std::string("xyz") + '\0'));
  }
  EXPECT_EQ(Clipboard().AsText(), "xyz");
  EXPECT_EQ(Clipboard().GetData(BlockFormat), block);

  // Another program's copy replaces it all.
  QGuiApplication::clipboard()->setText(QStringLiteral("other"));
  EXPECT_FALSE(Clipboard().HasFormat(BlockFormat));
  EXPECT_EQ(Clipboard().GetData(BlockFormat), std::nullopt);
}

TEST_F(QtClipboardTest, NothingIsWrittenWithoutOpeningFirst) {
  TQtClipboard backend;
  EXPECT_FALSE(backend.Clear());
  EXPECT_FALSE(backend.SetData(CF_TEXT, "x"));
  ASSERT_TRUE(backend.Open());
  EXPECT_FALSE(backend.Open());  // the desktop opens it once
  backend.Close();
  EXPECT_EQ(backend.GetData(CF_TEXT), std::nullopt);
}

}  // namespace
}  // namespace vk::test
