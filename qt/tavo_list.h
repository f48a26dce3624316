#pragma once
// The list window `formList`: its widgets, as a view over forms::ListForm
// (the stored reminders due between two dates, one per grid row, with the
// text of the selected one beside the grid).

#include "forms/list_form.h"
#include "qt/shaped_window.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tavo::gui {

class DateField;
class ListGrid;
class TGradBtn;

class TformList : public ShapedWindow, public forms::ListView {
  Q_OBJECT
 public:
  explicit TformList(forms::Application& app);

  forms::ListForm form;

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
  // The grid's context menu: "Exportar Calendário" of the listed reminders.
  QMenu* pmGrid = nullptr;

  // forms::ListView
  void Close() override { close(); }
  void BringToFront() override;
  bool IsForeground() const override;
  std::string StartText() const override;
  void SetStartText(const std::string& text) override;
  std::string EndText() const override;
  void SetEndText(const std::string& text) override;
  void SetRowCount(int rows) override;
  int SelectedRow() const override;
  void SetText(const std::string& text) override;
  void SetTextColors(int32_t front, int32_t back) override;
  void SetEnabled(bool enabled) override { setEnabled(enabled); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tavo::gui
