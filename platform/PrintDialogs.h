#pragma once
// The print dialog and the printer setup dialog. Both show the process's
// printer (platform/Printers.h) and hand what the person chose back to it.
// The dialogs themselves are a backend: headless, answers queued by a test
// (an unscripted request raises EUnscriptedRequest); in the Qt program, the
// desktop's print dialog and a printer choice.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Components.h"
#include "platform/ScriptedAnswers.h"
#include "platform/Sets.h"

namespace vk {

enum TPrintRange : uint8_t { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption : uint8_t { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = TSet<TPrintDialogOption>;

// What the print dialog shows, and what the person chose in it.
struct TPrintDialogData {
  // The installed printers and the chosen one (-1 the default printer).
  std::vector<std::string> Printers;
  int PrinterIndex = -1;
  // Printing into this file instead of on the printer ("" the printer).
  std::string FileName;
  int Copies = 1;
  bool Collate = false;
  TPrintRange PrintRange = prAllPages;
  int FromPage = 0;
  int ToPage = 0;
  // The pages the person may choose from (MaxPage 0: no limit).
  int MinPage = 0;
  int MaxPage = 0;
  // poPageNums and poSelection offer those ranges; poPrintToFile shows the
  // file choice checked, poDisablePrintToFile offers none.
  TPrintDialogOptions Options;
  friend bool operator==(const TPrintDialogData&, const TPrintDialogData&) = default;
};

// What the printer setup dialog shows and answers: the printers and the
// chosen one.
struct TPrinterSetupData {
  std::vector<std::string> Printers;
  int PrinterIndex = -1;
  friend bool operator==(const TPrinterSetupData&, const TPrinterSetupData&) = default;
};

class TPrintDialogBackend {
public:
  virtual ~TPrintDialogBackend() = default;
  // The choices, or nothing when the person cancelled.
  virtual std::optional<TPrintDialogData> ExecutePrint(const TPrintDialogData& shown) = 0;
  // The chosen printer's index, or nothing when the person cancelled.
  virtual std::optional<int> ExecuteSetup(const TPrinterSetupData& shown) = 0;
};

// The headless dialogs: every request takes the next queued answer.
class TScriptedPrintDialogs : public TPrintDialogBackend {
public:
  std::optional<TPrintDialogData> ExecutePrint(const TPrintDialogData& shown) override;
  std::optional<int> ExecuteSetup(const TPrinterSetupData& shown) override;

  TScriptedAnswers<TPrintDialogData, std::optional<TPrintDialogData>> PrintAnswers;
  TScriptedAnswers<TPrinterSetupData, std::optional<int>> SetupAnswers;
};

// The process's dialogs (scripted ones until a backend installs others).
TPrintDialogBackend& PrintDialogBackend();
// Installs other dialogs (scripted ones for null) and hands back the old.
std::unique_ptr<TPrintDialogBackend> SetPrintDialogBackend(std::unique_ptr<TPrintDialogBackend> backend);

class TPrintDialog : public TComponent {
public:
  explicit TPrintDialog(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TPrintDialog"; }

  // Shows the dialog for the process's printer. OK: true, the choices go
  // into the properties, and the printer takes the chosen printer or file
  // and the copies. Cancel: false, nothing changes.
  bool Execute();

  int Copies() const { return FData.Copies; }
  void SetCopies(int value) { FData.Copies = value; }
  bool Collate() const { return FData.Collate; }
  void SetCollate(bool value) { FData.Collate = value; }
  TPrintRange PrintRange() const { return FData.PrintRange; }
  void SetPrintRange(TPrintRange value) { FData.PrintRange = value; }
  int FromPage() const { return FData.FromPage; }
  void SetFromPage(int value) { FData.FromPage = value; }
  int ToPage() const { return FData.ToPage; }
  void SetToPage(int value) { FData.ToPage = value; }
  int MinPage() const { return FData.MinPage; }
  void SetMinPage(int value) { FData.MinPage = value; }
  int MaxPage() const { return FData.MaxPage; }
  void SetMaxPage(int value) { FData.MaxPage = value; }
  TPrintDialogOptions Options() const { return FData.Options; }
  void SetOptions(TPrintDialogOptions value) { FData.Options = value; }
  bool PrintToFile() const { return !FData.FileName.empty(); }

private:
  TPrintDialogData FData;
};

class TPrinterSetupDialog : public TComponent {
public:
  explicit TPrinterSetupDialog(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TPrinterSetupDialog"; }

  // Lets the person choose the process's printer. OK: true and the printer
  // prints on the chosen one (no longer into a file). Cancel: false.
  bool Execute();
};

}  // namespace vk
