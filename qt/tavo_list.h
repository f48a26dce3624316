#pragma once
// The list window `formList`: the stored reminders due between two dates,
// one per grid row, with the text of the selected one beside the grid; from
// it a reminder is altered, deleted, or the list printed.

#include <functional>

#include "qt/app_state.h"
#include "store/tavo_data.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace tavo::gui {

class DateField;
class ListGrid;
class TGradBtn;

class TformList : public SecondaryWindow {
  Q_OBJECT
 public:
  TformList();
  ~TformList() override;

  // The listed index entries: a copy of one contiguous run of Lembretes.
  EntryTable ListedEntries;

  QLabel* Label1 = nullptr;
  DateField* eInicio = nullptr;
  QLabel* Label2 = nullptr;
  DateField* eFim = nullptr;
  QPushButton* bListar = nullptr;
  ListGrid* gridLembretes = nullptr;
  QPlainTextEdit* mTexto = nullptr;
  TGradBtn* bPrintList = nullptr;
  TGradBtn* bAlter = nullptr;
  TGradBtn* bDel = nullptr;
  TGradBtn* bCancel = nullptr;

  void iHideClick();
  void eInicioExit();
  void eFimExit();
  void eInicioAcceptDate(double& date);
  void eFimAcceptDate(double& date);
  void bListarClick();
  void gridLembretesClick();
  void gridLembretesDblClick();
  void bAlterClick();
  void bDelClick();
  void bPrintListClick();

  // Prints the listed rows (list_print.cpp).
  void PrintList();

  // Stands in for the print dialog in tests: gets the run's printer (already
  // set to portrait), may configure it, and returns false to cancel.
  static std::function<bool(QPrinter& printer)> PrintDialogForTesting;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void FormCreate();
};

// Lists again in the open list window when it shows listed rows; the store
// calls it after every change.
void RefreshList();

}  // namespace tavo::gui
